// The translucent button: its whole transition table, image loading, the checked-state rule, releases
// outside, and its caption in the composed picture.
#include "tests/skin/SkinTestSupport.h"

#include "res/resource.h"
#include "tests/skin/SkinTestRes.h"
#include "tests/support/Pump.h"

#include <commctrl.h>
#include <memory>
#include <optional>

namespace skintest {
namespace {

enum Slot { N = 0, D = 1, H = 2, P = 3, C = 4 }; // normal, disabled, hover, pressed, checked

const StateImageIds kAllFive = {IDB_TEST_RED, IDB_TEST_BLUE, IDB_TEST_YELLOW, IDB_TEST_MAGENTA,
                                IDB_TEST_CYAN};
// The colour of kAllFive's picture for each slot.
const Gdiplus::ARGB kSlotColours[5] = {0xFFFF0000, 0xFF0000FF, 0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF};

class TranslucentButtonTest : public SkinTest {
protected:
    // The button makes GDI+ objects, so it lives only while GDI+ runs.
    void SetUp() override {
        SkinTest::SetUp();
        m_parent.reset(new CBackdrop({10, 10, 300, 200}, RGB(0, 0, 0)));
        m_button.emplace();
    }
    void TearDown() override {
        if (m_button->m_hWnd != NULL) {
            TRACKMOUSEEVENT cancel = {sizeof cancel, TME_CANCEL | TME_HOVER | TME_LEAVE, m_button->m_hWnd, 0};
            _TrackMouseEvent(&cancel);
            m_button->DestroyWindow();
        }
        m_button.reset();
        m_parent.reset();
        SkinTest::TearDown();
    }
    // A push button child of the backdrop at (20, 20), bound to m_button and listened to by m_listener.
    void Attach(DWORD style = BS_PUSHBUTTON, const wchar_t* text = L"") {
        HWND hButton =
            ::CreateWindowExW(0, L"Button", text, WS_CHILD | WS_VISIBLE | style, 20, 20, 10, 10,
                              m_parent->m_hWnd, reinterpret_cast<HMENU>(77), ::GetModuleHandleW(NULL), NULL);
        ASSERT_TRUE(m_button->SubclassWindow(hButton));
        m_button->m_pLayerHost = &m_listener;
    }
    CSize WindowSize() { return CRect(WindowRectOf(m_button->m_hWnd)).Size(); }

