// Mouse input on the video (DVD menu buttons, click to play or pause), full screen, the aspect
// modes with the placement of the picture, and the eject command.
#include "playback/TVideoFrame.h"

#include "common/DirectShowUuids.h"
#include "util/xFileUtil.h"

#include <algorithm>

namespace vireon {

using Microsoft::WRL::ComPtr;

namespace {

BOOL CALLBACK MakeNormal(HWND Window, LPARAM) {
    if (GetWindowLongA(Window, GWL_EXSTYLE) & WS_EX_TOPMOST)
        SetWindowPos(Window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

// Every top-most window of this thread becomes a normal one, for good.
void MakeTopMostsNormal() {
    EnumThreadWindows(GetCurrentThreadId(), MakeNormal, 0);
}

} // namespace

TVideoPlacement ComputeVideoPlacement(int AspectMode, const RECT& Bounds, int ClientWidth, int ClientHeight,
                                      int VideoWidth, int VideoHeight) {
    const int L = Bounds.left, T = Bounds.top;
    const int W = Bounds.right - Bounds.left, H = Bounds.bottom - Bounds.top;
    const TVideoPlacement whole{L, T, W, H};
    int rw = 0, rh = 0;
    switch (AspectMode) {
    case 1:
        rw = VideoWidth;
        rh = VideoHeight;
        break;
    case 2:
        if (VideoWidth == 0 || VideoHeight == 0)
            return whole;
        rh = ClientHeight;
        rw = MulDiv(ClientHeight, VideoWidth, VideoHeight);
        return {L + W / 2 - rw / 2, T, rw, H};
    case 3:
        rw = 4, rh = 3;
        break;
    case 4:
        rw = 16, rh = 9;
        break;
    case 5:
        rw = 235, rh = 100;
        break;
    default:
        return whole;
    }
    if (rw == 0 || rh == 0 || ClientWidth == 0 || ClientHeight == 0)
        return whole;
    if (static_cast<double>(rw) / rh > static_cast<double>(ClientWidth) / ClientHeight) {
        int h = MulDiv(ClientWidth, rh, rw);
        return {L, T + (ClientHeight - h) / 2, ClientWidth, h};
    }
    int w = MulDiv(ClientHeight, rw, rh);
    return {L + (ClientWidth - w) / 2, T, w, ClientHeight};
}

void TVideoFrame::PlaceVideo(TObject*) {
    const RECT bounds = VideoWindow->BoundsRect();
    const int clientWidth = VideoWindow->ClientWidth(), clientHeight = VideoWindow->ClientHeight();
    TVideoPlacement placement =
        ComputeVideoPlacement(FAspectMode, bounds, clientWidth, clientHeight, FVideoWidth, FVideoHeight);
    TVideoWindowCaps* caps = VideoWindow->OverlayCaps();
    if (caps && caps->CanOverlayGraphic() && (FAspectMode == 1 || FAspectMode == 2)) {
        // The Overlay Mixer keeps the proportions itself.
        placement = {0, 0, clientWidth, clientHeight};
        VideoWindow->SetAspectRatio(FAspectMode == 1 ? rmLetterBox : rmCrop);
    } else {
        VideoWindow->SetAspectRatio(rmStretched);
    }
    FLastPlacement = placement;
    // The renderer takes the placement relative to the control.
    VideoWindow->SetRendererBounds({placement.Left - bounds.left, placement.Top - bounds.top,
                                    placement.Left - bounds.left + placement.Width,
                                    placement.Top - bounds.top + placement.Height});
}

void TVideoFrame::SetAspectMode(int Value) {
    FAspectMode = std::clamp(Value, 0, 5);
    VideoWindow->UpdateVideoWindow();
}

void TVideoFrame::miAspectRatioClick(TObject* Sender) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item)
        return;
    SetAspectMode(static_cast<int>(item->Tag()));
    item->SetChecked(true);
    CallEvent(OnAspectRatioChanged, this);
}

void TVideoFrame::miFullScreenClick(TObject*) {
    if (VideoWindow->IsFullScreen())
        VideoWindow->LeaveFullScreen();
    else
        VideoWindow->ShowFullScreen();
    miFullScreen->SetChecked(VideoWindow->IsFullScreen());
    CallEvent(OnFullScreenChanged, this);
}

void TVideoFrame::ClickToggle() {
    if (FPlaying)
        FilterGraph->Pause();
    else
        FilterGraph->Play();
    SetPlaying(!FPlaying);
}

void TVideoFrame::VideoWindowMouseUp(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
    if (Button == mbLeft) {
        if (ComPtr<IDvdControl2> control = DvdControl()) {
            HRESULT result = control->ActivateAtPosition(POINT{X, Y});
            if (result == VFW_E_DVD_INVALIDDOMAIN) {
                ClickToggle();
            } else if (result == VFW_E_DVD_NO_BUTTON) {
                ULONG available = 0, current = 0;
                ComPtr<IDvdInfo2> info = DvdInfo();
                if (info && SUCCEEDED(info->GetCurrentButton(&available, &current)) && available == 0)
                    ClickToggle();
            }
        } else {
            PlayPause();
        }
    }
    MakeTopMostsNormal();
}

void TVideoFrame::VideoWindowMouseMove(TObject*, TShiftState, int X, int Y) {
    if (ComPtr<IDvdControl2> control = DvdControl())
        VideoWindow->SetCursor(SUCCEEDED(control->SelectAtPosition(POINT{X, Y})) ? crHandPoint : crDefault);
}

void TVideoFrame::EjectDisk() {
    std::string root = ExtractDriveRoot(FFileName);
    if (!root.empty() && QueryDriveType(root) != DRIVE_CDROM)
        root.clear();
    if (root.empty() && FDrives.Count() > 0)
        root = FDrives.Items(0).Root;
    if (!root.empty())
        TDriveList::Eject(root[0]);
}

} // namespace vireon
