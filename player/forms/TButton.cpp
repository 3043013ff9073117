#include "forms/TButton.h"

namespace vireon {

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(0, 0, 75, 25);
}

TButton::TButton(TComponent* AOwner, const CreateArgs& Args) : TButton(AOwner) {
    FModalResult = Args.ModalResult;
    FDefault = Args.Default;
    FCancel = Args.Cancel;
    OnClick = Args.OnClick;
    Setup(Args.Name, Args.Caption, Args.Bounds, Args.Parent);
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
