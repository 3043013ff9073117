#include "shell/TMiniControlForm.h"

#include "shell/HiddenButtons.h"
#include "shell/TMainForm.h"

#include "common/DirectShowUuids.h"
#include "forms/TApplication.h"

namespace vireon {

TMiniControlForm* MiniControlForm = nullptr;

TMiniControlForm::TMiniControlForm(TComponent* AOwner, TMainForm* MainForm)
    : TCustomRollUpForm(AOwner, MainForm->Skin(), "MiniControlForm"), FMainForm(MainForm) {
    VideoTimer = new TTimer(this, {.Name = "VideoTimer",
                                   .Interval = kVideoInterval,
                                   .Enabled = true,
                                   .OnTimer = [this](TObject* Sender) { VideoTimerTimer(Sender); }});
    MinimizeTimer = new TTimer(this, {.Name = "MinimizeTimer",
                                      .Interval = kMinimizeInterval,
                                      .Enabled = false,
                                      .OnTimer = [this](TObject* Sender) { MinimizeTimerTimer(Sender); }});
    CreateHiddenButtons();
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) {
        FormMouseMove(Sender, Shift, X, Y);
    };
    FormCreate();
}

TMiniControlForm::~TMiniControlForm() {
    if (MiniControlForm == this)
        MiniControlForm = nullptr;
}

void TMiniControlForm::BeforeDestruction() {
    FGraphRegistration = {};
    FButtons.reset();
    TCustomRollUpForm::BeforeDestruction();
}

void TMiniControlForm::CreateHiddenButtons() {
    static const THiddenButton<TMiniControlForm> buttons[] = {
        {"bnPlay", "Play", &TMiniControlForm::bnPlayClick},
        {"bnPause", "Pause", &TMiniControlForm::bnPlayClick},
        {"bnStop", "Stop", &TMiniControlForm::bnStopClick},
        {"bnNext", "Next", &TMiniControlForm::bnNextClick},
        {"bnPrev", "Prev", &TMiniControlForm::bnPrevClick},
        {"bnMenu", "Menu", &TMiniControlForm::bnMenuClick},
        {"bnEject", "Eject", &TMiniControlForm::bnEjectClick},
        {"bnMute", "Mute", &TMiniControlForm::bnMuteClick},
        {"bnMuteOff", "MuteOff", &TMiniControlForm::bnMuteClick},
        {"bnColors", "Colors", &TMiniControlForm::bnColorsClick},
        {"bnTopmost", "TopMost", &TMiniControlForm::bnTopmostClick},
        {"bnNextFrame", "Next Frame", &TMiniControlForm::bnNextFrameClick},
        {"bnClose", "Close", &TMiniControlForm::bnCloseClick},
        {"bnFullScreen", "Full Screen", &TMiniControlForm::bnCloseClick},
        {"bnMaximize", "Maximize", &TMiniControlForm::bnCloseClick},
        {"bnMinimize", "Minimize", &TMiniControlForm::bnMinimizeClick},
        {"bnAudio", "Audio", &TMiniControlForm::bnAudioClick},
        {"bnSubtitles", "Subtitles", &TMiniControlForm::bnSubtitlesClick},
    };
    vireon::CreateHiddenButtons(this, buttons);
}

void TMiniControlForm::FormCreate() {
    FAutoShow = true;
    SetBounds(0, ScreenHeight(), ScreenWidth(), Height());
    TVideoFrame* frame = FMainForm->VideoFrame;
    SetPopupMenu(frame->Popup);
    FSeeking.Reset();
    FSkinForm = FMainForm->Skin()->GetSkinForm(Handle());
    FControls.Bind(FSkinForm.Get(), L"_m");
    FButtons = std::make_unique<TButtonController>(FSkinForm.Get(), L"_m");
    FGraphRegistration = frame->FilterGraph->Join(nullptr, this);
    FControls.ShowMuted(frame->Muted());
    RefreshVolume();
    // A bar made while a film plays shows pause at once, not only after the next change.
    RefreshPlayButtons();
    RefreshCaptionAndButtons();
}

void TMiniControlForm::FormShow(TObject* Sender) {
    RollUpFormShow(Sender);
    SetPositionMax();
}

void TMiniControlForm::FormMouseMove(TObject*, TShiftState, int, int) {
    FMainForm->RestartActivity();
}

void TMiniControlForm::UpdatePosition() {
    TVideoFrame* frame = FMainForm->VideoFrame;
    if (FControls.UpdatePosition(frame->GetPosition(), frame->GetDuration()))
        FControls.ShowElapsed(frame->GetTimeText());
}

