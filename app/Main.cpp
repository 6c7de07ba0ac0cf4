// Process entry until the application object takes over: start the graphics library and end cleanly.
#include "framework/Prelude.h"

#include "skin/GdiplusServices.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    ULONG_PTR token = 0;
    skin::StartGdiplus(&token);
    skin::StopGdiplus(&token);
    return 0;
}
