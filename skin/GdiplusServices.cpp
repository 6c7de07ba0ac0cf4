#include "skin/GdiplusServices.h"

namespace skin {

Gdiplus::Status StartGdiplus(ULONG_PTR* token) {
    Gdiplus::GdiplusStartupInput input; // version 1, no callback, nothing suppressed
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    *token = 0;
    const Gdiplus::Status status = Gdiplus::GdiplusStartup(token, &input, nullptr);
    if (status != Gdiplus::Ok)
        *token = 0;
    return status;
}

void StopGdiplus(ULONG_PTR* token) {
    if (*token == 0)
        return;
    Gdiplus::GdiplusShutdown(*token);
    *token = 0;
}

namespace {

// The face the system's font mapper gives for a family name (it substitutes a similar installed face).
void MappedFaceName(const WCHAR* familyName, WCHAR (&face)[LF_FACESIZE]) {
    face[0] = L'\0';
    LOGFONTW logFont = {};
    logFont.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(logFont.lfFaceName, familyName, LF_FACESIZE);
    HFONT hFont = ::CreateFontIndirectW(&logFont);
    HDC hDC = ::CreateCompatibleDC(NULL);
    if (hFont != NULL && hDC != NULL) {
        HGDIOBJ hOld = ::SelectObject(hDC, hFont);
        ::GetTextFaceW(hDC, LF_FACESIZE, face);
        ::SelectObject(hDC, hOld);
    }
    if (hDC != NULL)
        ::DeleteDC(hDC);
    if (hFont != NULL)
        ::DeleteObject(hFont);
}

// The name of GDI+'s generic sans-serif family, or "" when it has none.
void GenericSansSerifName(WCHAR (&name)[LF_FACESIZE]) {
    name[0] = L'\0';
    Gdiplus::GpFontFamily* generic = nullptr;
    if (Gdiplus::DllExports::GdipGetGenericFontFamilySansSerif(&generic) == Gdiplus::Ok &&
        generic != nullptr) {
        Gdiplus::DllExports::GdipGetFamilyName(generic, name, LANG_NEUTRAL);
        Gdiplus::DllExports::GdipDeleteFontFamily(generic);
    }
}

// A font of the family with this name, or null when GDI+ does not know the family (or has no memory).
Gdiplus::Font* NewFontOfFamily(const WCHAR* familyName, Gdiplus::REAL emSize, INT style, Gdiplus::Unit unit) {
    if (familyName[0] == L'\0')
        return nullptr;
    Gdiplus::FontFamily family(familyName);
    if (!family.IsAvailable())
        return nullptr;
    // The font takes its own reference to the family.
    Gdiplus::Font* font = GdiplusNew<Gdiplus::Font>(&family, emSize, style, unit);
    if (font != nullptr && !font->IsAvailable()) {
        delete font;
        font = nullptr;
    }
    return font;
}

} // namespace

Gdiplus::Font* NewFontOrSansSerif(const WCHAR* familyName, Gdiplus::REAL emSize, INT style,
                                  Gdiplus::Unit unit) {
    if (Gdiplus::Font* font = NewFontOfFamily(familyName, emSize, style, unit))
        return font;
    // The generic family is reached by its name so that only public wrappers own native objects; the static
    // FontFamily::GenericSansSerif() would cache a wrapper that outlives a GDI+ shut-down.
    WCHAR name[LF_FACESIZE];
    GenericSansSerifName(name);
    if (Gdiplus::Font* font = NewFontOfFamily(name, emSize, style, unit))
        return font;
    // Wine may know neither "Arial" nor a generic family, but its font mapper still substitutes a similar
    // installed face for the name.
    MappedFaceName(familyName, name);
    if (Gdiplus::Font* font = NewFontOfFamily(name, emSize, style, unit))
        return font;
    // Nothing usable: a font object whose status says so, drawing nothing, as GDI+ itself would give.
    return GdiplusNew<Gdiplus::Font>(familyName, emSize, style, unit);
}

} // namespace skin
