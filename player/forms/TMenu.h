// Menus: a root item whose handle is a menu bar (TMainMenu) or a popup menu (TPopupMenu).
#pragma once

#include "forms/TMenuItem.h"

namespace vireon {

class TMenu : public TComponent {
public:
    ~TMenu() override;

    TMenuItem* Items() const { return FItems; }
    HMENU Handle() const { return FItems->Handle(); }

    // The item of this menu with that WM_COMMAND identifier, nullptr when none.
    TMenuItem* FindItem(UINT Command) const { return FItems->FindCommand(Command); }
    // Clicks the enabled item with that identifier; false when this menu has no such item.
    bool DispatchCommand(UINT Command);
    // Clicks the enabled item with that shortcut (hidden items count: a shortcut may live on an
    // item that is never shown); false when none.
    bool IsShortCut(TShortCut Value);

protected:
    TMenu(TComponent* AOwner, bool MenuBar);
    friend class TMenuItem;
    // An entry of the top level changed.
    virtual void Changed() {}

private:
    TMenuItem* FItems;
};

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* AOwner = nullptr) : TMenu(AOwner, true) {}
    ~TMainMenu() override;

    // The window showing this menu bar (set by the form).
    HWND Window() const { return FWindow; }
    void SetWindow(HWND Value);

protected:
    void Changed() override;

private:
    HWND FWindow = nullptr;
};

} // namespace vireon
