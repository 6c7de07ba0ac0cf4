// Prints the launcher's figures, measured under Wine, as rows of tools/bench.sh's table, each ending with its
// ratio to a baseline measured in the same run:
//   - the game window's DrawFrame at 1920 x 1080, first after a resize and then again at the same size
//     (what the caption timer costs every second), against a plain BitBlt of that size;
//   - the time from process start to the main window's first visible picture, with Wine warm, against the
//     same for bare_layered_start.exe (same toolchain, imports and manifest; one layered window, ready
//     picture);
//   - the program's peak private memory once it sits idle with its start page, against the figure before the
//     redraw and frame pictures were kept.
// Then two lines outside the table: the time from a game link to the game window shown (in the test build
// that can follow a link), and the size of the program's exe.
//
//     launcher_figures <QXRVClient.exe> <QXRVClientProbe.exe> <bare_layered_start.exe>
//
// The screen must be at least 1920 x 1080 (tools/bench.sh starts such an Xvfb).
#include "app/CounterClock.h"
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
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace qxrv::test;

namespace {

using qxrv::CounterMilliseconds;

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

// Milliseconds from CreateProcess until the probe pixel shows colour; negative when it never came. A program
// that is not the launcher (no launcher windows) is ended at once instead of asked to close.
double TimeToFirstPicture(const std::wstring& exe, POINT at, COLORREF colour, bool isLauncher) {
    const double start = CounterMilliseconds();
    double seen = -1.0;
    {
        LauncherProcess program(exe);
        if (program.Started() && WaitUntil([&] { return ScreenPixel(at.x, at.y) == colour; }, 30000))
            seen = CounterMilliseconds() - start;
        if (isLauncher && program.WaitForWindows(10000))
            program.CloseFromMainWindow();
    }
    // Nothing of this run may stay on the screen for the next one.
    WaitUntil([&] { return ScreenPixel(at.x, at.y) != colour; }, 5000);
    return seen;
}

// Start-up milliseconds of a program over several runs; median negative when none was seen.
struct StartFigures {
    std::vector<double> runs;
    double median() const { return runs.empty() ? -1.0 : Median(runs); }
    double least() const { return *std::min_element(runs.begin(), runs.end()); }
    double most() const { return *std::max_element(runs.begin(), runs.end()); }
};

// Nine runs of the launcher and of the bare exe taken in turn, after one of each that warms Wine up, so that
// a slow spell of the machine weighs on both.
void MeasureStarts(const std::wstring& exe, const std::wstring& bareExe, POINT at, COLORREF colour,
                   StartFigures* pLauncher, StartFigures* pBare) {
    const COLORREF bareColour =
        RGB(0x20, 0x60, 0xA0); // the bare exe's window stands where the launcher's does
    TimeToFirstPicture(exe, at, colour, true);
    TimeToFirstPicture(bareExe, at, bareColour, false);
    for (int i = 0; i < 9; ++i) {
        const double launcher = TimeToFirstPicture(exe, at, colour, true);
        if (launcher >= 0)
            pLauncher->runs.push_back(launcher);
        const double bare = TimeToFirstPicture(bareExe, at, bareColour, false);
        if (bare >= 0)
            pBare->runs.push_back(bare);
    }
}

// A message nobody posts: a look at the queue for it finds nothing and takes nothing.
const UINT kNoMessage = WM_APP + 0x3FF0;

// Finishes the drawing still pending, so that a timed step starts from a window surface with nothing to hand
// on. Wine draws a window into its own copy of the picture and hands what changed to the X server when the
// thread goes idle, or from inside any drawing call that finds a change older than 50 ms; a timed step would
// otherwise take on the whole hand-over in some runs and not in others. GdiFlush ends GDI's batch (Windows
// batches some calls). A look at the queue that finds nothing counts as going idle: Wine hands on what
// changed, then reads the X server's events, and an exposure among them marks its part of the picture to be
// handed on again, so a second look follows. The looks take and dispatch nothing, so no paint of the game
// window changes what the next step has to do.
void FinishPendingDrawing() {
    ::GdiFlush();
    for (int look = 0; look < 2; ++look) {
        MSG msg;
        ::PeekMessageW(&msg, NULL, kNoMessage, kNoMessage, PM_NOREMOVE);
    }
}

struct DrawFigures {
    SIZE size = {};
    double afterResize = 0.0;
    double sameSize = 0.0;
    double bitBlt = 0.0;
};

// DrawFrame on a w x h game window: once right after the window was resized (away and back), then again at
// the same size; and a plain BitBlt of the same size, all into the window's own DC. Each step starts once the
// drawing before it has been handed on and ends when GDI has done its own, so every figure is the step's
// drawing into the window and never Wine's hand-over of the picture to the X server. The steps at the same
// size are timed in runs of ten, so that a late wake-up of the thread or a cold cache weighs on a tenth of a
// figure; the step after a resize can only be taken once per resize.
DrawFigures MeasureDrawFrame(int cx, int cy, int rounds) {
    const int kRepeats = 10;
    DrawFigures figures;
    CDlgQXRVGameWnd game;
    if (!game.Create(IDD_GAME, CWnd::FromHandle(::GetDesktopWindow())))
        return figures;
    game.ShowWindow(SW_SHOWNORMAL);
    game.SetWindowPos(NULL, 0, 0, cx, cy, SWP_NOZORDER);
    RECT rc = WindowRectOf(game.GetSafeHwnd());
    figures.size = {rc.right - rc.left, rc.bottom - rc.top};

    std::vector<double> resized, same, blits;
    {
        CClientDC dc(&game);
        CDC source;
        CBitmap picture;
        source.CreateCompatibleDC(&dc);
        picture.CreateCompatibleBitmap(&dc, cx, cy);
        CSelectScope selected(source, picture);
        source.FillSolidRect(0, 0, cx, cy, RGB(255, 255, 255));
        // Milliseconds of one step, taken n times in a row once the drawing before it is finished.
        auto timed = [](std::vector<double>* pTimes, int n, const std::function<void()>& step) {
            FinishPendingDrawing();
            const double t = CounterMilliseconds();
            for (int i = 0; i < n; ++i) {
                step();
                ::GdiFlush();
            }
            if (pTimes != nullptr)
                pTimes->push_back((CounterMilliseconds() - t) / n);
        };
        for (int i = -5; i < rounds; ++i) { // five rounds of warm-up
            const bool counted = i >= 0;
            // Painted at the size away, as the window would be, so that what it keeps is of another size.
            game.SetWindowPos(NULL, 0, 0, cx * 5 / 6, cy * 5 / 6, SWP_NOMOVE | SWP_NOZORDER);
            game.UpdateWindow();
            game.SetWindowPos(NULL, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
            timed(counted ? &resized : nullptr, 1, [&] { game.DrawFrame(&dc); });
            timed(counted ? &same : nullptr, kRepeats, [&] { game.DrawFrame(&dc); });
            timed(counted ? &blits : nullptr, kRepeats,
                  [&] { dc.BitBlt(0, 0, cx, cy, &source, 0, 0, SRCCOPY); });
        }
    }
    game.DestroyWindow();
    figures.afterResize = Median(resized);
    figures.sameSize = Median(same);
    figures.bitBlt = Median(blits);
    return figures;
}

// Milliseconds from a game link followed in the start page to the game window shown; negative when it never
// came.
double TimeToGameWindow(const std::wstring& probeExe) {
    ::SetEnvironmentVariableW(L"QXRV_LINK_1", L"http://127.0.0.1:9/play?id=5&client=1");
    LauncherProcess program(probeExe);
    ::SetEnvironmentVariableW(L"QXRV_LINK_1", NULL);
    double shown = -1.0;
    if (program.Started() && program.WaitForWindows()) {
        const double start = CounterMilliseconds();
        ::PostMessageW(program.StartPage(), FollowLinkMessage(), IDC_START_PAGE, 1);
        if (WaitUntil([&] { return ::IsWindowVisible(program.Game()) != FALSE; }, 10000))
            shown = CounterMilliseconds() - start;
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

// Peak private memory at idle, measured with tools/bench.sh on the code before the layered dialog and the
// game window kept their pictures between redraws (the same machine as the README's table).
const unsigned long kPeakPrivateBeforeKB = 15420;

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(
            stderr,
            "usage: launcher_figures <QXRVClient.exe> <QXRVClientProbe.exe> <bare_layered_start.exe>\n");
        return 2;
    }
    const std::wstring exe = argv[1];
    const std::wstring probeExe = argv[2];
    const std::wstring bareExe = argv[3];
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
    bool ok = true;

    const DrawFigures draw = MeasureDrawFrame(1920, 1080, 60);
    if (draw.size.cx != 1920 || draw.size.cy != 1080 || draw.bitBlt <= 0) {
        ok = false;
        std::printf("| DrawFrame at 1920x1080 | the game window could not be made at that size |\n");
    } else {
        std::printf(
            "| DrawFrame at 1920x1080, after a resize | median %.3f ms; plain BitBlt of that size %.3f ms; "
            "ratio %.1f |\n",
            draw.afterResize, draw.bitBlt, draw.afterResize / draw.bitBlt);
        std::printf(
            "| DrawFrame at 1920x1080, same size again | median %.3f ms; plain BitBlt of that size %.3f ms; "
            "ratio %.1f |\n",
            draw.sameSize, draw.bitBlt, draw.sameSize / draw.bitBlt);
    }

    StartFigures start, bare;
    MeasureStarts(exe, bareExe, at, colour, &start, &bare);
    if (start.runs.empty() || bare.runs.empty()) {
        ok = false;
        std::printf("| process start to first picture | not seen (launcher %s, bare exe %s) |\n",
                    start.runs.empty() ? "no" : "yes", bare.runs.empty() ? "no" : "yes");
    } else {
        std::printf(
            "| process start to first picture | median %.0f ms (%zu runs, %.0f to %.0f ms); bare layered "
            "exe median %.0f ms (%zu runs, %.0f to %.0f ms); ratio %.2f |\n",
            start.median(), start.runs.size(), start.least(), start.most(), bare.median(), bare.runs.size(),
            bare.least(), bare.most(), start.median() / bare.median());
    }

    const SIZE_T peakPrivate = PeakPrivateAtIdle(exe);
    if (peakPrivate == 0) {
        ok = false;
        std::printf("| peak private memory at idle | not reported |\n");
    } else {
        const unsigned long kb = static_cast<unsigned long>(peakPrivate / 1024);
        std::printf("| peak private memory at idle | %lu KB; before the kept pictures %lu KB; ratio %.2f |\n",
                    kb, kPeakPrivateBeforeKB,
                    kPeakPrivateBeforeKB != 0 ? double(kb) / kPeakPrivateBeforeKB : 0.0);
    }

    std::vector<double> links;
    for (int i = 0; i < 5; ++i) {
        const double t = TimeToGameWindow(probeExe);
        if (t >= 0)
            links.push_back(t);
    }
    if (links.empty()) {
        ok = false;
        std::printf("game link to game window shown: not seen\n");
    } else {
        std::printf("game link to game window shown: median %.0f ms (%zu runs)\n", Median(links),
                    links.size());
    }
    if (haveSize)
        std::printf("QXRVClient.exe size: %llu bytes\n", exeBytes);
    return ok ? 0 : 1;
}