void TMiniControlForm::SetPositionMax() {
    FControls.SetPositionMax();
}

void TMiniControlForm::RefreshVolume() {
    FControls.RefreshVolume(FMainForm->VideoFrame->Volume());
    FControls.ShowMuted(FMainForm->VideoFrame->Muted());
}

void TMiniControlForm::RefreshPlayButtons() {
    FControls.ShowPlaying(FMainForm->VideoFrame->Playing());
}

void TMiniControlForm::RefreshCaptionAndButtons() {
    FControls.ShowCaption(FMainForm->VideoFrame->GetTitleText());
    if (FButtons)
        FMainForm->ApplyButtonRule(*FButtons);
}

void TMiniControlForm::VideoTimerTimer(TObject*) {
    UpdatePosition();
}

void TMiniControlForm::MinimizeTimerTimer(TObject*) {
    MinimizeTimer->SetEnabled(false);
    FAutoShow = true;
}

void TMiniControlForm::bnPlayClick(TObject*) {
    FMainForm->VideoFrame->PlayPause();
}

void TMiniControlForm::bnStopClick(TObject* Sender) {
    FMainForm->miStopClick(Sender);
}

void TMiniControlForm::bnNextClick(TObject* Sender) {
    FMainForm->miNextClick(Sender);
}

void TMiniControlForm::bnPrevClick(TObject* Sender) {
    FMainForm->miPreviousClick(Sender);
}

void TMiniControlForm::bnMenuClick(TObject* Sender) {
    FMainForm->miDVDRootMenuClick(Sender);
}

void TMiniControlForm::bnEjectClick(TObject* Sender) {
    FMainForm->miEjectClick(Sender);
}

void TMiniControlForm::bnMuteClick(TObject* Sender) {
    FMainForm->miVolumeMuteClick(Sender);
    FControls.ShowMuted(FMainForm->VideoFrame->Muted());
}

void TMiniControlForm::bnColorsClick(TObject* Sender) {
    FMainForm->miColorControlClick(Sender);
}

void TMiniControlForm::bnTopmostClick(TObject* Sender) {
    FMainForm->bnTopmostClick(Sender);
}

// One step of the bar's own position slider, sought like the main window's slider.
void TMiniControlForm::bnNextFrameClick(TObject*) {
    skin::ISkinScrollBar* bar = FControls.FPositionBar.Get();
    if (!bar)
        return;
    const int position = bar->GetPos() + bar->GetStep();
    bar->SetPos(position);
    FMainForm->SkinScroll(FMainForm->Skin(), bar, position);
}

void TMiniControlForm::bnCloseClick(TObject* Sender) {
    FMainForm->VideoFrame->miFullScreenClick(Sender);
}

void TMiniControlForm::bnMinimizeClick(TObject*) {
    FAutoShow = false;
    MinimizeTimer->SetEnabled(true);
    RollDown();
}

// The main window's audio and subtitle menus, opened at the bar's own buttons.
void TMiniControlForm::ShowStreamPopup(TMenuItem* Item, const wchar_t* Anchor) {
    if (!Item->Enabled() || !FSkinForm)
        return;
    Microsoft::WRL::ComPtr<skin::ISkinVisual> button;
    if (auto found = FSkinForm->FindObject(Anchor); !found || FAILED(found.As(&button)))
        return;
    const RECT rect = button->GetRect();
    FMainForm->ShowSkinPopup(Item, ClientToScreen({rect.left - 10, rect.top}));
}

void TMiniControlForm::bnAudioClick(TObject*) {
    ShowStreamPopup(FMainForm->miAudioTracks, L"bnAudio_m");
}

void TMiniControlForm::bnSubtitlesClick(TObject*) {
    ShowStreamPopup(FMainForm->miSubtitles, L"bnSubtitles_m");
}

void TMiniControlForm::HandleControlEvent(TGraphControlEvent Event, int Param) {
    switch (Event) {
    case gcPlay:
        VideoTimer->SetEnabled(true);
        break;
    case gcPause:
    case gcStop:
        VideoTimer->SetEnabled(false);
        break;
    case gcActive:
        if (Param == 1) {
            SetPositionMax();
            FMainForm->VideoFrame->FilterGraph->QueryInterface(FSeeking);
        } else {
            FSeeking.Reset();
        }
        break;
    default:
        break;
    }
}

// As the main window: a new reference clock takes playback back to the beginning.
void TMiniControlForm::HandleGraphEvent(long Code, LONG_PTR, LONG_PTR) {
    RewindOnClockChange(FSeeking.Get(), *FMainForm->VideoFrame->FilterGraph, Code);
}

} // namespace vireon
