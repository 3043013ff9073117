// The control bar over full-screen video: as wide as the screen, it rolls up from the bottom edge
// when the mouse moves over the video and down after three seconds of rest. Drawn by the skin form
// "MiniControlForm" (the main window's objects with the suffix "_m"); its commands are the main
// window's.
#pragma once

#include "shell/TButtonController.h"
#include "shell/TCustomRollUpForm.h"
#include "shell/TSkinControls.h"

#include "engine/GraphInterfaces.h"
#include "engine/TGraphRegistration.h"

#include <memory>

namespace vireon {

class TMainForm;
class TMenuItem;

class TMiniControlForm : public TCustomRollUpForm, public IGraphEventListener {
public:
    static constexpr UINT kVideoInterval = 500;
    static constexpr UINT kMinimizeInterval = 2000;

    TMiniControlForm(TComponent* AOwner, TMainForm* MainForm);
    ~TMiniControlForm() override;

    TTimer* VideoTimer = nullptr;
    TTimer* MinimizeTimer = nullptr;

    // Mouse movement over the full-screen video may roll the bar up.
    bool AutoShow() const { return FAutoShow; }
    const TSkinControls& SkinControls() const { return FControls; }
    TButtonController* Buttons() const { return FButtons.get(); }
    IMediaSeeking* Seeking() const { return FSeeking.Get(); }

    void FormCreate();
    void FormShow(TObject* Sender);
    void FormMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void UpdatePosition();
    void SetPositionMax();
    void RefreshVolume();
    void RefreshPlayButtons();
    void RefreshCaptionAndButtons();
    void VideoTimerTimer(TObject* Sender);
    void MinimizeTimerTimer(TObject* Sender);

    // The hidden buttons' commands.
    void bnPlayClick(TObject* Sender);
    void bnStopClick(TObject* Sender);
    void bnNextClick(TObject* Sender);
    void bnPrevClick(TObject* Sender);
    void bnMenuClick(TObject* Sender);
    void bnEjectClick(TObject* Sender);
    void bnMuteClick(TObject* Sender);
    void bnColorsClick(TObject* Sender);
    void bnTopmostClick(TObject* Sender);
    void bnNextFrameClick(TObject* Sender);
    void bnCloseClick(TObject* Sender);
    void bnMinimizeClick(TObject* Sender);
    void bnAudioClick(TObject* Sender);
    void bnSubtitlesClick(TObject* Sender);

    void HandleGraphEvent(long Code, LONG_PTR Param1, LONG_PTR Param2) override;
    void HandleControlEvent(TGraphControlEvent Event, int Param) override;

protected:
    void BeforeDestruction() override;

private:
    void CreateHiddenButtons();
    void ShowStreamPopup(TMenuItem* Item, const wchar_t* Anchor);

    TMainForm* FMainForm;
    Microsoft::WRL::ComPtr<skin::ISkinForm> FSkinForm;
    TSkinControls FControls;
    std::unique_ptr<TButtonController> FButtons;
    Microsoft::WRL::ComPtr<IMediaSeeking> FSeeking;
    TGraphRegistration FGraphRegistration;
    bool FAutoShow = false;
};

// The program's mini bar, nil until the first mouse movement over the full-screen video.
extern TMiniControlForm* MiniControlForm;

} // namespace vireon
