#include "skin/MemoryPicture.h"

#include "framework/WindowDC.h"

bool CMemoryPicture::CreateDib(HDC hdc, SIZE size) {
    Release();
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = size.cx;
    header.biHeight = size.cy; // bottom-up rows
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = 4 * size.cx * size.cy;
    void* pBits = nullptr;
    // A 0 x 0 picture makes no DIB section.
    if (!m_bitmap.Attach(::CreateDIBSection(NULL, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                            &pBits, NULL, 0)))
        return false;
    if (!m_dc.Attach(::CreateCompatibleDC(hdc)) || !SelectMade(size)) {
        Release();
        return false;
    }
    m_pBits = static_cast<BYTE*>(pBits);
    return true;
}

bool CMemoryPicture::CreateCompatible(CDC* pDC, SIZE size) {
    Release();
    // The screen's DC is taken only when no DC was given.
    std::optional<CClientDC> screen;
    if (pDC == nullptr)
        screen.emplace(nullptr, std::nothrow);
    const HDC hdc = pDC != nullptr ? pDC->GetSafeHdc() : screen->GetSafeHdc();
    const bool made = hdc != NULL && m_bitmap.Attach(::CreateCompatibleBitmap(hdc, size.cx, size.cy)) &&
                      m_dc.Attach(::CreateCompatibleDC(hdc)) && SelectMade(size);
    if (!made)
        Release();
    return made;
}

bool CMemoryPicture::SelectMade(SIZE size) {
    m_select.emplace(m_dc, m_bitmap.GetSafeHandle());
    if (m_select->GetPrevious() == NULL) {
        m_select.reset();
        return false;
    }
    m_size = size;
    return true;
}

void CMemoryPicture::Release() {
    m_select.reset(); // the bitmap leaves the DC before either is deleted
    m_dc.DeleteDC();
    m_bitmap.DeleteObject();
    m_size = {0, 0};
    m_pBits = nullptr;
}
