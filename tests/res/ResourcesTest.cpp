// The program's resources, loaded at run time from this executable's own module the way the program loads
// them. The expected values are written down independently of the .rc file, so a slip in either one shows
// here.
#include "framework/GdiplusPrelude.h"

#include "res/resource.h"
#include "skin/GdiplusServices.h"
#include "tests/support/BitmapPixels.h"
#include "tests/support/LauncherWindows.h"
#include "tests/support/WindowRects.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

// Found by argument-dependent lookup, so they live where RECT does.
static bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}
static std::ostream& operator<<(std::ostream& os, const RECT& r) {
    return os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

// ---- Dialog templates
// ----------------------------------------------------------------------------------------

struct ControlSpec {
    int id;
    const wchar_t* className;
    DWORD style;
    RECT units; // x, y, width, height in dialog units
};

struct TemplateSpec {
    int id;
    DWORD style;
    DWORD exStyle;
    RECT units; // x, y, width, height in dialog units
    const wchar_t* face;
    WORD points;
    WORD weight;
    BYTE charset;
    std::vector<ControlSpec> controls;
};

const TemplateSpec kTemplates[] = {
    {IDD_MAIN,
     0x00C00040, // WS_CAPTION | DS_SETFONT
     0,
     {0, 0, 316, 183},
     L"Microsoft Sans Serif",
     9,
     400,
     0,
     {{IDC_MINIMIZE, L"Button", 0x50010000, {255, 18, 20, 15}},
      {IDC_CLOSE, L"Button", 0x50010000, {293, 0, 20, 15}}}},
    {IDD_START_PAGE,
     WS_POPUP | WS_VISIBLE | DS_SETFONT | DS_FIXEDSYS,
     0,
     {0, 0, 248, 203},
     L"MS Shell Dlg",
     9,
     400,
     1,
     {{IDC_START_PAGE, L"Static", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME, {30, 21, 123, 97}}}},
    {IDD_GAME,
     0x00080048, // WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS
     0,
     {0, 0, 405, 258},
     L"MS Shell Dlg",
     8,
     400,
     1,
     {{IDC_RESTORE, L"Button", 0x5001000B, {323, 0, 22, 14}},
      {IDC_MAXIMIZE, L"Button", 0x5001000B, {321, 26, 22, 14}},
      {IDC_CLOSE, L"Button", 0x5001000B, {357, 2, 22, 14}},
      {IDC_MINIMIZE, L"Button", 0x5001000B, {297, 0, 22, 14}},
      {IDC_GAME_PAGE, L"Static", 0x50000007, {216, 119, 122, 97}}}},
};

// The bytes of a resource of this module, empty when it is missing.
std::string ResourceBytes(int id, const wchar_t* type) {
    HRSRC info = FindResourceW(nullptr, MAKEINTRESOURCEW(id), type);
    HGLOBAL handle = info ? LoadResource(nullptr, info) : nullptr;
    const void* data = handle ? LockResource(handle) : nullptr;
    return data ? std::string(static_cast<const char*>(data), SizeofResource(nullptr, info)) : std::string();
}

// The fixed header of an extended dialog template (DLGTEMPLATEEX) with its font, as stored in the module.
struct TemplateHeader {
    DWORD style = 0, exStyle = 0;
    WORD count = 0;
    RECT units = {};
    std::wstring menu, windowClass, title, face;
    WORD points = 0, weight = 0;
    BYTE italic = 0, charset = 0;
};

// Reads little-endian fields from a resource's bytes; ok turns false on reading past the end.
struct ByteReader {
    const std::string& bytes;
    size_t at = 0;
    bool ok = true;

    template <class T> T Get() {
        T v{};
        if (at + sizeof v > bytes.size()) {
            ok = false;
            return v;
        }
        std::memcpy(&v, bytes.data() + at, sizeof v);
        at += sizeof v;
        return v;
    }
    // A string, or an ordinal written as "#n", or empty for none.
    std::wstring SzOrOrd() {
        WORD first = Get<WORD>();
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Get<WORD>());
        std::wstring s;
        for (WORD c = first; ok && c != 0; c = Get<WORD>())
            s += static_cast<wchar_t>(c);
        return s;
    }
};

