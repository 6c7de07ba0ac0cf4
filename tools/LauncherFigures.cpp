// Prints the launcher's figures, measured under Wine:
//   - the time from process start to the main window's first visible picture, with Wine warm;
//   - the median time of the game window's DrawFrame at 960 x 600 and at 1920 x 1080, next to a plain BitBlt
//     of the same size measured in the same run, and their ratio;
//   - the time from a game link to the game window shown, in the test build that can follow a link;
//   - the program's peak private memory once it sits idle with its start page;
//   - the size of the program's exe in bytes.
// Each figure is one row of a Markdown table (tools/bench.sh prints the header).
//
//     launcher_figures <QXRVClient.exe> <QXRVClientProbe.exe>
//
// The screen must be at least 1920 x 1080 (tools/bench.sh starts such an Xvfb).
#include "app/DlgQXRVGameWnd.h"
#include "framework/WinApp.h"
#include "framework/WindowDC.h"
#include "res/resource.h"
#include "skin/GdiplusServices.h"
#include "skin/PngResource.h"
#include "tests/app/AppTestKit.h"
#include "tests/app/LauncherProcess.h"
#include "tests/app/UiAgent.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace qxrv::test;

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// A pixel of the main window whose colour only the launcher's picture gives it: an opaque background point.
bool PictureProbe(POINT* pAt, COLORREF* pColour) {
    std::unique_ptr<Gdiplus::Image> pImage(ImageFromPngResource(IDB_BACKGROUND));
    if (!pImage || pImage->GetWidth() != 1208)
        return false;
    Gdiplus::Bitmap bitmap(1208, 621, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&bitmap);
        g.DrawImage(pImage.get(), 0, 0, 1208, 621);
    }
    for (int x = 20; x < 300; ++x) {
        Gdiplus::Color c;
        bitmap.GetPixel(x, 400, &c);
        if (c.GetA() == 255) {
            const RECT work = WorkArea();
            *pAt = {(work.left + work.right) / 2 - 604 + x, (work.top + work.bottom) / 2 - 310 + 400};
            *pColour = RGB(c.GetR(), c.GetG(), c.GetB());
            return true;
        }
    }
    return false;
}

// Seconds from CreateProcess until the picture's probe pixel is on the screen; negative when it never came.
double TimeToFirstPicture(const std::wstring& exe, POINT at, COLORREF colour) {
    const double start = Now();
    LauncherProcess program(exe);
    double seen = -1.0;
    if (program.Started() && WaitUntil([&] { return ScreenPixel(at.x, at.y) == colour; }, 30000))
        seen = Now() - start;
    if (program.WaitForWindows(10000))
        program.CloseFromMainWindow();
    // Nothing of this run may stay on the screen for the next one.
    WaitUntil([&] { return ScreenPixel(at.x, at.y) != colour; }, 5000);
    return seen;
}

struct DrawFigures {
    SIZE size = {};
    double drawFrame = 0.0;
    double bitBlt = 0.0;
};

DrawFigures MeasureDrawFrame(int cx, int cy, int rounds) {
    DrawFigures figures;
    CDlgQXRVGameWnd game;
    if (!game.Create(IDD_GAME, CWnd::FromHandle(::GetDesktopWindow())))
        return figures;
    game.ShowWindow(SW_SHOWNORMAL);
    game.SetWindowPos(NULL, 0, 0, cx, cy, SWP_NOZORDER);
    RECT rc = WindowRectOf(game.GetSafeHwnd());
    figures.size = {rc.right - rc.left, rc.bottom - rc.top};

    std::vector<double> frames, blits;
    {
        CClientDC dc(&game);
        CDC source;
        CBitmap picture;
        source.CreateCompatibleDC(&dc);
        picture.CreateCompatibleBitmap(&dc, cx, cy);
        CSelectScope selected(source, picture);
        source.FillSolidRect(0, 0, cx, cy, RGB(255, 255, 255));
        for (int i = 0; i < rounds; ++i) {
            double t = Now();
            game.DrawFrame(&dc);
            ::GdiFlush();
            frames.push_back(Now() - t);
            t = Now();
            dc.BitBlt(0, 0, cx, cy, &source, 0, 0, SRCCOPY);
            ::GdiFlush();
            blits.push_back(Now() - t);
        }
    }
    game.DestroyWindow();
    figures.drawFrame = Median(frames);
    figures.bitBlt = Median(blits);
    return figures;
}


