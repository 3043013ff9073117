#include "forms/TMenu.h"

namespace vireon {

TMenu::TMenu(TComponent* AOwner, bool MenuBar)
    : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr)) {
    FItems->MakeRoot(this, MenuBar);
}

bool TMenu::DispatchCommand(UINT Command) {
    TMenuItem* item = FindItem(Command);
    if (!item || item == FItems.get())
        return false;
    if (item->Enabled() && item->Count() == 0)
        item->Click();
    return true;
}

bool TMenu::IsShortCut(TShortCut Value) {
    TMenuItem* item = FItems->FindShortCut(Value);
    if (!item || !item->Enabled())
        return false;
    item->Click();
    return true;
}

TMainMenu::~TMainMenu() {
    SetWindow(nullptr);
}

void TMainMenu::SetWindow(HWND Value) {
    if (FWindow == Value)
        return;
    // A window destroys the menu bar it holds, so the bar is taken off before the window goes.
    if (FWindow && IsWindow(FWindow) && GetMenu(FWindow) == Handle())
        SetMenu(FWindow, nullptr);
    FWindow = Value;
    // A form made with this menu holds it already; setting it again would lay the frame out twice.
    if (FWindow && GetMenu(FWindow) != Handle())
        SetMenu(FWindow, Handle());
}

void TMainMenu::Changed() {
    if (FWindow)
        DrawMenuBar(FWindow);
}

} // namespace vireon
