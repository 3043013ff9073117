// A flat button drawn by the framework. Hidden ones carry only a click handler (the skinned windows
// keep one per command, found by name).
#pragma once

#include "forms/TCustomControl.h"

namespace vireon {

class TSpeedButton : public TCustomControl {
public:
    explicit TSpeedButton(TComponent* AOwner = nullptr);

    struct CreateArgs {
        TWinControl* Parent = nullptr;
        std::string Name = {};
        std::string Caption = {};
        RECT Bounds = {0, 0, 23, 22};
        bool Visible = true;
        TNotifyEvent OnClick = {};
    };
    TSpeedButton(TComponent* AOwner, const CreateArgs& Args);

    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);

protected:
    void Paint(HDC DC, const RECT& Client) override;
    void WndProc(TMessage& Message) override;

private:
    bool FFlat = true;
    bool FHot = false;
};

} // namespace vireon
