// The About window on the shipped skin: one current window at a time, the reference cleared when it
// closes, and the link that lights up under the mouse through the skin's events.
#include "shell/ShellSkin.h"
#include "shell/TAboutDlg.h"

#include "forms/TApplication.h"
#include "forms/TScreen.h"
#include "ShellOpenLog.h"

#include "support/MessagePump.h"

#include <gtest/gtest.h>
#include <windowsx.h>

#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;
using namespace vireon;

namespace {

class AboutTest : public testing::Test {
protected:
    void SetUp() override {
        skin->LoadSkin(L"" VIREON_BUILD_DIR "/bin/skins/DVDTest.skn");
        // As the main window hands its skin's mouse events to the current About window.
        skin::TSkinEvents& events = skin->Events();
        events.OnMouseIn = [](skin::ISkin*, skin::ISkinObject* Source) {
            if (AboutDlg)
                AboutDlg->SkinMouseIn(Source);
        };
        events.OnMouseOut = [](skin::ISkin*, skin::ISkinObject* Source) {
            if (AboutDlg)
                AboutDlg->SkinMouseOut(Source);
        };
        events.OnMouseDown = [](skin::ISkin*, skin::ISkinObject* Source, skin::TSkinMouseButton, int, int) {
            if (AboutDlg)
                AboutDlg->SkinMouseDown(Source);
        };
    }

    void TearDown() override {
        if (AboutDlg)
            FreeComponent(AboutDlg);
        testsupport::PumpMessages();
        Screen().SetCursor(crDefault);
    }

    // Client point at the centre of the window's skin object.
    static LPARAM CentreOf(skin::ISkinVisual* Object) {
        RECT rect = Object->GetRect();
        return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }

    // The mouse moving to a client point: the cursor goes there too, so the window keeps the mouse.
    static void MoveTo(TAboutDlg* Dialog, LPARAM Point) {
        POINT screen = Dialog->ClientToScreen({GET_X_LPARAM(Point), GET_Y_LPARAM(Point)});
        SetCursorPos(screen.x, screen.y);
        SendMessageW(Dialog->Handle(), WM_MOUSEMOVE, 0, Point);
        testsupport::PumpMessages();
    }

    static bool Lit(TAboutDlg* Dialog) {
        RECT rect = Dialog->SiteHover()->GetRect();
        POINT centre = Dialog->ClientToScreen({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
        return Dialog->SiteHover()->HitTest(centre.x, centre.y) == 1;
    }

    ComPtr<skin::ISkin> skin = CreateShellSkin();
};

TEST_F(AboutTest, OpenedTwiceGivesTwoWindowsInTurnAndTheReferenceClearsOnClose) {
    TAboutDlg* first = ShowAbout(skin.Get());
    EXPECT_EQ(first, AboutDlg);
    EXPECT_EQ("AboutDlg", first->Name());
    EXPECT_EQ(bsNone, first->BorderStyle());
    EXPECT_EQ(348, first->ClientWidth());
    EXPECT_EQ(211, first->ClientHeight());
    EXPECT_EQ((Screen().Width() - first->Width()) / 2, first->Left()) << "centred on the screen";
    ASSERT_TRUE(first->Site());
    ASSERT_TRUE(first->SiteHover());
    HWND firstWindow = first->Handle();

    TAboutDlg* second = ShowAbout(skin.Get());
    HWND secondWindow = second->Handle();
    EXPECT_NE(first, second);
    EXPECT_EQ(second, AboutDlg) << "the newest is the current one";
    // The first lost the focus to the second, so it closed and went; the current one stays.
    SendMessageW(firstWindow, WM_ACTIVATE, WA_INACTIVE, 0);
    testsupport::PumpUntil([&] { return !IsWindow(firstWindow); });
    EXPECT_FALSE(IsWindow(firstWindow));
    EXPECT_EQ(second, AboutDlg);

    PostMessageW(secondWindow, WM_CLOSE, 0, 0);
    testsupport::PumpUntil([&] { return !IsWindow(secondWindow); });
    EXPECT_FALSE(IsWindow(secondWindow));
    EXPECT_EQ(nullptr, AboutDlg);
}

TEST_F(AboutTest, TheLinkLightsUpUnderTheMouseAndOpensTheSite) {
    shelltest::TShellOpenLog shell;
    std::vector<std::string>& opened = shell.Opened;
    TAboutDlg* about = ShowAbout(skin.Get());
    HWND window = about->Handle();
    const LPARAM onSite = CentreOf(about->Site());
    EXPECT_FALSE(Lit(about));

    MoveTo(about, onSite);
    EXPECT_TRUE(Lit(about));
    EXPECT_EQ(crHandPoint, Screen().Cursor());
    MoveTo(about, onSite); // the lit link now lies under the mouse
    MoveTo(about, MAKELPARAM(4, 4));
    EXPECT_FALSE(Lit(about));
    EXPECT_EQ(crDefault, Screen().Cursor());

    MoveTo(about, onSite);
    MoveTo(about, onSite);
    EXPECT_TRUE(opened.empty());
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, onSite);
    PostMessageW(window, WM_LBUTTONUP, 0, onSite);
    testsupport::PumpUntil([&] { return !IsWindow(window); });
    ASSERT_EQ(1u, opened.size());
    EXPECT_EQ("http://www.vireon.example/||5", opened[0]);
    EXPECT_FALSE(IsWindow(window)) << "a click closes the window";
    EXPECT_EQ(nullptr, AboutDlg);
}

TEST_F(AboutTest, AClickAnywhereClosesIt) {
    TAboutDlg* about = ShowAbout(skin.Get());
    HWND window = about->Handle();
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 40));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(300, 40));
    testsupport::PumpUntil([&] { return !IsWindow(window); });
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, AboutDlg);
}

} // namespace
