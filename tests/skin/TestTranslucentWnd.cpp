// The base of the translucent children: its flags from the style at attach time, WM_ENABLE's rule, the
// listener link and the images it owns.
#include "tests/skin/SkinTestSupport.h"

#include <memory>

namespace skintest {
namespace {

// The smallest translucent child: counts the looks it is asked to refresh.
class CProbeWnd : public CTranslucentWnd {
public:
    using CTranslucentWnd::m_bDisabledLook;
    using CTranslucentWnd::m_bShown;
    using CTranslucentWnd::m_pLayerHost;
    using CTranslucentWnd::m_stateImages;

    void PaintToLayer(Gdiplus::Graphics*) override {}
    void RefreshLook() override {
        ++m_nRefreshes;
        CTranslucentWnd::RefreshLook();
    }
    int m_nRefreshes = 0;
};

// An image that counts its own deletion.
class CCountedImage : public Gdiplus::Image {
public:
    CCountedImage(IStream* pStream, int* pDeleted) : Gdiplus::Image(pStream), m_pDeleted(pDeleted) {}
    ~CCountedImage() override { ++*m_pDeleted; }

private:
    int* m_pDeleted;
};

class TranslucentWndTest : public SkinTest {
protected:
    void SetUp() override {
        SkinTest::SetUp();
        m_parent.reset(new CBackdrop({10, 10, 200, 100}, RGB(0, 0, 0)));
    }
    void TearDown() override {
        m_parent.reset();
        SkinTest::TearDown();
    }
    HWND MakeButton(DWORD style) {
        return ::CreateWindowExW(0, L"Button", L"", WS_CHILD | style, 5, 5, 40, 20, m_parent->m_hWnd, NULL,
                                 ::GetModuleHandleW(NULL), NULL);
    }
    std::unique_ptr<CBackdrop> m_parent;
};

TEST_F(TranslucentWndTest, FlagsComeFromTheStyleAtAttachTime) {
    const struct {
        DWORD style;
        bool shown, disabled;
    } cases[] = {{WS_VISIBLE, true, false},
                 {0, false, false},
                 {WS_VISIBLE | WS_DISABLED, true, true},
                 {WS_DISABLED, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << std::hex << c.style);
        CProbeWnd wnd;
        CCountingListener listener;
        wnd.m_pLayerHost = &listener;
        ASSERT_TRUE(wnd.SubclassWindow(MakeButton(c.style)));
        EXPECT_EQ(c.shown, wnd.m_bShown);
        EXPECT_EQ(c.disabled, wnd.m_bDisabledLook);
        EXPECT_EQ(0, wnd.m_nRefreshes);
        EXPECT_EQ(0, listener.m_nCalls);
        // Showing or hiding later leaves the flag alone.
        wnd.ShowWindow(c.shown ? SW_HIDE : SW_SHOW);
        EXPECT_EQ(c.shown, wnd.m_bShown);
    }
}

TEST_F(TranslucentWndTest, EnableRefreshesOnlyOnAChange) {
    const struct {
        bool disabledBefore;
        WPARAM bEnable;
        bool disabledAfter;
        int refreshes;
    } cases[] = {
        {false, TRUE, false, 0}, // enabling an enabled window
        {false, FALSE, true, 1}, {true, FALSE, true, 0},
        {true, TRUE, false, 1},  {false, 2, true, 1}, // only exactly TRUE counts as enabled
        {true, 2, true, 0},      {true, 0xFFFFFFFF, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "disabled " << c.disabledBefore << ", bEnable " << c.bEnable);
        CProbeWnd wnd;
        ASSERT_TRUE(wnd.SubclassWindow(MakeButton(WS_VISIBLE)));
        wnd.m_bDisabledLook = c.disabledBefore;
        wnd.SendMessage(WM_ENABLE, c.bEnable, 0);
        EXPECT_EQ(c.disabledAfter, wnd.m_bDisabledLook);
        EXPECT_EQ(c.refreshes, wnd.m_nRefreshes);
    }
}

TEST_F(TranslucentWndTest, RefreshLookTellsOnlyARegisteredListener) {
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(MakeButton(WS_VISIBLE)));
    wnd.RefreshLook(); // nobody to tell: nothing happens
    CCountingListener listener;
    wnd.m_pLayerHost = &listener;
    wnd.RefreshLook();
    wnd.RefreshLook(); // the base form tells on every call
    EXPECT_EQ(2, listener.m_nCalls);
    EXPECT_EQ(&wnd, listener.m_pLastChild);
    // A real disable reaches the listener through WM_ENABLE.
    wnd.EnableWindow(FALSE);
    EXPECT_EQ(3, listener.m_nCalls);
}

TEST_F(TranslucentWndTest, DestructionDeletesOnlyTheImagesThatExist) {
    const struct {
        const char* what;
        std::vector<bool> slots; // true: an image, false: NULL
    } cases[] = {
        {"no slots", {}}, {"only NULL slots", {false, false}}, {"mixed", {true, false, true, false, true}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        int deleted = 0, made = 0;
        {
            CProbeWnd wnd;
            for (bool hasImage : c.slots) {
                IStream* pStream = nullptr;
                ASSERT_EQ(S_OK, ::CreateStreamOnHGlobal(NULL, TRUE, &pStream));
                wnd.m_stateImages.push_back(hasImage ? new CCountedImage(pStream, &deleted) : nullptr);
                made += hasImage;
                pStream->Release();
            }
        }
        EXPECT_EQ(made, deleted);
    }
}

} // namespace
} // namespace skintest
