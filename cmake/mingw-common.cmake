# Cross toolchain for Windows with MinGW-w64 (posix threads, needed by <mutex>), included by the two target files
# once they have set QXRV_MINGW_TRIPLE.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${QXRV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QXRV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QXRV_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QXRV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test executables run through Wine (the wrapper tries a listing or a run of tests again when Wine itself dies).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
