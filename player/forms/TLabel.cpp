#include "forms/TLabel.h"

namespace vireon {

TLabel::TLabel(TComponent* AOwner) : TWinControl(AOwner) {
    FParentColor = true;
    SetBounds(0, 0, 65, 13);
}

TLabel::TLabel(TComponent* AOwner, const CreateArgs& Args) : TLabel(AOwner) {
    FWordWrap = Args.WordWrap;
    if (Args.Bold)
        Font().SetStyle(fsBold);
    Setup(Args.Name, Args.Caption, Args.Bounds, Args.Parent);
}

void TLabel::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.ClassName = "STATIC";
    Params.OwnClass = false;
    Params.Style |= FWordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
}

void TLabel::SetWordWrap(bool Value) {
    if (FWordWrap == Value)
        return;
    FWordWrap = Value;
    if (HandleAllocated()) {
        LONG style = GetWindowLongA(Handle(), GWL_STYLE) & ~(SS_LEFT | SS_LEFTNOWORDWRAP);
        SetWindowLongA(Handle(), GWL_STYLE, style | (Value ? SS_LEFT : SS_LEFTNOWORDWRAP));
        Invalidate();
    }
    AdjustSize();
}

void TLabel::SetAutoSize(bool Value) {
    FAutoSize = Value;
    AdjustSize();
}

void TLabel::SetCaption(const std::string& Value) {
    TWinControl::SetCaption(Value);
    AdjustSize();
}

void TLabel::FontChanged() {
    TWinControl::FontChanged();
    AdjustSize();
}

bool TLabel::HandleNotification(TMessage& Message) {
    return ColorStatic(Message);
}

void TLabel::AdjustSize() {
    if (!FAutoSize)
        return;
    WindowDC screen(nullptr);
    SelectedObject font(screen.get(), Font().Handle());
    RECT text{0, 0, FWordWrap ? Width() : 0, 0};
    UINT format = DT_CALCRECT | (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextA(screen.get(), FCaption.empty() ? " " : FCaption.c_str(), -1, &text, format);
    SetBounds(Left(), Top(), FWordWrap ? Width() : text.right, text.bottom);
}

} // namespace vireon
