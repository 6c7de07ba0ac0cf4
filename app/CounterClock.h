// Milliseconds from the performance counter, for the program's own clock and for the tools that time it.
#pragma once

#include "framework/Prelude.h"

namespace qxrv {

// Milliseconds, with their fraction, since some fixed point. The performance counter is there on every
// supported Windows, never wraps and resolves far below a millisecond; the tick count stands in only if it
// cannot be read.
inline double CounterMilliseconds() {
    LARGE_INTEGER frequency = {};
    LARGE_INTEGER counter = {};
    if (!::QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0 ||
        !::QueryPerformanceCounter(&counter))
        return static_cast<double>(::GetTickCount());
    // Whole seconds and the rest apart, so that no product overflows and no tick is rounded away.
    const ULONGLONG ticks = static_cast<ULONGLONG>(counter.QuadPart);
    const ULONGLONG perSecond = static_cast<ULONGLONG>(frequency.QuadPart);
    return static_cast<double>(ticks / perSecond) * 1000.0 +
           static_cast<double>(ticks % perSecond) * 1000.0 / static_cast<double>(perSecond);
}

} // namespace qxrv