bool ReadTemplateHeader(const std::string& bytes, TemplateHeader* out) {
    ByteReader r{bytes};
    if (r.Get<WORD>() != 1 || r.Get<WORD>() != 0xFFFF)
        return false; // not an extended template
    r.Get<DWORD>();   // help ID
    out->exStyle = r.Get<DWORD>();
    out->style = r.Get<DWORD>();
    out->count = r.Get<WORD>();
    short x = r.Get<short>(), y = r.Get<short>(), cx = r.Get<short>(), cy = r.Get<short>();
    out->units = {x, y, cx, cy};
    out->menu = r.SzOrOrd();
    out->windowClass = r.SzOrOrd();
    out->title = r.SzOrOrd();
    if (out->style & DS_SETFONT) {
        out->points = r.Get<WORD>();
        out->weight = r.Get<WORD>();
        out->italic = r.Get<BYTE>();
        out->charset = r.Get<BYTE>();
        out->face = r.SzOrOrd();
    }
    return r.ok;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

struct WindowCloser {
    void operator()(HWND hwnd) const { DestroyWindow(hwnd); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowCloser>;

TEST(Resources, DialogTemplatesAsStored) {
    for (const TemplateSpec& spec : kTemplates) {
        SCOPED_TRACE("template " + std::to_string(spec.id));
        TemplateHeader header;
        ASSERT_TRUE(ReadTemplateHeader(ResourceBytes(spec.id, RT_DIALOG), &header));
        EXPECT_EQ(spec.style, header.style);
        EXPECT_EQ(spec.exStyle, header.exStyle);
        EXPECT_EQ(spec.units, header.units);
        EXPECT_EQ(spec.controls.size(), header.count);
        EXPECT_EQ(L"", header.menu);
        EXPECT_EQ(L"", header.windowClass);
        EXPECT_EQ(L"", header.title);
        EXPECT_EQ(spec.face, header.face);
        EXPECT_EQ(spec.points, header.points);
        EXPECT_EQ(spec.weight, header.weight);
        EXPECT_EQ(0, header.italic);
        EXPECT_EQ(spec.charset, header.charset);
    }
}

TEST(Resources, DialogTemplatesCreateTheirWindows) {
    for (const TemplateSpec& spec : kTemplates) {
        SCOPED_TRACE("template " + std::to_string(spec.id));
        UniqueWindow dialog(CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(spec.id), nullptr,
                                               QuietDialogProc, 0));
        ASSERT_TRUE(dialog);

        // What the system adds to what the template says: every dialog gets the 3-D look and is a control
        // parent, every top-level window clips its siblings, and a top-level window that is neither pop-up
        // nor child is an overlapped window, which always has a caption and the raised edge. Nothing else may
        // differ.
        const bool overlapped = !(spec.style & (WS_POPUP | WS_CHILD));
        const DWORD systemStyle = DS_3DLOOK | WS_CLIPSIBLINGS | (overlapped ? WS_CAPTION : 0);
        const DWORD systemExStyle = WS_EX_CONTROLPARENT | (overlapped ? WS_EX_WINDOWEDGE : 0);
        const DWORD style = GetWindowLongW(dialog.get(), GWL_STYLE);
        const DWORD exStyle = GetWindowLongW(dialog.get(), GWL_EXSTYLE);
        EXPECT_EQ(spec.style & ~systemStyle, style & ~systemStyle);
        EXPECT_EQ(spec.exStyle & ~systemExStyle, exStyle & ~systemExStyle);
        EXPECT_EQ(0, GetWindowTextLengthW(dialog.get()));

        // The dialog manager sizes the window from the template's size and the template's own style.
        RECT expected = {0, 0, spec.units.right, spec.units.bottom}, window = {};
        MapDialogRect(dialog.get(), &expected);
        AdjustWindowRectEx(&expected, spec.style, FALSE, spec.exStyle);
        GetWindowRect(dialog.get(), &window);
        EXPECT_EQ(expected.right - expected.left, window.right - window.left);
        EXPECT_EQ(expected.bottom - expected.top, window.bottom - window.top);

        // The controls, in template order (which is their Z order).
        HWND child = GetWindow(dialog.get(), GW_CHILD);
        for (const ControlSpec& control : spec.controls) {
            SCOPED_TRACE("control " + std::to_string(control.id));
            ASSERT_TRUE(child != nullptr);
            EXPECT_EQ(control.id, GetDlgCtrlID(child));
            const std::wstring className = qxrv::test::WindowClassOf(child);
            EXPECT_EQ(0, lstrcmpiW(control.className, className.c_str())) << className;
            EXPECT_EQ(control.style, static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE)));
            EXPECT_EQ(0, GetWindowTextLengthW(child));

            // Position and size are converted each on its own, as the dialog manager does.
            RECT place = control.units;
            MapDialogRect(dialog.get(), &place);
            const RECT expected = {place.left, place.top, place.left + place.right, place.top + place.bottom};
            EXPECT_EQ(expected, qxrv::test::ChildRectOf(child));
            child = GetWindow(child, GW_HWNDNEXT);
        }
        EXPECT_TRUE(child == nullptr) << "more controls than expected";
    }
}

