// A check box; OnClick runs whenever the check state changes, by the user or by SetChecked.
#pragma once

#include "forms/TWinControl.h"

namespace vireon {

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* AOwner = nullptr);

    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void HandleCreated() override;
    bool HandleNotification(TMessage& Message) override;

private:
    bool FChecked = false;
};

} // namespace vireon
