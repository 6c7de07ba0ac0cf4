# 32-bit Windows: the program as it goes to Windows users, from XP on, 64-bit Windows included.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QXRV_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
