#include "forms/TButton.h"

namespace vireon {

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(0, 0, 75, 25);
}

TButton::TButton(TComponent* AOwner, const CreateArgs& Args) : TButton(AOwner) {
    SetName(Args.Name);
    FCaption = Args.Caption;
    FModalResult = Args.ModalResult;
    FDefault = Args.Default;
    FCancel = Args.Cancel;
    OnClick = Args.OnClick;
    SetBounds(Args.Bounds.left, Args.Bounds.top, Args.Bounds.right - Args.Bounds.left,
              Args.Bounds.bottom - Args.Bounds.top);
    SetParent(Args.Parent);
}

void TButton::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.ClassName = "BUTTON";
    Params.OwnClass = false;
    Params.Style |= WS_TABSTOP | (FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::SetDefault(bool Value) {
    FDefault = Value;
    if (HandleAllocated())
        SendMessageA(Handle(), BM_SETSTYLE, Value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
    if (FModalResult != mrNone)
        if (TForm* form = GetParentForm(this))
            form->SetModalResult(FModalResult);
    TWinControl::Click();
}

bool TButton::HandleNotification(TMessage& Message) {
    if (Message.Msg != WM_COMMAND || HIWORD(Message.WParam) != BN_CLICKED)
        return false;
    Click();
    return true;
}

} // namespace vireon
