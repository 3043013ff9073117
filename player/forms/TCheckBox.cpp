#include "forms/TCheckBox.h"

namespace vireon {

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner) {
    FParentColor = true;
    SetBounds(0, 0, 97, 17);
}

void TCheckBox::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.ClassName = "BUTTON";
    Params.OwnClass = false;
    Params.Style |= WS_TABSTOP | BS_CHECKBOX;
}

void TCheckBox::HandleCreated() {
    SendMessageA(Handle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::SetChecked(bool Value) {
    if (FChecked == Value)
        return;
    FChecked = Value;
    if (HandleAllocated())
        SendMessageA(Handle(), BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
    Click();
}

// The box is a plain check box (not automatic), so the state lives here and the window follows it.
bool TCheckBox::HandleNotification(TMessage& Message) {
    if (ColorStatic(Message))
        return true;
    if (Message.Msg != WM_COMMAND || HIWORD(Message.WParam) != BN_CLICKED)
        return false;
    SetChecked(!FChecked);
    return true;
}

} // namespace vireon