// ---- Icon
// -----------------------------------------------------------------------------------------------------

TEST(Resources, IconHoldsSmallAndLargeImages) {
    // Which sizes the icon holds is checked in the exe itself, without Wine (tests/build/CheckExe.cmake).
    EXPECT_TRUE(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)) != nullptr);

    // The 256-pixel image is stored as PNG, which the system has to decode: a broken one does not load.
    HICON large = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 256, 256, 0));
    ASSERT_TRUE(large != nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(large, &info));
    BITMAP colour = {};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(256, colour.bmWidth);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(large);
}

// ---- PNG pictures
// ---------------------------------------------------------------------------------------------

struct StreamReleaser {
    void operator()(IStream* s) const { s->Release(); }
};

// Decodes a "PNG" resource through a memory stream, as the program does.
std::unique_ptr<Gdiplus::Bitmap> DecodePng(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, bytes.size());
    if (!block)
        return nullptr;
    std::memcpy(block, bytes.data(), bytes.size());
    IStream* raw = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &raw))) {
        GlobalFree(block);
        return nullptr;
    }
    std::unique_ptr<IStream, StreamReleaser> stream(raw);
    return std::unique_ptr<Gdiplus::Bitmap>(new Gdiplus::Bitmap(stream.get()));
}

// All pixels as 0xAARRGGBB, row by row.
std::vector<Gdiplus::ARGB> Pixels(Gdiplus::Bitmap& bitmap) {
    std::vector<Gdiplus::ARGB> pixels;
    for (UINT y = 0; y < bitmap.GetHeight(); ++y)
        for (UINT x = 0; x < bitmap.GetWidth(); ++x)
            pixels.push_back(qxrv::test::BitmapPixel(bitmap, x, y));
    return pixels;
}

struct PngSpec {
    int id;
    UINT width, height;
};

const PngSpec kPngs[] = {
    {IDB_BACKGROUND, 1208, 621},    {IDB_MINIMIZE_NORMAL, 55, 57}, {IDB_MINIMIZE_HOVER, 55, 57},
    {IDB_MINIMIZE_PRESSED, 55, 57}, {IDB_CLOSE_NORMAL, 55, 57},    {IDB_CLOSE_HOVER, 55, 57},
    {IDB_CLOSE_PRESSED, 55, 57},
};

TEST(Resources, PngPicturesDecodeWithAlpha) {
    skin::CGdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.IsRunning());
    for (const PngSpec& spec : kPngs) {
        SCOPED_TRACE("PNG " + std::to_string(spec.id));
        const std::string bytes = ResourceBytes(spec.id, L"PNG");
        // IHDR: 8 bits per channel, colour type 6 (RGBA), not interlaced.
        ASSERT_GE(bytes.size(), 33u);
        EXPECT_EQ(0, bytes.compare(12, 4, "IHDR"));
        EXPECT_EQ(8, bytes[24]);
        EXPECT_EQ(6, bytes[25]);
        EXPECT_EQ(0, bytes[28]);

        std::unique_ptr<Gdiplus::Bitmap> image = DecodePng(bytes);
        ASSERT_TRUE(image);
        ASSERT_EQ(Gdiplus::Ok, image->GetLastStatus());
        EXPECT_EQ(spec.width, image->GetWidth());
        EXPECT_EQ(spec.height, image->GetHeight());
        EXPECT_TRUE(Gdiplus::IsAlphaPixelFormat(image->GetPixelFormat())) << image->GetPixelFormat();
    }
}

