#include "forms/TPopupMenu.h"

#include "forms/TApplication.h"

namespace vireon {

void TPopupMenu::Popup(int X, int Y, HWND Owner) {
    CallEvent(OnPopup, this);
    if (!Owner)
        Owner = GetActiveWindow();
    if (!Owner)
        Owner = GetForegroundWindow();
    // The choice comes back as the result rather than as a WM_COMMAND to some window.
    UINT command = static_cast<UINT>(TrackPopupMenu(
        Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, X, Y, 0, Owner, nullptr));
    if (command != 0)
        DispatchCommand(command);
}

} // namespace vireon