    std::unique_ptr<CBackdrop> m_parent;
    std::optional<CTestButton> m_button;
    CCountingListener m_listener;
};

enum Event { kMove, kHover, kLeave, kDown, kUpInside, kUpOutside, kEnable, kDisable, kEnable2, kStyle };

TEST_F(TranslucentButtonTest, TransitionTable) {
    Attach();
    ASSERT_TRUE(m_button->LoadStateImages(kAllFive));
    struct Step {
        Event event;
        DWORD style;  // kStyle: the new low style byte
        Slot shown;   // the image shown afterwards
        bool redraw;  // whether the listener was called
        bool checked; // m_bCheckedState afterwards
        int clicks;   // BN_CLICKED notifications so far
    } steps[] = {
        {kMove, 0, N, false, false, 0},
        {kDown, 0, N, false, false, 0}, // pressed before any hover: looks come from the other flags
        {kHover, 0, P, true, false, 0},
        {kUpInside, 0, H, true, false, 1}, // a push button never keeps a checked state
        {kLeave, 0, N, true, false, 1},
        {kStyle, BS_AUTOCHECKBOX, N, false, false, 1},
        {kHover, 0, H, true, false, 1},
        {kDown, 0, P, true, false, 1},
        {kUpInside, 0, H, true, true, 2},
        {kLeave, 0, C, true, true, 2},
        {kDisable, 0, D, true, true, 2}, // disabled beats checked
        {kDisable, 0, D, false, true, 2},
        {kHover, 0, H, true, true, 2}, // the pointer's looks beat disabled and checked
        {kDown, 0, P, true, true, 2},
        {kUpOutside, 0, D, true, true, 2}, // hover cleared, checked kept, no click
        {kEnable2, 0, D, false, true, 2},  // bEnable 2 is not "enabled"
        {kEnable, 0, C, true, true, 2},
        {kStyle, BS_AUTORADIOBUTTON, C, false, true, 2},
        {kHover, 0, H, true, true, 2},
        {kDown, 0, P, true, true, 2},
        {kUpInside, 0, H, true, false, 3}, // a radio style flips back on a second click
        {kDown, 0, P, true, false, 3},
        {kUpInside, 0, H, true, true, 4},
        {kDown, 0, P, true, true, 4},
        {kUpInside, 0, H, true, false, 5},
        {kStyle, BS_AUTOCHECKBOX | BS_LEFTTEXT, H, false, false, 5},
        {kDown, 0, P, true, false, 5},
        {kUpInside, 0, H, true, false, 6}, // the whole low byte counts: not a check box, so no flip
        {kLeave, 0, N, true, false, 6},
        {kMove, 0, N, false, false, 6},
    };
    CRect inside;
    m_button->GetClientRect(&inside);
    ASSERT_EQ(CRect(0, 0, 40, 30), inside);
    // What the picture showed when the parent heard of this step's click.
    Gdiplus::Image* pShownAtClick = nullptr;
    int callsAtClick = -1;
    m_parent->m_onMessage = [&](UINT message) {
        if (message == WM_COMMAND) {
            pShownAtClick = m_button->m_pShownImage;
            callsAtClick = m_listener.m_nCalls;
        }
    };
    int index = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "step " << index++);
        const int callsBefore = m_listener.m_nCalls;
        pShownAtClick = nullptr;
        callsAtClick = -1;
        switch (s.event) {
        case kMove:
            m_button->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
            break;
        case kHover:
            m_button->SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(3, 3));
            break;
        case kLeave:
            m_button->SendMessage(WM_MOUSELEAVE, 0, 0);
            break;
        case kDown:
            m_button->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            break;
        case kUpInside:
            m_button->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(inside.right - 1, inside.bottom - 1));
            break;
        case kUpOutside:
            m_button->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(inside.right, 3)); // the right edge is outside
            break;
        case kEnable:
            m_button->SendMessage(WM_ENABLE, TRUE, 0);
            break;
        case kDisable:
            m_button->SendMessage(WM_ENABLE, FALSE, 0);
            break;
        case kEnable2:
            m_button->SendMessage(WM_ENABLE, 2, 0);
            break;
        case kStyle:
            ::SetWindowLongW(m_button->m_hWnd, GWL_STYLE,
                             (::GetWindowLongW(m_button->m_hWnd, GWL_STYLE) & ~0xFF) |
                                 static_cast<LONG>(s.style));
            break;
        }
        EXPECT_EQ(m_button->m_stateImages[s.shown], m_button->m_pShownImage);
        EXPECT_EQ(kSlotColours[s.shown], ImagePixel(m_button->m_pShownImage, 0, 0))
            << "the picture of that state";
        EXPECT_EQ(s.redraw ? callsBefore + 1 : callsBefore, m_listener.m_nCalls);
        if (s.event == kUpInside) {
            EXPECT_EQ(m_button->m_pShownImage, pShownAtClick)
                << "the new look is drawn before the click is told";
            EXPECT_EQ(m_listener.m_nCalls, callsAtClick);
        }
        EXPECT_EQ(s.checked, m_button->m_bCheckedState);
        EXPECT_EQ(static_cast<size_t>(s.clicks), m_parent->m_clickedIds.size());
    }
    EXPECT_TRUE(m_button->m_bTrackingLeave) << "the last move asked for tracking again after the leave";
}

