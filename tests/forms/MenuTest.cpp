#include "forms/LiveCounts.h"
#include "forms/TPopupMenu.h"

#include <gtest/gtest.h>

#include <string>

using namespace vireon;

namespace {

std::string EntryText(HMENU menu, int position) {
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof(text), MF_BYPOSITION);
    return text;
}

UINT EntryState(HMENU menu, int position) {
    return GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
}

TMenuItem* AddItem(TMenuItem* parent, const std::string& caption, TShortCut shortCut = scNone) {
    return TMenuItem::Create(parent, parent, {.Caption = caption, .ShortCut = shortCut});
}

} // namespace

TEST(ShortCutText, KnownTextsRoundTrip) {
    for (const char* text : {"F1", "F3", "Ctrl+P", "Shift+Right", "Ctrl+Left", "Alt+Enter", "Alt+X", "Space",
                             "Shift+Ctrl+Alt+F12"}) {
        SCOPED_TRACE(text);
        TShortCut value = TextToShortCut(text);
        EXPECT_NE(scNone, value);
        EXPECT_EQ(text, ShortCutToText(value));
    }
    EXPECT_EQ(scAlt | VK_RETURN, TextToShortCut("alt+return"));
    EXPECT_EQ(scCtrl | 'M', ShortCut('M', ssCtrl));
}

