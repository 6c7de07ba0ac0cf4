// Memory figures for leak checks: live heap bytes, the finer figure, and the process's committed private
// bytes, which also see what is mapped outside the heaps (DIB sections, images).
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

// The process's committed private bytes. Wine reports them as PagefileUsage and leaves PrivateUsage at 0; on
// Windows the two are the same figure.
SIZE_T CommittedBytes();

} // namespace qxrv::test