TEST_F(TranslucentButtonTest, OnlyANormalImageNeverRedraws) {
    Attach(BS_AUTOCHECKBOX);
    ASSERT_TRUE(m_button->LoadStateImages({IDB_TEST_RED, 0, 0, 0, 0}));
    for (UINT message : {WM_MOUSEHOVER, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSELEAVE})
        m_button->SendMessage(message, 0, MAKELPARAM(2, 2));
    m_button->SendMessage(WM_ENABLE, FALSE, 0);
    EXPECT_TRUE(m_button->m_bCheckedState);
    EXPECT_EQ(m_button->m_stateImages[N], m_button->m_pShownImage);
    EXPECT_EQ(0, m_listener.m_nCalls);
}

TEST_F(TranslucentButtonTest, LoadStateImagesEdgeCases) {
    const struct {
        const char* what;
        StateImageIds ids;
        bool result;
        CSize size; // window size afterwards
        bool filled[5];
    } cases[] = {
        {"no normal ID", {0, IDB_TEST_BLUE, IDB_TEST_YELLOW, 0, 0}, false, {10, 10}, {}},
        {"all five", kAllFive, true, {40, 30}, {true, true, true, true, true}},
        {"missing normal picture",
         {IDB_TEST_MISSING, 0, IDB_TEST_YELLOW, 0, 0},
         true,
         {0, 0},
         {true, false, true}},
        {"missing optional picture",
         {IDB_TEST_RED, 0, IDB_TEST_MISSING, 0, 0},
         true,
         {40, 30},
         {true, false, true}},
        {"smaller normal picture", {IDB_TEST_SMALL_GREEN, 0, 0, 0, 0}, true, {20, 10}, {true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CTestButton& button = *m_button;
        if (button.m_hWnd == NULL)
            Attach();
        button.SetWindowPos(NULL, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER);
        ASSERT_TRUE(button.LoadStateImages(kAllFive)); // earlier images, to be replaced
        button.SetWindowPos(NULL, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(c.result, button.LoadStateImages(c.ids));
        EXPECT_EQ(c.size, WindowSize());
        for (int slot = 0; slot < 5; ++slot)
            EXPECT_EQ(c.filled[slot], button.m_stateImages[slot] != nullptr) << "slot " << slot;
        EXPECT_EQ(button.m_stateImages[N], button.m_pShownImage);
        EXPECT_EQ(CPoint(20, 20), CRect(ChildRectOf(button.m_hWnd)).TopLeft())
            << "loading never moves the button";
    }
    EXPECT_EQ(0, m_listener.m_nCalls) << "loading tells nobody";
}

TEST_F(TranslucentButtonTest, SameIdInTwoSlotsGivesTwoObjects) {
    Attach();
    ASSERT_TRUE(m_button->LoadStateImages({IDB_TEST_RED, IDB_TEST_RED, IDB_TEST_RED, 0, 0}));
    EXPECT_NE(m_button->m_stateImages[N], m_button->m_stateImages[D]);
    EXPECT_NE(m_button->m_stateImages[N], m_button->m_stateImages[H]);
    // So moving between them is a change of image, and redraws.
    m_button->SendMessage(WM_MOUSEHOVER, 0, 0);
    EXPECT_EQ(1, m_listener.m_nCalls);
}

TEST_F(TranslucentButtonTest, RealMouseTrackingBringsHoverAndLeave) {
    Attach();
    ASSERT_TRUE(m_button->LoadStateImages(kAllFive));
    POINT over = {25, 25};
    ::ClientToScreen(m_parent->m_hWnd, &over);
    ::SetCursorPos(over.x, over.y);
    m_button->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(m_button->m_bTrackingLeave);
    EXPECT_TRUE(qxrv::test::PumpUntil([&] { return m_button->m_bMouseOver; }, 3000))
        << "no hover notification";
    EXPECT_EQ(m_button->m_stateImages[H], m_button->m_pShownImage);
    // A second move while tracking is in force asks for nothing new and changes no look.
    const int calls = m_listener.m_nCalls;
    m_button->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
    EXPECT_EQ(calls, m_listener.m_nCalls);

    ::SetCursorPos(over.x + 200, over.y + 200);
    EXPECT_TRUE(qxrv::test::PumpUntil([&] { return !m_button->m_bTrackingLeave; }, 3000))
        << "no leave notification";
    EXPECT_FALSE(m_button->m_bMouseOver);
    EXPECT_EQ(m_button->m_stateImages[N], m_button->m_pShownImage);
}

// ---- In the composed picture

// Dark pixels of the caption inside rect: their bounding box (empty when there are none).
CRect DarkBox(const CRect& rect) {
    const std::vector<COLORREF> pixels = ScreenPixels(rect);
    CRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (int y = 0; y < rect.Height(); ++y)
        for (int x = 0; x < rect.Width(); ++x) {
            const COLORREF c = pixels[y * rect.Width() + x];
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 300) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
    return box.left == INT_MAX ? CRect() : box;
}

TEST_F(TranslucentButtonTest, CaptionIsDrawnCentredOverTheImage) {
    const struct {
        const wchar_t* text;
        bool drawn;
    } cases[] = {{L"WWW", true}, {L"", false}, {L"i", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "caption \"" << c.text << "\"");
        CBackdrop backdrop(WholeScreen(), RGB(200, 30, 30));
        CTestButton a, b;
        CTestLayeredDialog dlg;
        dlg.m_setUp = [&](CTestLayeredDialog& d) {
            ASSERT_TRUE(a.SubclassDlgItem(IDC_MINIMIZE, &d));
            a.SetWindowText(c.text);
            ASSERT_TRUE(a.LoadStateImages({IDB_TEST_WHITE, 0, 0, 0, 0}));
            a.SetWindowPos(NULL, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            d.AddLayerChild(&a);
        };
        ASSERT_TRUE(dlg.CreateAndShow());
        CRect image(OnScreen(dlg, 300, 200), CSize(80, 40));
        const CRect box = DarkBox(image);
        if (!c.drawn) {
            EXPECT_TRUE(box.IsRectEmpty()) << "an empty caption draws nothing";
            EXPECT_EQ(RGB(255, 255, 255), ScreenPixel(image.left + 40, image.top + 20));
            continue;
        }
        ASSERT_FALSE(box.IsRectEmpty()) << "no caption drawn";
        // Centred both ways, within a couple of pixels of glyph side bearings and font metrics.
        EXPECT_NEAR(box.left, 80 - box.right, 3);
        EXPECT_NEAR(box.top, 40 - box.bottom, 4);
    }
}

TEST_F(TranslucentButtonTest, StateImagesAreStretchedToTheWindow) {
    CBackdrop backdrop(WholeScreen(), RGB(200, 30, 30));
    CTestButton a;
    CTestLayeredDialog dlg;
    dlg.m_setUp = [&](CTestLayeredDialog& d) {
        ASSERT_TRUE(a.SubclassDlgItem(IDC_MINIMIZE, &d));
        ASSERT_TRUE(a.LoadStateImages({IDB_TEST_RED, 0, IDB_TEST_SMALL_GREEN, 0, 0})); // 40 x 30 and 20 x 10
        a.SetWindowPos(NULL, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        d.AddLayerChild(&a);
    };
    ASSERT_TRUE(dlg.CreateAndShow());
    EXPECT_EQ(RGB(255, 0, 0), ScreenPixel(dlg.m_hWnd, {320, 215}));
    a.SendMessage(WM_MOUSEHOVER, 0, 0);
    EXPECT_EQ(a.m_stateImages[H], a.m_pShownImage);
    EXPECT_EQ(1, dlg.m_nReports);
    // The whole 40 x 30 window, short of the edge pixels that the default interpolation blends.
    for (POINT p : {POINT{304, 204}, POINT{335, 225}, POINT{320, 215}})
        EXPECT_EQ(RGB(0, 160, 0), ScreenPixel(dlg.m_hWnd, p));
}

} // namespace
} // namespace skintest
