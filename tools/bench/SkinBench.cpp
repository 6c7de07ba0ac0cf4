// Times the layered dialog's full redraw at the launcher's size: a 1208 x 621 background and two 55 x 57
// buttons, composed and pushed 1,000 times. Prints the median and 95th-percentile redraw, a plain fill and
// copy of the same 3,000,672 bytes for scale, and the process's private memory before and after (which must
// not grow). Run it under Wine with tools/bench/skin-bench.sh <build-dir>.
#include "framework/GdiplusPrelude.h"

#include "res/resource.h"
#include "skin/GdiplusServices.h"
#include "skin/TranslucentButton.h"
#include "skin/TranslucentDialog.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const int kRedraws = 1000;
const size_t kPictureBytes = 4u * 1208u * 621u; // 3,000,672

// The main window's picture as the launcher composes it: its background and its two buttons.
class CBenchDialog : public CTranslucentDialog {
public:
    ~CBenchDialog() override {
        if (m_hWnd != NULL)
            DestroyWindow();
    }

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

double Now(const LARGE_INTEGER& frequency) {
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Committed private memory; Wine reports it as PagefileUsage and leaves PrivateUsage at 0.
SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof counters);
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

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

} // namespace

int wmain() {
    skin::CGdiplusSession gdiplus;
    if (!gdiplus.IsRunning()) {
        std::printf("GDI+ did not start\n");
        return 2;
    }
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    int exitCode = 0;
    {
        CBenchDialog dlg;
        if (!dlg.Create(IDD_MAIN, NULL)) {
            std::printf("the dialog could not be created\n");
            return 2;
        }
        dlg.ShowWindow(SW_SHOWNOACTIVATE);
        PumpPending();
        for (int i = 0; i < 20; ++i) // warm-up: caches and allocators settle
            dlg.RedrawLayer();

        const SIZE_T before = PrivateBytes();
        std::vector<double> redraws;
        redraws.reserve(kRedraws);
        for (int i = 0; i < kRedraws; ++i) {
            const double start = Now(frequency);
            dlg.RedrawLayer();
            redraws.push_back(Now(frequency) - start);
            if (i % 50 == 0)
                PumpPending();
        }
        PumpPending();
        const SIZE_T after = PrivateBytes();

        // The same number of bytes, only filled and copied: the floor any redraw has to stand on.
        std::vector<unsigned char> source(kPictureBytes), target(kPictureBytes);
        std::vector<double> copies;
        for (int i = 0; i < 200; ++i) {
            const double start = Now(frequency);
            std::memset(source.data(), i & 0xFF, kPictureBytes);
            std::memcpy(target.data(), source.data(), kPictureBytes);
            copies.push_back(Now(frequency) - start);
        }
        volatile unsigned char sink = target[kPictureBytes / 2]; // keep the copy
        (void)sink;

        const double median = Percentile(redraws, 0.5);
        const double p95 = Percentile(redraws, 0.95);
        const double copy = Percentile(copies, 0.5);
        const long long growth = static_cast<long long>(after) - static_cast<long long>(before);
        std::printf("RedrawLayer, 1208 x 621 with two 55 x 57 buttons, %d redraws\n", kRedraws);
        std::printf("  median %.3f ms, 95th percentile %.3f ms\n", median, p95);
        std::printf("  fill and copy of %lu bytes: %.3f ms (median of 200); redraw / copy = %.1f\n",
                    static_cast<unsigned long>(kPictureBytes), copy, median / copy);
        std::printf("  private memory before %lu KB, after %lu KB, growth %lld KB\n",
                    static_cast<unsigned long>(before / 1024), static_cast<unsigned long>(after / 1024),
                    growth / 1024);
        // A redraw that kept one picture would grow by about 3 MB each time; allow only allocator noise.
        if (growth > 256 * 1024) {
            std::printf("  FAIL: memory grew\n");
            exitCode = 1;
        }
    }
    std::fflush(stdout);
    return exitCode;
}
