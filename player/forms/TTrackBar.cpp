#include "forms/TTrackBar.h"

#include <commctrl.h>

#include <algorithm>

namespace vireon {

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner) {
    FParentColor = true;
    SetBounds(0, 0, 150, 45);
}

void TTrackBar::CreateParams(TCreateParams& Params) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    TWinControl::CreateParams(Params);
    Params.ClassName = TRACKBAR_CLASSA;
    Params.OwnClass = false;
    Params.Style |= WS_TABSTOP | TBS_AUTOTICKS | TBS_FIXEDLENGTH;
    Params.Style |= FOrientation == trHorizontal ? TBS_HORZ : TBS_VERT;
    if (FTickMarks == tmBoth)
        Params.Style |= TBS_BOTH;
    else if (FTickMarks == tmTopLeft)
        Params.Style |= TBS_TOP;
    else
        Params.Style |= TBS_BOTTOM;
}

void TTrackBar::HandleCreated() {
    HWND window = Handle();
    SendMessageA(window, TBM_SETRANGEMIN, FALSE, FMin);
    SendMessageA(window, TBM_SETRANGEMAX, FALSE, FMax);
    SendMessageA(window, TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
    SendMessageA(window, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(FThumbLength), 0);
    SendMessageA(window, TBM_SETPOS, TRUE, FPosition);
}

void TTrackBar::SetRange(int AMin, int AMax) {
    FMin = AMin;
    FMax = std::max(AMin, AMax);
    if (HandleAllocated()) {
        SendMessageA(Handle(), TBM_SETRANGEMIN, FALSE, FMin);
        SendMessageA(Handle(), TBM_SETRANGEMAX, TRUE, FMax);
    }
    SetPosition(FPosition);
}

void TTrackBar::SetPosition(int Value) {
    Value = std::clamp(Value, FMin, FMax);
    if (HandleAllocated())
        SendMessageA(Handle(), TBM_SETPOS, TRUE, Value);
    if (FPosition == Value)
        return;
    FPosition = Value;
    CallEvent(OnChange, this);
}

void TTrackBar::SetFrequency(int Value) {
    FFrequency = Value;
    if (HandleAllocated())
        SendMessageA(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(Value), 0);
}

void TTrackBar::SetThumbLength(int Value) {
    FThumbLength = Value;
    if (HandleAllocated())
        SendMessageA(Handle(), TBM_SETTHUMBLENGTH, static_cast<WPARAM>(Value), 0);
}

void TTrackBar::SetTickMarks(TTickMark Value) {
    if (FTickMarks != Value) {
        FTickMarks = Value;
        RecreateWnd();
    }
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value) {
    if (FOrientation != Value) {
        FOrientation = Value;
        RecreateWnd();
    }
}

bool TTrackBar::HandleNotification(TMessage& Message) {
    if (ColorStatic(Message))
        return true;
    if (Message.Msg != WM_HSCROLL && Message.Msg != WM_VSCROLL)
        return false;
    int position = static_cast<int>(SendMessageA(Handle(), TBM_GETPOS, 0, 0));
    if (position != FPosition) {
        FPosition = position;
        CallEvent(OnChange, this);
    }
    return true;
}

} // namespace vireon
