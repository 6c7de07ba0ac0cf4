// A picture kept between paints: a bitmap selected into a memory DC of its own. This object is the one owner
// of both; Release (or the destructor) puts the DC's first bitmap back, deletes the DC and then the bitmap.
#pragma once

#include "framework/Gdi.h"

#include <optional>

class CMemoryPicture {
public:
    CMemoryPicture() = default;
    CMemoryPicture(const CMemoryPicture&) = delete;
    CMemoryPicture& operator=(const CMemoryPicture&) = delete;

    // A 32-bit DIB section with bottom-up rows, w x h, in a memory DC compatible with hdc. Anything held
    // before is released first. False, holding nothing, when any part cannot be made (a 0 x 0 size among
    // them).
    bool CreateDib(HDC hdc, SIZE size);
    // A bitmap compatible with pDC (the screen when pDC is NULL), w x h, in a memory DC compatible with it;
    // the same rules.
    bool CreateCompatible(CDC* pDC, SIZE size);
    void Release();

    bool IsMade() const { return m_select.has_value(); }
    SIZE Size() const { return m_size; }
    CDC& DC() { return m_dc; }
    // The DIB section's pixels, 4 * w bytes a row, the bottom row first; NULL for a compatible bitmap.
    BYTE* Bits() const { return m_pBits; }

private:
    bool SelectMade(SIZE size);

    // Declared in the order of their making, so that the destructor unselects, then deletes the DC, then the
    // bitmap.
    CBitmap m_bitmap;
    CDC m_dc;
    std::optional<CSelectScope> m_select;
    SIZE m_size = {0, 0};
    BYTE* m_pBits = nullptr;
};
