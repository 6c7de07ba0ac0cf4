// The program's entry point: the application object's life (AfxWinMain). An executable that defines its own
// wWinMain keeps that one; the library's is taken only where none is defined.
#include "framework/WinApp.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int nCmdShow) {
    return AfxWinMain(hInstance, lpCmdLine, nCmdShow);
}
