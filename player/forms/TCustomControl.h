// Base of controls that draw themselves: an own window class, double-buffered painting on the
// control's colour, the mouse captured while a button is held, and a click on release inside.
#pragma once

#include "forms/TWinControl.h"

namespace vireon {

using TPaintEvent = TEvent<TObject* /*Sender*/, HDC>;

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner = nullptr);

    // Paint into a memory bitmap first, so the control never flickers.
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }

    // Runs after the control has painted itself.
    TPaintEvent OnPaint;

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    // Draws the control; the background is already filled with its colour.
    virtual void Paint(HDC /*DC*/, const RECT& /*Client*/) {}
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void PaintWindow();
    void PaintTo(HDC DC, const RECT& Client);

    bool FDoubleBuffered = true;
    bool FPressed = false;
};

} // namespace vireon