TEST(ShortCutText, UnknownTextIsNoShortCut) {
    for (const char* text : {"", "Ctrl+", "Hyper+Q", "F99", "Ctrl+Banana", "+", "Ctrl++"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(scNone, TextToShortCut(text));
    }
    EXPECT_EQ("", ShortCutToText(scCtrl | 0xFF));
}

TEST(Menu, TreeIsMirroredInTheMenuHandles) {
    TMainMenu menu;
    TMenuItem* file = AddItem(menu.Items(), "&File");
    AddItem(file, "Open File...", TextToShortCut("F3"));
    AddItem(file, "-");
    TMenuItem* exit = AddItem(file, "Exit", TextToShortCut("Alt+X"));
    ASSERT_EQ(1, GetMenuItemCount(menu.Handle()));
    EXPECT_EQ(file->Handle(), GetSubMenu(menu.Handle(), 0));
    EXPECT_EQ(3, GetMenuItemCount(file->Handle()));
    EXPECT_EQ("Open File...\tF3", EntryText(file->Handle(), 0));
    EXPECT_TRUE(EntryState(file->Handle(), 1) & MF_SEPARATOR);

    exit->SetEnabled(false);
    exit->SetChecked(true);
    UINT state = EntryState(file->Handle(), 2);
    EXPECT_TRUE(state & MF_GRAYED);
    EXPECT_TRUE(state & MF_CHECKED);

    // Hidden items have no entry; showing one puts it back where it belongs.
    file->Items(1)->SetVisible(false);
    EXPECT_EQ(2, GetMenuItemCount(file->Handle()));
    EXPECT_EQ("Exit\tAlt+X", EntryText(file->Handle(), 1));
    file->Items(1)->SetVisible(true);
    EXPECT_EQ(3, GetMenuItemCount(file->Handle()));

    TMenuItem* first = TMenuItem::Create(nullptr, nullptr, {.Caption = "First"});
    file->Insert(0, first);
    EXPECT_EQ("First", EntryText(file->Handle(), 0));
    EXPECT_EQ(0, file->IndexOf(first));
    EXPECT_EQ(exit, file->Find("EXIT"));
    EXPECT_EQ(file, menu.Items()->Find("file"));
    file->Remove(first);
    EXPECT_EQ(3, GetMenuItemCount(file->Handle()));
    EXPECT_EQ(nullptr, first->Parent());
    delete first;
}

TEST(Menu, RebuildingFreesEverything) {
    int menusBefore = LiveCounts().Menus;
    int componentsBefore = LiveCounts().Components;
    {
        TPopupMenu popup;
        TMenuItem* chapters = AddItem(popup.Items(), "Chapters");
        for (int round = 0; round < 3; ++round) {
            chapters->Clear();
            for (int i = 1; i <= 20; ++i) {
                TMenuItem* item = AddItem(chapters, "Chapter " + std::to_string(i));
                AddItem(item, "Sub");
            }
            EXPECT_EQ(20, GetMenuItemCount(chapters->Handle()));
        }
        chapters->Clear();
        // An emptied item is a plain command again.
        EXPECT_EQ(nullptr, chapters->Handle());
        EXPECT_EQ(nullptr, GetSubMenu(popup.Handle(), 0));
        AddItem(chapters, "No Chapters")->SetEnabled(false);
        EXPECT_EQ(chapters->Handle(), GetSubMenu(popup.Handle(), 0));
    }
    EXPECT_EQ(menusBefore, LiveCounts().Menus);
    EXPECT_EQ(componentsBefore, LiveCounts().Components);
}

TEST(Menu, CommandsLeadBackToTheirItems) {
    TMainMenu menu;
    TMenuItem* play = AddItem(menu.Items(), "Play");
    int clicks = 0;
    TMenuItem* pause = AddItem(play, "Pause");
    pause->OnClick = [&](TObject* sender) {
        EXPECT_EQ(pause, sender);
        ++clicks;
    };
    EXPECT_EQ(pause, TMenuItem::FromCommand(pause->Command()));
    EXPECT_EQ(pause, menu.FindItem(pause->Command()));
    EXPECT_TRUE(menu.DispatchCommand(pause->Command()));
    EXPECT_EQ(1, clicks);
    pause->SetEnabled(false);
    EXPECT_TRUE(menu.DispatchCommand(pause->Command()));
    EXPECT_EQ(1, clicks);
    // Nobody owns this identifier.
    UINT gone = AddItem(play, "Gone")->Command();
    play->Items(1)->Free();
    EXPECT_EQ(nullptr, TMenuItem::FromCommand(gone));
    EXPECT_FALSE(menu.DispatchCommand(gone));
    EXPECT_FALSE(menu.DispatchCommand(0xFFFF));
}

TEST(Menu, ClickHandlerMayFreeItsOwnItem) {
    TPopupMenu menu;
    TMenuItem* item = AddItem(menu.Items(), "Once");
    item->OnClick = [&](TObject*) { menu.Items()->Clear(); };
    EXPECT_TRUE(menu.DispatchCommand(item->Command()));
    EXPECT_EQ(0, menu.Items()->Count());
}

TEST(Menu, RadioGroupKeepsOneCheckedItem) {
    TPopupMenu menu;
    TMenuItem* aspect = AddItem(menu.Items(), "Aspect ratio");
    for (const char* caption : {"Fit to screen", "LetterBox", "Crop", "4:3"}) {
        TMenuItem* item = AddItem(aspect, caption);
        item->SetRadioItem(true);
        item->SetGroupIndex(1);
        item->SetAutoCheck(true);
    }
    TMenuItem* other = AddItem(aspect, "Other group");
    other->SetRadioItem(true);
    other->SetGroupIndex(2);
    other->SetChecked(true);

    aspect->Items(1)->SetChecked(true);
    aspect->Items(3)->Click();
    aspect->Items(3)->Click();
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(i == 3, aspect->Items(i)->Checked());
        EXPECT_EQ(i == 3, (EntryState(aspect->Handle(), i) & MF_CHECKED) != 0);
    }
    EXPECT_TRUE(other->Checked());
}

TEST(Menu, ItemCannotBeInsertedIntoItself) {
    TPopupMenu menu;
    TMenuItem* parent = AddItem(menu.Items(), "Parent");
    TMenuItem* child = AddItem(parent, "Child");
    EXPECT_THROW(child->Add(parent), std::invalid_argument);
    EXPECT_THROW(parent->Insert(5, TMenuItem::Create(parent, nullptr, {})), std::out_of_range);
    EXPECT_EQ(1, parent->Count());
}
