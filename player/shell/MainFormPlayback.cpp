// The main window's timers and sliders, its side of the graph's events, and the mouse activity
// that shows the mini bar over full-screen video.
#include "shell/TMainForm.h"

#include "shell/ShellWindows.h"

#include "common/DirectShowUuids.h"
#include "common/TextConversion.h"

#include <evcode.h>

namespace vireon {

namespace {

// Within its first second, playback counts as at its beginning (100-ns units).
constexpr LONGLONG kAtTheBeginning = 10000000;

} // namespace

void TMainForm::UpdatePosition() {
    if (!FControls.FPositionBar)
        return;
    FControls.UpdatePosition(VideoFrame->GetPosition(), VideoFrame->GetDuration());
}

void TMainForm::SetPositionMax() {
    FControls.SetPositionMax();
}

void TMainForm::RefreshVolume() {
    FControls.RefreshVolume(VideoFrame->Volume());
}

void TMainForm::SkinScroll(skin::ISkin*, skin::ISkinObject* Source, int NewPos) {
    if (!Source)
        return;
    const std::string name = AnsiFromWide(Source->GetName());
    if (SameText(name, "sbPosition") || SameText(name, "sbPosition_m")) {
        VideoFrame->SetPosition(SliderToPosition(NewPos, VideoFrame->GetDuration()));
        // The line follows the thumb now, also while paused, not only at the next tick.
        if (SameText(name, "sbPosition"))
            FControls.ShowPositionLine(NewPos);
    } else if (SameText(name, "sbVolume") || SameText(name, "sbVolume_m")) {
        FDraggedSlider.Reset();
        VideoFrame->SetVolume(kVolumeMax - std::clamp(NewPos, 0, kVolumeMax));
    }
}

void TMainForm::bnNextFrameClick(TObject*) {
    skin::ISkinScrollBar* bar = FControls.FPositionBar.Get();
    if (!bar)
        return;
    const int position = bar->GetPos() + bar->GetStep();
    bar->SetPos(position);
    SkinScroll(FSkin.Get(), bar, position);
}

void TMainForm::TimerTimer(TObject*) {
    UpdatePosition();
    VideoFrame->WatchProgress(GetTickCount());
}

void TMainForm::ElapsedTimerTimer(TObject*) {
    FControls.ShowElapsed(VideoFrame->GetTimeText());
}

void TMainForm::HandleControlEvent(TGraphControlEvent Event, int Param) {
    switch (Event) {
    case gcPlay:
        Timer->SetEnabled(true);
        break;
    case gcPause:
    case gcStop:
        Timer->SetEnabled(false);
        break;
    case gcFileRendered:
    case gcDvdRendered:
        RefreshCodecs();
        break;
    case gcActive:
        if (Param == 1) {
            SetPositionMax();
            VideoFrame->FilterGraph->QueryInterface(FSeeking);
        } else {
            FSeeking.Reset();
        }
        break;
    default:
        break;
    }
}

// A new reference clock takes playback back to the beginning. Where playback is at the beginning
// already (the clock is set at the first run) there is nothing to do.
void TMainForm::HandleGraphEvent(long Code, LONG_PTR, LONG_PTR) {
    RewindOnClockChange(FSeeking.Get(), *VideoFrame->FilterGraph, Code);
}

void RewindOnClockChange(IMediaSeeking* Seeking, TFilterGraph& Graph, long Code) {
    if (Code != EC_CLOCK_CHANGED || !Seeking)
        return;
    LONGLONG current = 0;
    if (SUCCEEDED(Seeking->GetCurrentPosition(&current)) && current < kAtTheBeginning)
        return;
    Graph.SeekTo(0);
}

void TMainForm::VideoFrameVideoWindowMouseMove(TObject* Sender, TShiftState Shift, int X, int Y) {
    VideoFrame->VideoWindowMouseMove(Sender, Shift, X, Y);
    if (!VideoFrame->VideoWindow->IsFullScreen() || (X == FLastMouse.x && Y == FLastMouse.y))
        return;
    FLastMouse = {X, Y};
    if (!CallShellWindow(ShellWindows().MiniBarExists, false))
        CallShellWindow(ShellWindows().CreateMiniBar);
    if (CallShellWindow(ShellWindows().MiniBarAutoShow, false))
        CallShellWindow(ShellWindows().RollUpMiniBar);
    RestartActivity();
    VideoFrame->VideoWindow->SetCursor(crDefault);
}

void TMainForm::RestartActivity() {
    ActivityTimer->SetEnabled(false);
    if (VideoFrame->VideoWindow->IsFullScreen())
        ActivityTimer->SetEnabled(true);
}

void TMainForm::ActivityTimerTimer(TObject*) {
    if (CallShellWindow(ShellWindows().MiniBarExists, false))
        CallShellWindow(ShellWindows().RollDownMiniBar);
    VideoFrame->VideoWindow->SetCursor(crNone);
}

} // namespace vireon
