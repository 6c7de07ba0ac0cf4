// A library that loads but has none of the entry points the frame kit looks up. It notes its loads as the
// recording stand-in does.
#include "tests/frame/FakeSystemLibrary.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hModule, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH)
        NoteFakeLibraryLoad(hModule);
    return TRUE;
}

extern "C" __declspec(dllexport) int BareLibraryMarker() {
    return 1;
}
