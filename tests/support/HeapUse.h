// Live heap bytes, for leak checks. GetProcessMemoryInfo reports no private bytes under Wine (PrivateUsage
// reads 0), so the tests count what the heaps hold instead.
#pragma once

#include "framework/Prelude.h"

#include <cstddef>

namespace qxrv::test {

// Bytes in use on the heaps. crt is the C runtime's heap, where this program's own objects live; all adds
// the system's heaps, where the browser control, COM, GDI+ and the window manager keep theirs.
struct HeapUse {
    size_t crt = 0;
    size_t all = 0;
};
HeapUse HeapInUse();

} // namespace qxrv::test
