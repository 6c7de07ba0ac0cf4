// Compiled once per build variant: QXRV_START_HOST names the server (the program's, or a test's own).
#include "app/StartUrl.h"

#ifndef QXRV_START_HOST
#error "QXRV_START_HOST must name the start page's host"
#endif

LPCWSTR StartUrl() {
    static const wchar_t kStartUrl[] = L"http://" QXRV_START_HOST L"/weiduan/lyc";
    return kStartUrl;
}
