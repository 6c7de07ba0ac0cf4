// Live GDI objects of this executable, counted through its import table.
//
// Wine keeps no per-process GDI count (GetGuiResources reads 0), so a leak would pass unseen. When this file
// is linked in, the executable's imports of the GDI calls that make and free objects are pointed at counting
// wrappers before main runs: every object made is counted up by its kind, every object freed counted down.
// Only calls that the executable itself makes are counted (the program's code and the test's); what system
// DLLs make for themselves is theirs.
#pragma once

#include "framework/Prelude.h"

#include <iosfwd>

namespace qxrv::test {

struct GdiCounts {
    long bitmaps = 0;
    long memoryDCs = 0; // CreateCompatibleDC until DeleteDC
    long windowDCs = 0; // GetDC and GetWindowDC until ReleaseDC
    long regions = 0;   // a region that SetWindowRgn accepted belongs to the window from then on
    long brushes = 0;
    long others = 0; // fonts and pens

    long Total() const { return bitmaps + memoryDCs + windowDCs + regions + brushes + others; }
};
bool operator==(const GdiCounts& a, const GdiCounts& b);
inline bool operator!=(const GdiCounts& a, const GdiCounts& b) {
    return !(a == b);
}
// Prints as "bitmaps 2, memory DCs 1, ..." in test messages.
void PrintTo(const GdiCounts& counts, std::ostream* os);

// Objects made and not yet freed (or handed over) since the executable started.
GdiCounts LiveGdiObjects();

} // namespace qxrv::test
