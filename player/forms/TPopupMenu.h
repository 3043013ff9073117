// A popup menu: shown at a screen position; its choice runs the chosen item's click.
#pragma once

#include "forms/TMenu.h"

namespace vireon {

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner = nullptr) : TMenu(AOwner, false) {}

    // Shown by a right click on a control that has this menu.
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    // The component whose context menu this was the last time it was shown.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }

    TNotifyEvent OnPopup;

    // Tracks the menu at screen position X, Y until it closes, then clicks the chosen item. Owner is
    // the window that owns the menu while it tracks (the active window when null).
    virtual void Popup(int X, int Y, HWND Owner = nullptr);

private:
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
};

} // namespace vireon
