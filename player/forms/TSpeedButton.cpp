#include "forms/TSpeedButton.h"

namespace vireon {

TSpeedButton::TSpeedButton(TComponent* AOwner) : TCustomControl(AOwner) {
    FParentColor = true;
    SetBounds(0, 0, 23, 22);
}

TSpeedButton::TSpeedButton(TComponent* AOwner, const CreateArgs& Args) : TSpeedButton(AOwner) {
    FVisible = Args.Visible;
    OnClick = Args.OnClick;
    Setup(Args.Name, Args.Caption, Args.Bounds, Args.Parent);
}

void TSpeedButton::SetFlat(bool Value) {
    FFlat = Value;
    Invalidate();
}

void TSpeedButton::WndProc(TMessage& Message) {
    if (Message.Msg == WM_MOUSEMOVE && !FHot) {
        FHot = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
        TrackMouseEvent(&track);
        Invalidate();
    } else if (Message.Msg == WM_MOUSELEAVE) {
        FHot = false;
        Invalidate();
    } else if (Message.Msg == WM_SETTEXT || Message.Msg == WM_ENABLE) {
        Invalidate();
    }
    TCustomControl::WndProc(Message);
}

void TSpeedButton::Paint(HDC DC, const RECT& Client) {
    RECT face = Client;
    bool pressed = GetCapture() == Handle() && FHot;
    if (!FFlat || FHot)
        DrawEdge(DC, &face, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    if (pressed)
        OffsetRect(&face, 1, 1);
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, Enabled() ? ColorToRGB(Font().Color()) : GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(DC, FCaption.c_str(), -1, &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

} // namespace vireon
