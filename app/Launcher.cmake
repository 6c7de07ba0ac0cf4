# The launcher proper: the library `app` with its windows, the start URL objects and the program.
set(QXRV_START_HOST "www.qxrv.example" CACHE STRING
  "Host (and optional :port) of the start page http://<host>/weiduan/lyc")

add_library(app STATIC
  QXRVTranslucentDlg.cpp
  QXRVClientDlg.cpp
  DlgQXRVGameWnd.cpp
  GameWndFrame.cpp)
target_link_libraries(app PUBLIC skin webview frame framework qxrv_options)

# qxrv_start_url(<target> <host>): an object library that fixes the start page's host. The program takes the
# configured host; a test takes its own loopback server's.
function(qxrv_start_url target host)
  add_library(${target} OBJECT ${PROJECT_SOURCE_DIR}/app/StartUrl.cpp)
  target_compile_definitions(${target} PRIVATE "QXRV_START_HOST=\"${host}\"")
  target_link_libraries(${target} PRIVATE qxrv_options)
endfunction()
qxrv_start_url(app_start_url "${QXRV_START_HOST}")

add_executable(QXRVClient WIN32
  QXRVClientApp.cpp
  $<TARGET_OBJECTS:app_start_url>
  $<TARGET_OBJECTS:qxrv_res>)
target_link_libraries(QXRVClient PRIVATE app qxrv_options)
# The program runs on Windows XP and later.
target_link_options(QXRVClient PRIVATE -mwindows
  -Wl,--major-os-version,5,--minor-os-version,1
  -Wl,--major-subsystem-version,5,--minor-subsystem-version,1)
