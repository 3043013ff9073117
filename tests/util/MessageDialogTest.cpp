// The message dialog on a real screen: layout inspected through the seam, roles driven by keys
// posted into its modal loop.

#include "util/Msg.h"

#include "DialogDriver.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace vireon;

namespace {

std::string TextOf(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

RECT BoundsIn(HWND dialog, HWND control) {
    RECT bounds;
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

bool SameTextButton(const char* name) {
    return lstrcmpiA(name, "Button") == 0;
}

// Push buttons of the dialog, left to right.
std::vector<HWND> PushButtons(HWND dialog) {
    std::vector<HWND> buttons;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = {};
        GetClassNameA(child, name, sizeof name);
        if (SameTextButton(name) && GetDlgCtrlID(child) != kMsgDlgCheckBoxId)
            buttons.push_back(child);
    }
    std::sort(buttons.begin(), buttons.end(),
              [dialog](HWND a, HWND b) { return BoundsIn(dialog, a).left < BoundsIn(dialog, b).left; });
    return buttons;
}

// Shows a message and lets Inspect look at the finished dialog, answering OK.
void Inspect(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
             const std::function<void(HWND)>& inspect) {
    TScopedSeam seam(MessageDialogSeam(), [&](HWND dialog) {
        inspect(dialog);
        return mrOk;
    });
    EXPECT_EQ(mrOk, ShowMessageEx(text, type, buttons));
}

} // namespace

TEST(ShowMessageEx, ButtonsInTheirFixedOrder) {
    Inspect("Which one?", mtConfirmation,
            {mbHelp, mbYesToAll, mbNoToAll, mbAll, mbIgnore, mbRetry, mbAbort, mbCancel, mbOK, mbNo, mbYes},
            [](HWND dialog) {
                std::vector<std::string> captions;
                for (HWND button : PushButtons(dialog))
                    captions.push_back(TextOf(button));
                EXPECT_EQ((std::vector<std::string>{"&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry",
                                                    "&Ignore", "&All", "N&o to All", "Yes to &All", "&Help"}),
                          captions);
                // The system's message font, asked for under the face name "Arial Cyr".
                LOGFONTA font = {};
                GetObjectA(reinterpret_cast<HFONT>(SendMessageA(PushButtons(dialog)[0], WM_GETFONT, 0, 0)),
                           sizeof font, &font);
                EXPECT_STREQ("Arial Cyr", font.lfFaceName);
            });
}

TEST(ShowMessageEx, CaptionAndIconFollowTheType) {
    struct Case {
        TMsgDlgType type;
        const char* caption;
        bool icon;
    } cases[] = {{mtError, "Error", true},
                 {mtWarning, "Warning", true},
                 {mtInformation, "Information", true},
                 {mtConfirmation, "Confirm", true},
                 {mtCustom, "", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        Inspect("Text", c.type, {mbOK}, [&](HWND dialog) {
            EXPECT_EQ(c.caption, TextOf(dialog));
            EXPECT_EQ(c.icon, GetDlgItem(dialog, kMsgDlgIconId) != nullptr);
            EXPECT_EQ("Text", TextOf(GetDlgItem(dialog, kMsgDlgTextId)));
        });
    }
}

TEST(ShowMessageEx, LongTextWrapsWithinHalfTheScreenAndIsCentred) {
    std::string text;
    for (int i = 0; i < 80; ++i)
        text += "word\tword ";
    text += std::string(300, 'x'); // one word longer than a line
    Inspect(text, mtInformation, {mbOK}, [&](HWND dialog) {
        HWND label = GetDlgItem(dialog, kMsgDlgTextId);
        const RECT bounds = BoundsIn(dialog, label);
        // Lines break at half the screen; the label has a little room beyond for wide glyphs.
        EXPECT_LE(bounds.right - bounds.left, GetSystemMetrics(SM_CXSCREEN) * 55 / 100);
        EXPECT_GT(bounds.bottom - bounds.top, 3 * 8);
        const RECT icon = BoundsIn(dialog, GetDlgItem(dialog, kMsgDlgIconId));
        EXPECT_EQ(32, icon.right - icon.left);
        EXPECT_LT(icon.right, bounds.left); // the icon stands at the left of the text
        RECT window;
        GetWindowRect(dialog, &window);
        EXPECT_NEAR(GetSystemMetrics(SM_CXSCREEN) / 2, (window.left + window.right) / 2, 1);
        EXPECT_NEAR(GetSystemMetrics(SM_CYSCREEN) / 2, (window.top + window.bottom) / 2, 1);
        for (HWND button : PushButtons(dialog))
            EXPECT_GT(BoundsIn(dialog, button).top, bounds.bottom);
    });
}

TEST(ShowMessageEx, CheckBoxSwitchesShowAgainOnlyWhenOffered) {
    ShowAgain = true;
    OfferDontShowAgain = true;
    Inspect("Again?", mtInformation, {mbOK}, [](HWND dialog) {
        HWND box = GetDlgItem(dialog, kMsgDlgCheckBoxId);
        ASSERT_NE(nullptr, box);
        EXPECT_EQ("Don't dispaly this message in the future.", TextOf(box));
        EXPECT_GT(BoundsIn(dialog, box).top, BoundsIn(dialog, GetDlgItem(dialog, kMsgDlgTextId)).bottom);
        SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    });
    EXPECT_FALSE(ShowAgain);
    EXPECT_FALSE(OfferDontShowAgain);

    // Not offered: no check box, and the earlier choice stays.
    Inspect("Again?", mtInformation, {mbOK},
            [](HWND dialog) { EXPECT_EQ(nullptr, GetDlgItem(dialog, kMsgDlgCheckBoxId)); });
    EXPECT_FALSE(ShowAgain);

    OfferDontShowAgain = true;
    Inspect("Again?", mtInformation, {mbOK}, [](HWND) {});
    EXPECT_TRUE(ShowAgain);
    EXPECT_FALSE(OfferDontShowAgain);
}

TEST(ShowMessageEx, DefaultAndCancelRolesOfEachButtonSet) {
    struct Case {
        TMsgDlgButtons buttons;
        const char* name;
        int defaultId; // 0: no default button
        bool closable; // a button holds the cancel role
    } cases[] = {
        {{mbOK}, "OK", mrOk, true},
        {{mbYes, mbOK, mbNo}, "Yes OK No", mrOk, true},
        {{mbYes, mbNo}, "Yes No", mrYes, true},
        {{mbAbort, mbRetry, mbIgnore}, "Abort Retry Ignore", mrRetry, false},
        {{mbIgnore, mbAll}, "Ignore All", 0, false},
        {{mbNo, mbHelp}, "No Help", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Inspect("Roles", mtCustom, c.buttons, [&](HWND dialog) {
            int defaults = 0;
            for (HWND button : PushButtons(dialog))
                if (GetWindowLongA(button, GWL_STYLE) & BS_DEFPUSHBUTTON) {
                    ++defaults;
                    EXPECT_EQ(c.defaultId, GetDlgCtrlID(button));
                }
            EXPECT_EQ(c.defaultId ? 1 : 0, defaults);
            const UINT close = GetMenuState(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND);
            EXPECT_EQ(c.closable, !(close & MF_GRAYED));
        });
    }
}

// The real modal loop: Enter answers for the default button, Escape for the cancel button.
TEST(ShowMessageEx, EnterAndEscapeAnswerForTheDefaultAndCancelButtons) {
    struct Case {
        TMsgDlgButtons buttons;
        const char* name;
        int onEnter;
        int onEscape;
    } cases[] = {
        {{mbOK, mbCancel}, "OK Cancel", mrOk, mrCancel},
        {{mbYes, mbNo}, "Yes No", mrYes, mrNo},
        {{mbYes, mbNo, mbCancel}, "Yes No Cancel", mrYes, mrCancel},
        {{mbRetry, mbCancel}, "Retry Cancel", mrRetry, mrCancel},
        {{}, "none (OK shown)", mrOk, mrOk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        {
            DialogDriver driver({DialogDriver::Key(VK_RETURN)});
            EXPECT_EQ(c.onEnter, ShowMessageEx("Enter", mtConfirmation, c.buttons));
            EXPECT_FALSE(driver.forced());
        }
        {
            DialogDriver driver({DialogDriver::Key(VK_ESCAPE)});
            EXPECT_EQ(c.onEscape, ShowMessageEx("Escape", mtConfirmation, c.buttons));
            EXPECT_FALSE(driver.forced());
        }
    }
}

TEST(ShowMessageEx, WithoutACancelButtonEscapeDoesNothing) {
    DialogDriver driver({DialogDriver::Key(VK_ESCAPE),
                         [](HWND dialog) { return PostMessageA(dialog, WM_CLOSE, 0, 0) != FALSE; },
                         DialogDriver::Click(mrIgnore)});
    EXPECT_EQ(mrIgnore, ShowMessageEx("Abort?", mtError, {mbAbort, mbRetry, mbIgnore}));
    EXPECT_EQ("Error", driver.caption());
}

TEST(ShowMessageEx, HelpKeepsTheDialogOpen) {
    DialogDriver driver({DialogDriver::Click(kMsgDlgHelpId), DialogDriver::Click(mrNo)});
    EXPECT_EQ(mrNo, ShowMessageEx("Help?", mtConfirmation, {mbYes, mbNo, mbHelp}));
}

TEST(ShowMessageEx, CheckBoxClickedOnScreen) {
    ShowAgain = true;
    OfferDontShowAgain = true;
    DialogDriver driver({DialogDriver::Click(kMsgDlgCheckBoxId), DialogDriver::Key(VK_RETURN)});
    EXPECT_EQ(mrOk, ShowMessageEx("Once", mtInformation, {mbOK}));
    EXPECT_FALSE(ShowAgain);
    ShowAgain = true;
}