// Seconds from a game link followed in the start page to the game window shown; negative when it never came.
double TimeToGameWindow(const std::wstring& probeExe) {
    ::SetEnvironmentVariableW(L"QXRV_LINK_1", L"http://127.0.0.1:9/play?id=5&client=1");
    LauncherProcess program(probeExe);
    ::SetEnvironmentVariableW(L"QXRV_LINK_1", NULL);
    double shown = -1.0;
    if (program.Started() && program.WaitForWindows()) {
        const double start = Now();
        ::PostMessageW(program.StartPage(), FollowLinkMessage(), IDC_START_PAGE, 1);
        if (WaitUntil([&] { return ::IsWindowVisible(program.Game()) != FALSE; }, 10000))
            shown = Now() - start;
    }
    return shown;
}

// The program's peak private (committed) bytes after it has sat idle with its start page for a while; 0 when
// the system does not tell.
SIZE_T PeakPrivateAtIdle(const std::wstring& exe) {
    LauncherProcess program(exe);
    if (!program.Started() || !program.WaitForWindows())
        return 0;
    ::Sleep(3000);
    SIZE_T peak = 0;
    if (HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.Pid())) {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        if (::GetProcessMemoryInfo(process, &counters, sizeof(counters)))
            peak = counters.PeakPagefileUsage;
        ::CloseHandle(process);
    }
    program.CloseFromMainWindow();
    return peak;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: launcher_figures <QXRVClient.exe> <QXRVClientProbe.exe>\n");
        return 2;
    }
    const std::wstring exe = argv[1];
    const std::wstring probeExe = argv[2];
    skin::CGdiplusSession gdiplus;
    CWinApp app;
    AfxEnableControlContainer();

    WIN32_FILE_ATTRIBUTE_DATA attributes = {};
    const bool haveSize = ::GetFileAttributesExW(exe.c_str(), GetFileExInfoStandard, &attributes) != FALSE;
    const unsigned long long exeBytes =
        (static_cast<unsigned long long>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;

    POINT at = {};
    COLORREF colour = 0;
    if (!PictureProbe(&at, &colour)) {
        std::fprintf(stderr, "figures: cannot read the background picture\n");
        return 1;
    }
    TimeToFirstPicture(exe, at, colour); // warms Wine up; not counted
    std::vector<double> starts;
    for (int i = 0; i < 5; ++i) {
        const double t = TimeToFirstPicture(exe, at, colour);
        if (t >= 0)
            starts.push_back(t);
    }
    std::vector<double> links;
    for (int i = 0; i < 5; ++i) {
        const double t = TimeToGameWindow(probeExe);
        if (t >= 0)
            links.push_back(t);
    }
    const SIZE_T peakPrivate = PeakPrivateAtIdle(exe);

    bool ok = !starts.empty() && !links.empty();
    if (starts.empty())
        std::printf("| process start to first picture | not seen |\n");
    else
        std::printf("| process start to first picture | median %.0f ms (%zu runs, %.0f to %.0f ms) |\n",
                    Median(starts) * 1000, starts.size(),
                    *std::min_element(starts.begin(), starts.end()) * 1000,
                    *std::max_element(starts.begin(), starts.end()) * 1000);
    if (links.empty())
        std::printf("| game link to game window shown | not seen |\n");
    else
        std::printf("| game link to game window shown | median %.0f ms (%zu runs) |\n", Median(links) * 1000,
                    links.size());
    for (const SIZE size : {SIZE{960, 600}, SIZE{1920, 1080}}) {
        const DrawFigures draw = MeasureDrawFrame(size.cx, size.cy, 60);
        if (draw.size.cx == 0) {
            ok = false;
            std::printf("| DrawFrame at %ldx%ld | the game window could not be made |\n", size.cx, size.cy);
            continue;
        }
        // The window's tracking sizes may refuse the size asked for; the row says what was drawn.
        std::printf("| DrawFrame at %ldx%ld%s | median %.2f ms; plain BitBlt of that size %.2f ms; ratio %.1f |\n",
                    draw.size.cx, draw.size.cy,
                    draw.size.cx != size.cx || draw.size.cy != size.cy ? " (the nearest allowed)" : "",
                    draw.drawFrame * 1000, draw.bitBlt * 1000, draw.bitBlt > 0 ? draw.drawFrame / draw.bitBlt : 0.0);
    }
    if (peakPrivate != 0)
        std::printf("| peak private memory at idle | %lu KB |\n", static_cast<unsigned long>(peakPrivate / 1024));
    else
        std::printf("| peak private memory at idle | not reported |\n");
    if (haveSize)
        std::printf("| QXRVClient.exe size | %llu bytes |\n", exeBytes);
    return ok ? 0 : 1;
}
