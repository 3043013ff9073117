#include "shell/TCustomRollUpForm.h"

#include "common/TextConversion.h"
#include "forms/TScreen.h"

#include <algorithm>

namespace vireon {

TCustomRollUpForm::TCustomRollUpForm(TComponent* AOwner, skin::ISkin* Skin, const std::string& FormName)
    : TForm(AOwner) {
    SetName(FormName);
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    SetBounds(0, 0, kDesignWidth, kDesignHeight);
    Timer = new TTimer(this, {.Name = "Timer",
                              .Interval = kTickInterval,
                              .Enabled = false,
                              .OnTimer = [this](TObject* Sender) { TimerTimer(Sender); }});
    OnShow = [this](TObject* Sender) { RollUpFormShow(Sender); };
    if (Skin)
        Skin->ApplySkinForm(Handle(), WideFromAnsi(FormName));
    FFinished = false;
}

int TCustomRollUpForm::ScreenWidth() const {
    return Screen().Width();
}

int TCustomRollUpForm::ScreenHeight() const {
    return Screen().Height();
}

void TCustomRollUpForm::RollUpFormShow(TObject*) {
    MakeTopMost();
}

void TCustomRollUpForm::MakeTopMost() {
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomRollUpForm::RollUp() {
    if (FFinished && Visible())
        return;
    FRollingUp = true;
    FFinished = false;
    if (!Visible()) {
        SetTop(ScreenHeight());
        Show();
    } else {
        // A roll-down took the stay-on-top state away; a reversal gives it back.
        MakeTopMost();
    }
    Timer->SetEnabled(true);
}

void TCustomRollUpForm::RollDown() {
    if (FFinished && !Visible())
        return;
    FFinished = false;
    FRollingUp = false;
    Timer->SetEnabled(true);
}

void TCustomRollUpForm::HideAtOnce() {
    Timer->SetEnabled(false);
    FRollingUp = false;
    FFinished = true;
    Hide();
}

void TCustomRollUpForm::TimerTimer(TObject*) {
    const int screenHeight = ScreenHeight();
    if (FRollingUp) {
        // The last step stops flush with the screen's bottom edge rather than overshooting it.
        SetTop(std::max(Top() - kStep, screenHeight - Height()));
        if (screenHeight - Top() >= Height()) {
            Timer->SetEnabled(false);
            FFinished = true;
        }
        return;
    }
    SetTop(Top() + kStep);
    SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (Top() >= screenHeight) {
        Timer->SetEnabled(false);
        FFinished = true;
        Hide();
    }
}

} // namespace vireon