TEST(Resources, BackgroundHasTransparentCornersSoftShadowAndOpaqueBody) {
    skin::CGdiplusSession gdiplus;
    std::unique_ptr<Gdiplus::Bitmap> image = DecodePng(ResourceBytes(IDB_BACKGROUND, L"PNG"));
    ASSERT_TRUE(image && image->GetLastStatus() == Gdiplus::Ok);
    const int w = image->GetWidth(), h = image->GetHeight();
    auto alpha = [&](int x, int y) { return static_cast<BYTE>(qxrv::test::BitmapPixel(*image, x, y) >> 24); };
    EXPECT_EQ(0, alpha(0, 0));
    EXPECT_EQ(0, alpha(w - 1, 0));
    EXPECT_EQ(0, alpha(0, h - 1));
    EXPECT_EQ(0, alpha(w - 1, h - 1));
    EXPECT_EQ(255, alpha(w / 2, h / 2));

    // Going in from each edge, the alpha climbs from 0 through several partly transparent steps to opaque.
    const POINT edges[][2] = {{{0, h / 2}, {1, 0}}, {{w - 1, h / 2}, {-1, 0}}, {{w / 2, h - 1}, {0, -1}}};
    for (const auto& edge : edges) {
        std::set<int> partial;
        POINT p = edge[0];
        for (int step = 0; step < 64 && alpha(p.x, p.y) != 255; ++step) {
            if (alpha(p.x, p.y) != 0)
                partial.insert(alpha(p.x, p.y));
            p.x += edge[1].x;
            p.y += edge[1].y;
        }
        EXPECT_EQ(255, alpha(p.x, p.y));
        EXPECT_GE(partial.size(), 5u) << "at (" << edge[0].x << ", " << edge[0].y << ")";
    }
}

TEST(Resources, ButtonStatesLookDifferent) {
    skin::CGdiplusSession gdiplus;
    const int buttons[][3] = {{IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_HOVER, IDB_MINIMIZE_PRESSED},
                              {IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_PRESSED}};
    std::vector<std::vector<Gdiplus::ARGB>> seen;
    for (const auto& states : buttons)
        for (int id : states) {
            std::unique_ptr<Gdiplus::Bitmap> image = DecodePng(ResourceBytes(id, L"PNG"));
            ASSERT_TRUE(image && image->GetLastStatus() == Gdiplus::Ok) << id;
            std::vector<Gdiplus::ARGB> pixels = Pixels(*image);
            for (const auto& other : seen)
                EXPECT_NE(other, pixels) << "PNG " << id << " repeats another button picture";
            seen.push_back(std::move(pixels));
        }
}

// ---- Bitmaps
// --------------------------------------------------------------------------------------------------

struct BitmapDeleter {
    void operator()(HBITMAP b) const { DeleteObject(b); }
};
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

// A 24-bit bitmap resource, kept as a DIB section so its own pixels can be read.
struct Dib {
    UniqueBitmap handle;
    DIBSECTION info = {};
    COLORREF At(int x, int y) const {
        const BYTE* row = static_cast<const BYTE*>(info.dsBm.bmBits) +
                          (info.dsBm.bmHeight - 1 - y) * info.dsBm.bmWidthBytes; // bottom-up
        const BYTE* p = row + 3 * x;
        return RGB(p[2], p[1], p[0]);
    }
};

Dib LoadDib(int id) {
    Dib dib;
    dib.handle.reset(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (dib.handle && GetObjectW(dib.handle.get(), sizeof dib.info, &dib.info) != sizeof dib.info)
        dib.handle.reset();
    return dib;
}

struct BitmapSpec {
    int id;
    int width, height;
    bool strip;
};

const BitmapSpec kBitmaps[] = {
    {IDB_STRIP_CLOSE, 136, 27, true},        {IDB_STRIP_MAXIMIZE, 112, 27, true},
    {IDB_STRIP_MINIMIZE, 112, 27, true},     {IDB_STRIP_RESTORE, 112, 27, true},
    {IDB_FRAME_CAPTION_LEFT, 6, 28, false},  {IDB_FRAME_CAPTION_MIDDLE, 10, 28, false},
    {IDB_FRAME_CAPTION_RIGHT, 6, 28, false}, {IDB_FRAME_LEFT, 4, 3, false},
    {IDB_FRAME_RIGHT, 4, 3, false},          {IDB_FRAME_BOTTOM_LEFT, 6, 6, false},
    {IDB_FRAME_BOTTOM, 2, 4, false},         {IDB_FRAME_BOTTOM_RIGHT, 6, 6, false},
};

TEST(Resources, BitmapsHaveTheirSizes) {
    for (const BitmapSpec& spec : kBitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(spec.id));
        Dib dib = LoadDib(spec.id);
        ASSERT_TRUE(dib.handle);
        EXPECT_EQ(spec.width, dib.info.dsBm.bmWidth);
        EXPECT_EQ(spec.height, dib.info.dsBm.bmHeight);
        EXPECT_EQ(24, dib.info.dsBm.bmBitsPixel);
    }
}

