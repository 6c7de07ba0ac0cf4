// Window creation that the system gives up on after the framework has bound the object to the new handle: a
// CBT hook vetoes it, and no WM_NCDESTROY ever comes. The object must come out unbound, so that its owner
// sees no window and a later Create can still succeed.
#include "framework/Dialog.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Vetoes the next window creation on this thread. Installed before the framework's own creation hook, so it
// runs after that hook has bound the object.
class CreationVeto {
public:
    CreationVeto() {
        s_vetoed = 0;
        s_hook = ::SetWindowsHookExW(WH_CBT, Hook, NULL, ::GetCurrentThreadId());
    }
    ~CreationVeto() { ::UnhookWindowsHookEx(s_hook); }
    CreationVeto(const CreationVeto&) = delete;
    CreationVeto& operator=(const CreationVeto&) = delete;
    bool Installed() const { return s_hook != NULL; }
    int Vetoed() const { return s_vetoed; }
    // The handle the vetoed window had, and the object the framework had bound to it when the veto came.
    HWND VetoedHandle() const { return s_hWnd; }
    CWnd* BoundWhenVetoed() const { return s_pBound; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND && s_vetoed == 0) {
            ++s_vetoed;
            s_hWnd = reinterpret_cast<HWND>(wParam);
            s_pBound = CWnd::FromHandlePermanent(s_hWnd);
            return 1;
        }
        return ::CallNextHookEx(s_hook, code, wParam, lParam);
    }
    static inline HHOOK s_hook = NULL;
    static inline int s_vetoed = 0;
    static inline HWND s_hWnd = NULL;
    static inline CWnd* s_pBound = nullptr;
};

struct VetoCase {
    const char* name;
    std::function<BOOL(CWnd&)> create;
};

const VetoCase kCases[] = {
    {"modeless dialog", [](CWnd& wnd) { return static_cast<CDialog&>(wnd).Create(IDD_GAME, NULL); }},
    {"plain window",
     [](CWnd& wnd) { return wnd.Create(NULL, L"vetoed", WS_POPUP, CRect(0, 0, 50, 50), NULL, 0, NULL); }},
};

TEST(CreationVeto, AVetoedCreationLeavesTheObjectUnboundAndFreeToCreateAgain) {
    for (const VetoCase& c : kCases) {
        SCOPED_TRACE(c.name);
        CDialog dialog(IDD_GAME, NULL);
        CWnd& wnd = dialog;
        HWND hwndVetoed = NULL;
        {
            CreationVeto veto;
            ASSERT_TRUE(veto.Installed());
            EXPECT_FALSE(c.create(wnd));
            ASSERT_EQ(1, veto.Vetoed()) << "the creation reached the system";
            // The handle as the system gave it at the veto, when the framework had already bound the object.
            hwndVetoed = veto.VetoedHandle();
            ASSERT_NE(nullptr, hwndVetoed);
            ASSERT_EQ(&wnd, veto.BoundWhenVetoed())
                << "the veto must come after the framework bound the object";
        }
        EXPECT_EQ(NULL, wnd.GetSafeHwnd()) << "bound to a handle that never became a window";
        EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hwndVetoed));

        ASSERT_TRUE(c.create(wnd)) << "the object can be created once the veto is gone";
        EXPECT_TRUE(::IsWindow(wnd.GetSafeHwnd()));
        wnd.DestroyWindow();
        EXPECT_EQ(NULL, wnd.GetSafeHwnd());
    }
}

} // namespace
