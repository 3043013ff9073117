// A text label drawn on its parent's colour; bold through its font, optionally word-wrapped.
#pragma once

#include "forms/TWinControl.h"

namespace vireon {

class TLabel : public TWinControl {
public:
    explicit TLabel(TComponent* AOwner = nullptr);

    struct CreateArgs {
        TWinControl* Parent = nullptr;
        std::string Name = {};
        std::string Caption = {};
        RECT Bounds = {0, 0, 65, 13};
        bool Bold = false;
        bool WordWrap = false;
    };
    TLabel(TComponent* AOwner, const CreateArgs& Args);

    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    // Sizes the label to its text: the whole size on one line, or the height at the given width
    // when the text wraps.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    void SetCaption(const std::string& Value) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    bool HandleNotification(TMessage& Message) override;
    void FontChanged() override;

private:
    void AdjustSize();

    bool FWordWrap = false;
    bool FAutoSize = false;
};

} // namespace vireon
