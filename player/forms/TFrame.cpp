#include "forms/TFrame.h"

namespace vireon {

TFrame::TFrame(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(0, 0, 320, 240);
}

void TFrame::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.ClassName = "TFrame";
    Params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TFrame::Post(UINT Msg, WPARAM WParam, LPARAM LParam) {
    ::PostMessageA(Handle(), Msg, WParam, LParam);
}

} // namespace vireon
