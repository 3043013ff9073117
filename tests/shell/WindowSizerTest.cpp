// Resizing a skinned window from its edges and corners, maximising it from its title strip, and its
// minimum size; the skin in front of which the sizer sits keeps drawing and laying out.
#include "shell/TWindowSizer.h"

#include "skin/SkinInterfaces.h"
#include "SkinnedWindow.h"
#include "support/MessagePump.h"

#include <gtest/gtest.h>

using Microsoft::WRL::ComPtr;
using namespace vireon;

namespace {

constexpr SIZE kMin{640, 400};

bool Same(const RECT& A, const RECT& B) {
    return EqualRect(&A, &B);
}

class WindowSizer : public ::testing::Test {
protected:
    void SetUp() override {
        sizer.Attach(window, kMin);
        testsupport::PumpMessages();
    }
    void TearDown() override {
        DestroyWindow(window);
        EXPECT_FALSE(sizer.Attached()) << "the sizer must let go of a window that is destroyed";
    }

    RECT Rect() const {
        RECT r{};
        GetWindowRect(window, &r);
        return r;
    }
    LRESULT HitTest(int X, int Y) const { return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(X, Y)); }

    // Presses on the edge the point hits, moves the cursor by the offset, and lets go.
    void Drag(POINT From, POINT By) {
        SetCursorPos(From.x, From.y);
        const LRESULT hit = HitTest(From.x, From.y);
        SendMessageW(window, WM_NCLBUTTONDOWN, hit, MAKELPARAM(From.x, From.y));
        SetCursorPos(From.x + By.x / 2, From.y + By.y / 2);
        SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, 0);
        SetCursorPos(From.x + By.x, From.y + By.y);
        SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, 0);
        SendMessageW(window, WM_LBUTTONUP, 0, 0);
        testsupport::PumpMessages();
    }

    shelltest::TSkinnedWindow skinned{WS_OVERLAPPED, {100, 80, 900, 680}};
    HWND window = skinned.Window;
    ComPtr<skin::ISkin> skin = skinned.Skin;
    TWindowSizer sizer;
};

TEST_F(WindowSizer, EdgesAndCornersAreSizingAreasTheRestIsTheSkins) {
    const RECT r = Rect();
    ASSERT_EQ(800, r.right - r.left);
    EXPECT_EQ(HTLEFT, HitTest(r.left + 1, r.top + 300));
    EXPECT_EQ(HTRIGHT, HitTest(r.right - 2, r.top + 300));
    EXPECT_EQ(HTBOTTOM, HitTest(r.left + 300, r.bottom - 1));
    EXPECT_EQ(HTTOP, HitTest(r.left + 300, r.top));
    EXPECT_EQ(HTTOPLEFT, HitTest(r.left, r.top));
    EXPECT_EQ(HTBOTTOMRIGHT, HitTest(r.right - 1, r.bottom - 1));
    EXPECT_EQ(HTTOPRIGHT, HitTest(r.right - 1, r.top + 2));
    EXPECT_EQ(HTBOTTOMLEFT, HitTest(r.left + 3, r.bottom - 3));
    // Inside, the skin answers: its title strip moves the window, the video area is client.
    EXPECT_EQ(HTCAPTION, HitTest(r.left + 300, r.top + 16));
    EXPECT_EQ(HTCLIENT, HitTest(r.left + 400, r.top + 300));
}

TEST_F(WindowSizer, DraggingAnEdgeResizesDownToTheMinimum) {
    RECT r = Rect();
    Drag({r.right - 2, r.top + 300}, {120, 0});
    EXPECT_EQ(920, Rect().right - Rect().left);
    EXPECT_EQ(r.left, Rect().left);

    r = Rect();
    Drag({r.left + 300, r.bottom - 1}, {0, -1000});
    EXPECT_EQ(kMin.cy, Rect().bottom - Rect().top);

    r = Rect();
    Drag({r.left, r.top}, {500, 40});
    EXPECT_EQ(kMin.cx, Rect().right - Rect().left);
    EXPECT_EQ(r.right, Rect().right) << "the opposite edge stays where it was";

    // The skin laid its anchored objects out for the new size: the video area fills the middle.
    ComPtr<skin::ISkinVisual> screen;
    ASSERT_TRUE(SUCCEEDED(skin->GetSkinForm(window)->FindObject(L"pnScreen").As(&screen)));
    const RECT area = screen->GetRect();
    EXPECT_EQ(kMin.cx, area.right - area.left);
    EXPECT_EQ(450 - (600 - kMin.cy), area.bottom - area.top);
}

TEST_F(WindowSizer, DoubleClickOnTheTitleStripMaximisesAndRestores) {
    const RECT before = Rect();
    SendMessageW(window, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(before.left + 300, before.top + 10));
    testsupport::PumpMessages();
    EXPECT_TRUE(IsZoomed(window));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT zoomed = Rect();
    EXPECT_EQ(monitor.rcWork.right - monitor.rcWork.left, zoomed.right - zoomed.left);
    EXPECT_EQ(monitor.rcWork.bottom - monitor.rcWork.top, zoomed.bottom - zoomed.top);
    // Maximised, the edges do not size.
    EXPECT_NE(HTLEFT, HitTest(zoomed.left, zoomed.top + 300));
    SendMessageW(window, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(zoomed.left + 300, zoomed.top + 10));
    testsupport::PumpMessages();
    EXPECT_FALSE(IsZoomed(window));
    const RECT after = Rect();
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST(WindowSizerRect, DraggedRectanglesKeepTheOppositeEdgesAndTheMinimum) {
    const RECT start{100, 100, 900, 700};
    RECT r = TWindowSizer::DraggedRect(start, HTBOTTOMRIGHT, {50, 60}, kMin);
    EXPECT_TRUE(Same(r, {100, 100, 950, 760}));
    r = TWindowSizer::DraggedRect(start, HTTOPLEFT, {-30, -20}, kMin);
    EXPECT_TRUE(Same(r, {70, 80, 900, 700}));
    r = TWindowSizer::DraggedRect(start, HTLEFT, {700, 700}, kMin);
    EXPECT_TRUE(Same(r, {900 - kMin.cx, 100, 900, 700}));
    r = TWindowSizer::DraggedRect(start, HTTOP, {0, 1000}, kMin);
    EXPECT_TRUE(Same(r, {100, 700 - kMin.cy, 900, 700}));
}

} // namespace