TEST(Resources, StripsHaveFourDistinctFramesWithoutMagenta) {
    for (const BitmapSpec& spec : kBitmaps) {
        if (!spec.strip)
            continue;
        SCOPED_TRACE("strip " + std::to_string(spec.id));
        Dib dib = LoadDib(spec.id);
        ASSERT_TRUE(dib.handle);
        const int frame = spec.width / 4;
        std::vector<std::vector<COLORREF>> frames(4);
        int magenta = 0;
        for (int f = 0; f < 4; ++f)
            for (int y = 0; y < spec.height; ++y)
                for (int x = 0; x < frame; ++x) {
                    const COLORREF c = dib.At(f * frame + x, y);
                    magenta += c == RGB(255, 0, 255);
                    frames[f].push_back(c);
                }
        EXPECT_EQ(0, magenta);
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b)
                EXPECT_NE(frames[a], frames[b]) << "frames " << a << " and " << b;
    }
}

TEST(Resources, FramePiecesCarryTheirStatedColours) {
    struct Sample {
        int id, x, y;
        COLORREF colour;
    };
    const Sample samples[] = {
        // Caption middle, rows from the top: outline, light line, gradient start ... end, foot row, outline.
        {IDB_FRAME_CAPTION_MIDDLE, 4, 0, RGB(1, 37, 58)},
        {IDB_FRAME_CAPTION_MIDDLE, 4, 1, RGB(27, 127, 185)},
        {IDB_FRAME_CAPTION_MIDDLE, 4, 2, RGB(1, 59, 94)},
        {IDB_FRAME_CAPTION_MIDDLE, 4, 25, RGB(0, 100, 158)},
        {IDB_FRAME_CAPTION_MIDDLE, 4, 26, RGB(1, 55, 87)},
        {IDB_FRAME_CAPTION_MIDDLE, 4, 27, RGB(1, 37, 58)},
        // Caption ends: outline down the outer column and along the bottom, white outside the rounded corner.
        {IDB_FRAME_CAPTION_LEFT, 0, 14, RGB(1, 37, 58)},
        {IDB_FRAME_CAPTION_LEFT, 3, 27, RGB(1, 37, 58)},
        {IDB_FRAME_CAPTION_LEFT, 1, 14, RGB(27, 127, 185)},
        {IDB_FRAME_CAPTION_LEFT, 0, 0, RGB(255, 255, 255)},
        {IDB_FRAME_CAPTION_RIGHT, 5, 14, RGB(1, 37, 58)},
        {IDB_FRAME_CAPTION_RIGHT, 5, 0, RGB(255, 255, 255)},
        // Side edges, columns from the outside in (middle row).
        {IDB_FRAME_LEFT, 0, 1, RGB(23, 46, 72)},
        {IDB_FRAME_LEFT, 1, 1, RGB(20, 83, 136)},
        {IDB_FRAME_LEFT, 2, 1, RGB(25, 99, 154)},
        {IDB_FRAME_LEFT, 3, 1, RGB(75, 193, 231)},
        {IDB_FRAME_RIGHT, 3, 1, RGB(23, 46, 72)},
        {IDB_FRAME_RIGHT, 0, 1, RGB(75, 193, 231)},
        // Bottom edge, rows from the top.
        {IDB_FRAME_BOTTOM, 0, 0, RGB(18, 91, 134)},
        {IDB_FRAME_BOTTOM, 1, 1, RGB(43, 151, 223)},
        {IDB_FRAME_BOTTOM, 0, 2, RGB(40, 165, 222)},
        {IDB_FRAME_BOTTOM, 1, 3, RGB(122, 220, 252)},
        // Bottom corners: white inside, edge colours outside.
        {IDB_FRAME_BOTTOM_LEFT, 5, 0, RGB(255, 255, 255)},
        {IDB_FRAME_BOTTOM_LEFT, 0, 0, RGB(23, 46, 72)},
        {IDB_FRAME_BOTTOM_LEFT, 5, 5, RGB(122, 220, 252)},
        {IDB_FRAME_BOTTOM_RIGHT, 0, 0, RGB(255, 255, 255)},
        {IDB_FRAME_BOTTOM_RIGHT, 5, 0, RGB(23, 46, 72)},
        {IDB_FRAME_BOTTOM_RIGHT, 0, 5, RGB(122, 220, 252)},
    };
    for (const Sample& s : samples) {
        Dib dib = LoadDib(s.id);
        ASSERT_TRUE(dib.handle) << s.id;
        EXPECT_EQ(s.colour, dib.At(s.x, s.y)) << "bitmap " << s.id << " at (" << s.x << ", " << s.y << ")";
    }
}

} // namespace
