// A stay-on-top window that rolls up from the bottom edge of the screen and down again, 4 pixels
// per tick of its 3 ms timer, skinned with the skin form named like the window. Base of the mini
// control bar.
#pragma once

#include "forms/TForm.h"
#include "forms/TTimer.h"
#include "skin/SkinInterfaces.h"

#include <string>

namespace vireon {

class TCustomRollUpForm : public TForm {
public:
    static constexpr int kDesignWidth = 287;
    static constexpr int kDesignHeight = 177;
    static constexpr int kStep = 4;
    static constexpr UINT kTickInterval = 3;

    // Skins the window with Skin's form FormName; without a skin the window stays plain.
    TCustomRollUpForm(TComponent* AOwner, skin::ISkin* Skin, const std::string& FormName);

    TTimer* Timer = nullptr;

    // Shows the window below the screen and moves it up until it stands on the screen's bottom edge.
    void RollUp();
    // Moves the window down until it is below the screen, then hides it.
    void RollDown();
    // Hides the window at once, without the animation.
    void HideAtOnce();

    bool Finished() const { return FFinished; }
    bool RollingUp() const { return FRollingUp; }

    void TimerTimer(TObject* Sender);

    // The screen the window rolls on, in pixels.
    virtual int ScreenWidth() const;
    virtual int ScreenHeight() const;

protected:
    void RollUpFormShow(TObject* Sender);
    void MakeTopMost();

    // No animation is running.
    bool FFinished = false;
    // Direction of the running or last animation; true is upwards.
    bool FRollingUp = false;
};

} // namespace vireon
