// Windows made again with new creation parameters, controls that are top-level popups while they
// have no parent, and the monitor a window is on.

#include "forms/LiveCounts.h"
#include "forms/TForm.h"
#include "forms/TScreen.h"
#include "forms/TTrackBar.h"

#include <gtest/gtest.h>

#include <commctrl.h>

using namespace vireon;

namespace {

DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
}

TEST(RecreateWnd, MakesANewWindowWithTheSameControl) {
    int windows = LiveCounts().Windows;
    TForm form;
    form.SetBounds(10, 10, 300, 200);
    auto* bar = new TTrackBar(&form);
    bar->SetBounds(5, 6, 150, 40);
    bar->SetRange(0, 50);
    bar->SetPosition(20);
    bar->SetParent(&form);
    HWND before = bar->Handle();
    EXPECT_FALSE(StyleOf(before) & TBS_VERT);

    bar->SetOrientation(trVertical);
    HWND after = bar->Handle();
    EXPECT_NE(before, after);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_TRUE(StyleOf(after) & TBS_VERT);
    EXPECT_EQ(form.Handle(), GetParent(after));
    EXPECT_EQ(20, SendMessageA(after, TBM_GETPOS, 0, 0)) << "state carried into the new window";
    EXPECT_EQ(bar, TWinControl::FromHandle(after));

    TWinControl unmade;
    unmade.RecreateWnd();
    EXPECT_FALSE(unmade.HandleAllocated()) << "a control without a window stays without";
    form.DestroyComponents();
    EXPECT_EQ(windows + 1, LiveCounts().Windows) << "only the form's window is left";
}

TEST(PopupWhenParentless, TopLevelWithoutParentChildWithOne) {
    TForm form;
    form.SetBounds(40, 40, 300, 200);
    TWinControl control;
    control.SetBounds(70, 80, 120, 90);
    {
        SCOPED_TRACE("an ordinary control without a parent is hidden away");
        HWND window = control.Handle();
        EXPECT_TRUE(StyleOf(window) & WS_CHILD);
    }
    control.SetPopupWhenParentless(true);
    control.SetPopupOwner(form.Handle());
    HWND popup = control.Handle();
    EXPECT_TRUE(StyleOf(popup) & WS_POPUP);
    EXPECT_FALSE(StyleOf(popup) & WS_CHILD);
    EXPECT_EQ(GetDesktopWindow(), GetAncestor(popup, GA_PARENT));
    EXPECT_EQ(form.Handle(), GetWindow(popup, GW_OWNER));
    RECT bounds;
    GetWindowRect(popup, &bounds);
    EXPECT_EQ(70, bounds.left) << "bounds are screen coordinates";
    EXPECT_EQ(80, bounds.top);

    control.SetParent(&form);
    HWND child = control.Handle();
    EXPECT_TRUE(StyleOf(child) & WS_CHILD);
    EXPECT_EQ(form.Handle(), GetParent(child));

    control.SetParent(nullptr);
    EXPECT_TRUE(StyleOf(control.Handle()) & WS_POPUP);
    EXPECT_EQ(GetDesktopWindow(), GetAncestor(control.Handle(), GA_PARENT));
}

TEST(Screen, MonitorNearestToAWindow) {
    TForm form;
    form.SetBounds(10, 10, 200, 100);
    RECT primary{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT found = TScreen::MonitorRectFromWindow(form.Handle());
    EXPECT_TRUE(EqualRect(&primary, &found)) << found.right << "x" << found.bottom;
    RECT fallback = TScreen::MonitorRect(nullptr);
    EXPECT_TRUE(EqualRect(&primary, &fallback));
}

} // namespace
