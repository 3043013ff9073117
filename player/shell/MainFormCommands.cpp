// The main window's commands and its answers to the video frame's events.
#include "shell/TMainForm.h"

#include "shell/ProductInfo.h"
#include "shell/ShellWindows.h"

#include "forms/MessageBoxSeam.h"
#include "util/ShellOpen.h"
#include "util/TFolderDialog.h"

namespace vireon {

void TMainForm::miOpenClick(TObject*) {
    VideoFrame->OpenFiles();
    SetPositionMax();
}

void TMainForm::miOpenDVDFolderClick(TObject*) {
    VideoFrame->OpenFilesFiltered("VIDEO_TS.IFO|VIDEO_TS.IFO");
    SetPositionMax();
}

void TMainForm::miPlayFolderClick(TObject*) {
    TFolderDialog dialog;
    dialog.SetDialogTitle("Play folder");
    dialog.SetPrompt("Select folder with media files");
    // A folder the user chose and nothing happening would look like a player that did not listen.
    if (dialog.Execute() && !VideoFrame->OpenSource(dialog.Folder()))
        ShowMessageBox(Handle(), kNoMediaInFolderMessage, Application().Title(), MB_OK);
}

void TMainForm::DriveItemClick(TObject* Sender) {
    if (auto* item = dynamic_cast<TMenuItem*>(Sender))
        VideoFrame->OpenSource(std::string(1, static_cast<char>(item->Tag())) + ":\\");
}

void TMainForm::miExitClick(TObject*) {
    Close();
}

void TMainForm::miFullScreenClick(TObject* Sender) {
    VideoFrame->miFullScreenClick(Sender);
}

void TMainForm::miPlayClick(TObject*) {
    VideoFrame->PlayPause();
}

void TMainForm::miStopClick(TObject*) {
    VideoFrame->StopPlayback();
}

void TMainForm::miNextClick(TObject*) {
    VideoFrame->FastForward();
}

void TMainForm::miPreviousClick(TObject*) {
    VideoFrame->FastBackward();
}

void TMainForm::miNextCharterClick(TObject*) {
    VideoFrame->NextChapter();
}

void TMainForm::miPrevCharterClick(TObject*) {
    VideoFrame->PrevChapter();
}

void TMainForm::miVolumeMuteClick(TObject*) {
    VideoFrame->ToggleMute();
    FControls.ShowMuted(VideoFrame->Muted());
}

void TMainForm::miVolumeUpClick(TObject*) {
    VideoFrame->VolumeUp();
}

void TMainForm::miVolumeDownClick(TObject*) {
    VideoFrame->VolumeDown();
}

// The main menu's aspect items and the frame's own are one choice.
void TMainForm::miAspectRatioClick(TObject* Sender) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item)
        return;
    const int mode = static_cast<int>(item->Tag());
    VideoFrame->SetAspectMode(mode);
    item->SetChecked(true);
    if (mode < VideoFrame->miAspectRatio->Count())
        VideoFrame->miAspectRatio->Items(mode)->SetChecked(true);
}

void TMainForm::miDVDRootMenuClick(TObject*) {
    VideoFrame->ShowRootMenu();
}

void TMainForm::miEjectClick(TObject*) {
    VideoFrame->EjectDisk();
}

void TMainForm::miColorControlClick(TObject*) {
    CallShellWindow(ShellWindows().ShowColorControl);
}

void TMainForm::miAboutClick(TObject*) {
    CallShellWindow(ShellWindows().ShowAbout);
}

void TMainForm::bnTopmostClick(TObject*) {
    CallShellWindow(ShellWindows().ShowAbout);
}

void TMainForm::miWriteUsClick(TObject*) {
    ShellOpen(std::string("mailto:") + kSupportMailAddress, "", "", SW_SHOWNORMAL);
}

void TMainForm::VideoFrameUpdateLanguages(TObject*) {
    VideoFrame->FillLanguagesMenu(miAudioTracks);
}

void TMainForm::VideoFrameUpdateChapters(TObject*) {
    VideoFrame->FillChaptersMenu(miChapters);
    FControls.ShowCaption(VideoFrame->GetTitleText());
    if (CallShellWindow(ShellWindows().MiniBarExists, false))
        CallShellWindow(ShellWindows().RefreshMiniBarCaptionAndButtons);
}

void TMainForm::VideoFrameUpdateSubtitles(TObject*) {
    VideoFrame->FillSubtitlesMenu(miSubtitles);
}

void TMainForm::VideoFrameFullScreenChanged(TObject*) {
    const bool fullScreen = VideoFrame->VideoWindow->IsFullScreen();
    miFullScreen->SetChecked(fullScreen);
    if (fullScreen)
        return;
    if (CallShellWindow(ShellWindows().MiniBarExists, false))
        CallShellWindow(ShellWindows().HideMiniBar);
    // Back in the window, the cursor stays over the video: the activity watch ends with full screen.
    ActivityTimer->SetEnabled(false);
    VideoFrame->VideoWindow->SetCursor(crDefault);
}

void TMainForm::VideoFrameVolumeChange(TObject*) {
    RefreshVolume();
    if (CallShellWindow(ShellWindows().MiniBarExists, false))
        CallShellWindow(ShellWindows().RefreshMiniBarVolume);
}

void TMainForm::VideoFramePlayingStatusChanged(TObject*) {
    RefreshPlayingStatus();
}

void TMainForm::VideoFrameAspectRatioChanged(TObject*) {
    const int mode = VideoFrame->AspectMode();
    if (mode >= 0 && mode < miAspectRatio->Count())
        miAspectRatio->Items(mode)->SetChecked(true);
}

void TMainForm::RefreshCodecs() {
    VideoFrame->FillCodecsMenu(miCodecs);
}

void TMainForm::RefreshPlayingStatus() {
    FControls.ShowPlaying(VideoFrame->Playing());
    CallShellWindow(ShellWindows().RefreshMiniBarPlayButtons);
    FControls.ShowCaption(VideoFrame->GetTitleText());
    CallShellWindow(ShellWindows().RefreshMiniBarCaptionAndButtons);
    if (FButtons)
        ApplyButtonRule(*FButtons);
}

void TMainForm::ApplyButtonRule(TButtonController& Buttons) {
    if (!VideoFrame->HasMedia()) {
        Buttons.DisableButtons(TButtonController::kAllButtons);
        return;
    }
    Buttons.EnableButtons(TButtonController::kAllButtons);
    if (VideoFrame->IsDVD())
        Buttons.DisableButtons((miAudioTracks->Enabled() ? 0 : TButtonController::kAudioButton) |
                               (miSubtitles->Enabled() ? 0 : TButtonController::kSubtitlesButton));
    else
        Buttons.DisableButtons(TButtonController::kDvdButtons);
}

} // namespace vireon
