#include "forms/TMenuItem.h"

#include "forms/LiveCounts.h"
#include "forms/TApplication.h"
#include "forms/TMenu.h"

#include <algorithm>
#include <stdexcept>

namespace vireon {
namespace {

std::string StripAmpersands(const std::string& text) {
    std::string result;
    for (char c : text)
        if (c != '&')
            result += c;
    return result;
}

} // namespace

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {
    FCommand = Application().Commands().Allocate(this);
}

TMenuItem::~TMenuItem() {
    while (!FItems.empty())
        delete FItems.back();
    if (FParent)
        FParent->Remove(this);
    DestroyHandle();
    Application().Commands().Release(FCommand);
}

TMenuItem* TMenuItem::Create(TComponent* AOwner, TMenuItem* AParent, const CreateArgs& Args) {
    auto* item = new TMenuItem(AOwner);
    item->SetName(Args.Name);
    item->FCaption = Args.Caption;
    item->FShortCut = Args.ShortCut;
    item->SetTag(Args.Tag);
    item->FEnabled = Args.Enabled;
    item->FVisible = Args.Visible;
    item->FRadioItem = Args.RadioItem;
    item->FGroupIndex = Args.GroupIndex;
    item->OnClick = Args.OnClick;
    if (AParent)
        AParent->Add(item);
    item->SetChecked(Args.Checked);
    return item;
}

void TMenuItem::SetCaption(const std::string& Value) {
    if (FCaption == Value)
        return;
    FCaption = Value;
    UpdateEntry();
}

void TMenuItem::SetEnabled(bool Value) {
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    UpdateEntry();
}

void TMenuItem::SetVisible(bool Value) {
    if (FVisible == Value)
        return;
    if (!Value)
        RemoveEntry();
    FVisible = Value;
    if (Value)
        InsertEntry();
}

void TMenuItem::SetChecked(bool Value) {
    if (Value && FRadioItem && FParent)
        for (TMenuItem* sibling : FParent->FItems)
            if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex)
                sibling->SetChecked(false);
    if (FChecked == Value)
        return;
    FChecked = Value;
    UpdateEntry();
}

void TMenuItem::SetRadioItem(bool Value) {
    if (FRadioItem == Value)
        return;
    FRadioItem = Value;
    UpdateEntry();
}

void TMenuItem::SetShortCut(TShortCut Value) {
    if (FShortCut == Value)
        return;
    FShortCut = Value;
    UpdateEntry();
}

