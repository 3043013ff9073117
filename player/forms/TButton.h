// A push button; with a modal result it ends its form's ShowModal, and the default and cancel
// buttons answer Enter and Escape.
#pragma once

#include "forms/TForm.h"

namespace vireon {

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* AOwner = nullptr);

    struct CreateArgs {
        TWinControl* Parent = nullptr;
        std::string Name = {};
        std::string Caption = {};
        RECT Bounds = {0, 0, 75, 25};
        TModalResult ModalResult = mrNone;
        bool Default = false;
        bool Cancel = false;
        TNotifyEvent OnClick = {};
    };
    TButton(TComponent* AOwner, const CreateArgs& Args);

    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }

    // Sets the form's modal result (when the button has one), then runs OnClick.
    void Click() override;

protected:
    void CreateParams(TCreateParams& Params) override;
    bool HandleNotification(TMessage& Message) override;

private:
    TModalResult FModalResult = mrNone;
    bool FDefault = false;
    bool FCancel = false;
};

} // namespace vireon
