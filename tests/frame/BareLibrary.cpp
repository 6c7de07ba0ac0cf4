// A library that loads but has none of the entry points the frame kit looks up.
#include "framework/Prelude.h"

extern "C" __declspec(dllexport) int BareLibraryMarker() {
    return 1;
}