TMenu* TMenuItem::Menu() const {
    const TMenuItem* item = this;
    while (item->FParent)
        item = item->FParent;
    return item->FMenu;
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TMenuItem* TMenuItem::Find(const std::string& ACaption) const {
    std::string wanted = StripAmpersands(ACaption);
    for (TMenuItem* item : FItems)
        if (SameText(StripAmpersands(item->FCaption), wanted))
            return item;
    return nullptr;
}

void TMenuItem::Add(TMenuItem* Item) {
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (!Item || Item == this)
        throw std::invalid_argument("Menu item cannot be inserted here");
    for (const TMenuItem* ancestor = this; ancestor; ancestor = ancestor->FParent)
        if (ancestor == Item)
            throw std::invalid_argument("Menu item cannot be inserted into its own submenu");
    if (Index < 0 || Index > Count())
        throw std::out_of_range("Menu index " + std::to_string(Index) + " out of bounds (0.." +
                                std::to_string(Count()) + ")");
    if (Item->FParent)
        Item->FParent->Remove(Item);
    bool becomesSubmenu = FItems.empty() && !FMenu;
    if (becomesSubmenu)
        RemoveEntry();
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    EnsureHandle();
    Item->InsertEntry();
    if (becomesSubmenu)
        InsertEntry();
    Changed();
}

void TMenuItem::Remove(TMenuItem* Item) {
    int index = IndexOf(Item);
    if (index < 0)
        return;
    Item->RemoveEntry();
    FItems.erase(FItems.begin() + index);
    Item->FParent = nullptr;
    if (FItems.empty() && !FMenu) {
        RemoveEntry();
        DestroyHandle();
        InsertEntry();
    }
    Changed();
}

void TMenuItem::Delete(int Index) {
    Remove(Items(Index));
}

void TMenuItem::Clear() {
    while (!FItems.empty())
        delete FItems.back();
}

void TMenuItem::Click() {
    if (FAutoCheck)
        SetChecked(FRadioItem ? true : !FChecked);
    CallEvent(OnClick, this);
}

TMenuItem* TMenuItem::FindCommand(UINT ACommand) {
    if (FCommand == ACommand)
        return this;
    for (TMenuItem* item : FItems)
        if (TMenuItem* found = item->FindCommand(ACommand))
            return found;
    return nullptr;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut Value) {
    if (Value == scNone)
        return nullptr;
    if (FShortCut == Value)
        return this;
    for (TMenuItem* item : FItems)
        if (TMenuItem* found = item->FindShortCut(Value))
            return found;
    return nullptr;
}

TMenuItem* TMenuItem::FromCommand(UINT ACommand) {
    return Application().Commands().Find(ACommand);
}

void TMenuItem::MakeRoot(TMenu* AMenu, bool MenuBar) {
    FMenu = AMenu;
    FHandle = MenuBar ? CreateMenu() : CreatePopupMenu();
    if (!FHandle)
        throw std::runtime_error("Cannot create a menu");
    ++LiveCounts().Menus;
}

// Position of this item's entry in the parent's menu: hidden siblings have no entry.
int TMenuItem::EntryIndex() const {
    int index = 0;
    for (const TMenuItem* sibling : FParent->FItems) {
        if (sibling == this)
            break;
        if (sibling->FVisible)
            ++index;
    }
    return index;
}

void TMenuItem::InsertEntry() {
    if (!FParent || !FParent->FHandle || !FVisible)
        return;
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_SUBMENU;
    info.wID = FCommand;
    info.hSubMenu = FItems.empty() ? nullptr : FHandle;
    InsertMenuItemA(FParent->FHandle, static_cast<UINT>(EntryIndex()), TRUE, &info);
    UpdateEntry();
}

void TMenuItem::RemoveEntry() {
    if (!FParent || !FParent->FHandle || !FVisible)
        return;
    // RemoveMenu leaves the submenu alive: it belongs to this item.
    RemoveMenu(FParent->FHandle, static_cast<UINT>(EntryIndex()), MF_BYPOSITION);
    FParent->Changed();
}

void TMenuItem::UpdateEntry() {
    if (!FParent || !FParent->FHandle || !FVisible)
        return;
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    std::string text = FCaption;
    if (IsLine()) {
        info.fMask = MIIM_FTYPE | MIIM_STATE;
        info.fType = MFT_SEPARATOR;
    } else {
        std::string shortCut = ShortCutToText(FShortCut);
        if (!shortCut.empty())
            text += "\t" + shortCut;
        info.fType = FRadioItem ? MFT_RADIOCHECK : MFT_STRING;
        info.dwTypeData = text.data();
    }
    info.fState = (FEnabled ? MFS_ENABLED : MFS_GRAYED) | (FChecked ? MFS_CHECKED : MFS_UNCHECKED);
    SetMenuItemInfoA(FParent->FHandle, static_cast<UINT>(EntryIndex()), TRUE, &info);
    FParent->Changed();
}

void TMenuItem::Changed() {
    if (FMenu)
        FMenu->Changed();
}

void TMenuItem::EnsureHandle() {
    if (FHandle)
        return;
    FHandle = CreatePopupMenu();
    if (!FHandle)
        throw std::runtime_error("Cannot create a menu");
    ++LiveCounts().Menus;
}

void TMenuItem::DestroyHandle() {
    if (!FHandle)
        return;
    DestroyMenu(FHandle);
    FHandle = nullptr;
    --LiveCounts().Menus;
}

} // namespace vireon
