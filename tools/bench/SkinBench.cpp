// Times the layered dialog's redraws at the launcher's size, a 1208 x 621 background with two 55 x 57
// buttons, and prints them as rows of tools/bench.sh's table:
//   - the full redraw (RedrawLayer), against one bare UpdateLayeredWindow of a ready picture of that size;
//   - one button's change of look (hover and leave in turn), against the same bare push and against a plain
//     fill and copy of the same 3,000,672 bytes.
// The bare push goes to the same window in the same run. A last line gives the process's private memory
// before and after the timed runs, which must not grow. Run it under Wine with tools/bench/skin-bench.sh.
#include "framework/GdiplusPrelude.h"

#include "app/CounterClock.h"
#include "res/resource.h"
#include "skin/GdiplusServices.h"
#include "skin/LayeredWindowApi.h"
#include "skin/MemoryPicture.h"
#include "skin/PngResource.h"
#include "skin/TranslucentButton.h"
#include "skin/TranslucentDialog.h"
#include "tests/support/HeapUse.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

const int kWidth = 1208, kHeight = 621;
const size_t kPictureBytes = 4u * kWidth * kHeight; // 3,000,672

// The main window's picture as the launcher composes it: its background and its two buttons.
class CBenchDialog : public CTranslucentDialog {
public:
    ~CBenchDialog() override {
        if (m_hWnd != NULL)
            DestroyWindow();
    }
    HWND MinimizeButton() const { return m_minimize.GetSafeHwnd(); }

protected:
    CStandardDialog* CreateOverlayDialog() override { return NULL; }
    void SetUpChildControls() override {
        m_minimize.SubclassDlgItem(IDC_MINIMIZE, this);
        m_close.SubclassDlgItem(IDC_CLOSE, this);
        m_minimize.LoadStateImages(
            {IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_HOVER, IDB_MINIMIZE_PRESSED, 0});
        m_close.LoadStateImages({IDB_CLOSE_NORMAL, IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_PRESSED, 0});
        AddLayerChild(&m_minimize);
        AddLayerChild(&m_close);
        m_minimize.SetWindowPos(NULL, 1100, 64, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_close.SetWindowPos(NULL, 1130, 64, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }

private:
    CTranslucentButton m_minimize;
    CTranslucentButton m_close;
};

// A 1208 x 621 picture made once, ready to be pushed as it is: the background drawn by GDI+.
class CReadyPicture {
public:
    CReadyPicture() {
        if (!m_picture.CreateDib(NULL, {kWidth, kHeight}))
            return;
        std::memset(m_picture.Bits(), 0, kPictureBytes);
        std::unique_ptr<Gdiplus::Image> pBackground(ImageFromPngResource(IDB_BACKGROUND));
        Gdiplus::Graphics graphics(m_picture.DC());
        graphics.DrawImage(pBackground.get(), 0, 0, kWidth, kHeight);
        graphics.Flush(Gdiplus::FlushIntentionSync);
    }

    bool ok() const { return m_picture.IsMade(); }
    // One push of the picture to hWnd at its own corner, as the layered dialog does it.
    void PushTo(HWND hWnd) {
        RECT rect = {};
        ::GetWindowRect(hWnd, &rect);
        POINT position = {rect.left, rect.top};
        SIZE size = {kWidth, kHeight};
        POINT source = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        HDC hScreen = ::GetDC(hWnd);
        skin::CallUpdateLayeredWindow(hWnd, hScreen, &position, &size, m_picture.DC(), &source, 0, &blend,
                                      ULW_ALPHA);
        ::ReleaseDC(hWnd, hScreen);
    }

private:
    CMemoryPicture m_picture;
};

double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const size_t index = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

void PumpPending() {
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Milliseconds of each of n runs of step, with the queue drained now and then as a real window's would be.
std::vector<double> Time(int n, const std::function<void(int)>& step) {
    std::vector<double> times;
    times.reserve(n);
    for (int i = 0; i < n; ++i) {
        const double start = qxrv::CounterMilliseconds();
        step(i);
        times.push_back(qxrv::CounterMilliseconds() - start);
        if (i % 50 == 0)
            PumpPending();
    }
    PumpPending();
    return times;
}

} // namespace

int wmain() {
    skin::CGdiplusSession gdiplus;
    if (!gdiplus.IsRunning()) {
        std::printf("GDI+ did not start\n");
        return 2;
    }
    int exitCode = 0;
    {
        CBenchDialog dlg;
        if (!dlg.Create(IDD_MAIN, NULL)) {
            std::printf("the dialog could not be created\n");
            return 2;
        }
        dlg.ShowWindow(SW_SHOWNOACTIVATE);
        PumpPending();
        CReadyPicture ready;
        if (!ready.ok()) {
            std::printf("the ready picture could not be made\n");
            return 2;
        }
        const HWND button = dlg.MinimizeButton();
        // Hover and leave in turn: every message changes the button's look once.
        auto changeLook = [&](int i) { ::SendMessageW(button, i % 2 ? WM_MOUSELEAVE : WM_MOUSEHOVER, 0, 0); };
        auto redraw = [&](int) { dlg.RedrawLayer(); };
        auto bare = [&](int) { ready.PushTo(dlg.GetSafeHwnd()); };
        // Warm-up: caches, allocators and whatever the dialog keeps between redraws settle.
        Time(20, redraw);
        Time(20, changeLook);
        Time(20, bare);

        // In blocks taken in turn, so that a slow spell of the machine or of the X server weighs on all
        // three.
        const SIZE_T before = qxrv::test::CommittedBytes();
        std::vector<double> full, look, pushes;
        for (int block = 0; block < 30; ++block) {
            for (double t : Time(10, redraw))
                full.push_back(t);
            for (double t : Time(30, changeLook))
                look.push_back(t);
            for (double t : Time(10, bare))
                pushes.push_back(t);
            dlg.RedrawLayer(); // the window shows the dialog's own picture again
        }
        const SIZE_T after = qxrv::test::CommittedBytes();

        // The same number of bytes, only filled and copied: the floor any redraw has to stand on.
        std::vector<unsigned char> source(kPictureBytes), target(kPictureBytes);
        const std::vector<double> copies = Time(200, [&](int i) {
            std::memset(source.data(), i & 0xFF, kPictureBytes);
            std::memcpy(target.data(), source.data(), kPictureBytes);
        });
        volatile unsigned char sink = target[kPictureBytes / 2]; // keep the copy
        (void)sink;

        const double push = Percentile(pushes, 0.5);
        const double copy = Percentile(copies, 0.5);
        const double fullMedian = Percentile(full, 0.5);
        const double lookMedian = Percentile(look, 0.5);
        std::printf("| layered redraw 1208x621, full | median %.3f ms; 95th percentile %.3f ms; "
                    "bare UpdateLayeredWindow 1208x621 %.3f ms; ratio %.2f |\n",
                    fullMedian, Percentile(full, 0.95), push, fullMedian / push);
        std::printf("| layered redraw 1208x621, one button's look | median %.3f ms; 95th percentile %.3f ms; "
                    "bare UpdateLayeredWindow 1208x621 %.3f ms; ratio %.2f |\n",
                    lookMedian, Percentile(look, 0.95), push, lookMedian / push);
        std::printf("| layered redraw 1208x621, one button's look, against fill-and-copy | median %.3f ms; "
                    "plain fill-and-copy of 3,000,672 bytes %.3f ms; ratio %.1f |\n",
                    lookMedian, copy, lookMedian / copy);
        const long long growth = static_cast<long long>(after) - static_cast<long long>(before);
        std::printf("redraw bench: private memory before %lu KB, after %lu KB, growth %lld KB\n",
                    static_cast<unsigned long>(before / 1024), static_cast<unsigned long>(after / 1024),
                    growth / 1024);
        // A redraw that leaked one picture would grow by about 3 MB each time; allow only allocator noise.
        if (growth > 256 * 1024) {
            std::printf("redraw bench: FAIL: memory grew\n");
            exitCode = 1;
        }
    }
    std::fflush(stdout);
    return exitCode;
}
