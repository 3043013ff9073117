// The frame's construction, state, transport, positions, volume and graph events.
#include "playback/TVideoFrame.h"

#include "common/DirectShowUuids.h"
#include "forms/TApplication.h"
#include "forms/TForm.h"

#include <algorithm>
#include <cstdio>

namespace vireon {

using Microsoft::WRL::ComPtr;

namespace {

// A position this close to the duration is the end (100-ns units: half a second).
constexpr int64_t kEndTolerance = 5000000;

} // namespace

int HMSFToSeconds(const DVD_HMSF_TIMECODE& TimeCode) {
    return TimeCode.bHours * 3600 + TimeCode.bMinutes * 60 + TimeCode.bSeconds;
}

int HMSFToSeconds(ULONG Packed) {
    DVD_HMSF_TIMECODE timeCode{};
    static_assert(sizeof(timeCode) == sizeof(Packed));
    CopyMemory(&timeCode, &Packed, sizeof(Packed));
    return HMSFToSeconds(timeCode);
}

DVD_HMSF_TIMECODE SecondsToHMSF(int Seconds) {
    DVD_HMSF_TIMECODE timeCode{};
    int hours = Seconds / 3600;
    int rest = Seconds - hours * 3600;
    timeCode.bHours = static_cast<BYTE>(hours);
    timeCode.bMinutes = static_cast<BYTE>(rest / 60);
    timeCode.bSeconds = static_cast<BYTE>(rest % 60);
    return timeCode;
}

TCodecMessageSeam& CodecMessageSeam() {
    static TCodecMessageSeam seam;
    return seam;
}

TVideoFrame::TVideoFrame(TComponent* AOwner) : TFrame(AOwner) {
    CreateComponents();
    VideoWindow->OnSetWindowPosition = [this](TObject* Sender) { PlaceVideo(Sender); };
    SetMessageHandler(WM_UPDATELANGUAGES, [this](TMessage&) {
        UpdateLanguages();
        return true;
    });
    SetMessageHandler(WM_UPDATESUBTITLES, [this](TMessage&) {
        UpdateSubtitles();
        return true;
    });
    SetMessageHandler(WM_UPDATECHAPTERS, [this](TMessage&) {
        UpdateChapters();
        return true;
    });
}

TVideoFrame::~TVideoFrame() = default;

void TVideoFrame::CreateComponents() {
    FilterGraph = new TFilterGraph(this);
    FilterGraph->SetName("FilterGraph");
    FilterGraph->SetMode(gmDVD);
    FilterGraph->SetGraphEdit(true);
    // The graph comes up with the first media: opening any renews it (RenewGraph), and making one
    // at start-up (the platform's media libraries, the DVD builder, the renderer) would only delay
    // the window. Until then commands that need it find it inactive and do nothing.
    FilterGraph->OnGraphComplete = [this](TObject* Sender, HRESULT Result, IBaseFilter* Renderer) {
        FilterGraphGraphComplete(Sender, Result, Renderer);
    };
    FilterGraph->OnDVDTitleChange = [this](TObject* Sender, int Title) {
        FilterGraphDVDTitleChange(Sender, Title);
    };
    FilterGraph->OnDVDChapterStart = [this](TObject* Sender, int Chapter) {
        FilterGraphDVDChapterStart(Sender, Chapter);
    };
    FilterGraph->OnDVDCurrentHMSFTime = [this](TObject* Sender, DVD_HMSF_TIMECODE HMSF,
                                               TDVDTimeCode TimeCode) {
        FilterGraphDVDCurrentHMSFTime(Sender, HMSF, TimeCode);
    };

    OpenDialog = new TOpenDialog(this);
    OpenDialog->SetName("OpenDialog");
    OpenDialog->SetFilter(kOpenDialogFilter);
    OpenDialog->SetOptions(ofAllowMultiSelect | ofHideReadOnly | ofEnableSizing);

    Popup = new TPopupMenu(this);
    Popup->SetName("Popup");
    CreatePopupItems();

    VideoWindow = new TVideoWindow(this);
    VideoWindow->SetName("VideoWindow");
    VideoWindow->SetAlign(alClient);
    VideoWindow->SetAspectRatio(rmStretched);
    VideoWindow->SetAutoHideCursor(300);
    VideoWindow->SetDigitalZoom(0);
    VideoWindow->SetNoScreenSaver(true);
    VideoWindow->SetColor(static_cast<TColor>(7098393));
    VideoWindow->SetPopupMenu(Popup);
    // The colour controls start at their defaults: brightness 750, contrast 10000, hue 0,
    // saturation 10000, sharpness 5, gamma 1, enabled.
    VideoWindow->OnMouseUp = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        VideoWindowMouseUp(Sender, Button, Shift, X, Y);
    };
    VideoWindow->OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) {
        VideoWindowMouseMove(Sender, Shift, X, Y);
    };
    VideoWindow->SetParent(this);
    VideoWindow->SetFilterGraph(FilterGraph);
}

void TVideoFrame::CreatePopupItems() {
    TMenuItem* root = Popup->Items();
    auto add = [this](TMenuItem* parent, TMenuItem::CreateArgs args) {
        return TMenuItem::Create(this, parent, args);
    };
    miPlayPause = add(root, {.Name = "miPlayPause",
                             .Caption = "&Play/Pause",
                             .ShortCut = TextToShortCut("Space"),
                             .OnClick = [this](TObject* Sender) { miPlayPauseClick(Sender); }});
    miStop = add(root, {.Name = "miStop", .Caption = "&Stop", .OnClick = [this](TObject* Sender) {
                            miStopClick(Sender);
                        }});
    add(root, {.Caption = "-"});
    auto fullScreen = [this](TObject* Sender) { miFullScreenClick(Sender); };
    miFullScreen = add(root, {.Name = "miFullScreen",
                              .Caption = "&Full screen",
                              .ShortCut = TextToShortCut("Ctrl+F"),
                              .OnClick = fullScreen});
    miFullScreen2 = add(root, {.Name = "miFullScreen2",
                               .Caption = "Full Screen 2",
                               .ShortCut = TextToShortCut("Alt+Enter"),
                               .Visible = false,
                               .OnClick = fullScreen});
    miAspectRatio = add(root, {.Name = "miAspectRatio", .Caption = "Aspect ratio"});
    auto aspect = [this](TObject* Sender) { miAspectRatioClick(Sender); };
    auto addAspect = [&](const char* name, const char* caption, int tag) {
        return add(miAspectRatio, {.Name = name,
                                   .Caption = caption,
                                   .Tag = tag,
                                   .Checked = tag == 1,
                                   .RadioItem = true,
                                   .GroupIndex = 4,
                                   .OnClick = aspect});
    };
    miAspectRatioStretched = addAspect("miAspectRatioStretched", "Fit to screen", 0);
    miAspectRatioLetterBox = addAspect("miAspectRatioLetterBox", "LetterBox", 1);
    miAspectRatioCrop = addAspect("miAspectRatioCrop", "Crop", 2);
    miAspectRatio43 = addAspect("miAspectRatio43", "4:3", 3);
    miAspectRati169 = addAspect("miAspectRati169", "16:9", 4);
    miAspectRatio235 = addAspect("miAspectRatio235", "2.35:1", 5);
    add(root, {.Caption = "-"});
    miChapters = add(root, {.Name = "miChapters", .Caption = "Chapters"});
    miLanguages = add(root, {.Name = "miLanguages", .Caption = "Languages"});
    miSubtitles = add(root, {.Name = "miSubtitles", .Caption = "Subtitles"});
    miExit = add(root, {.Name = "miExit",
                        .Caption = "Exit",
                        .ShortCut = TextToShortCut("Alt+F4"),
                        .Visible = false,
                        .OnClick = [this](TObject* Sender) { miExitClick(Sender); }});
}

void TVideoFrame::SetPlaying(bool Value) {
    FPlaying = Value;
    FStallWatch.Restart();
    CallEvent(OnPlayingStatusChanged, this);
}

Microsoft::WRL::ComPtr<IDvdControl2> TVideoFrame::DvdControl() {
    ComPtr<IDvdControl2> control;
    if (FilterGraph->Active())
        FilterGraph->QueryInterface(control);
    return control;
}

Microsoft::WRL::ComPtr<IDvdInfo2> TVideoFrame::DvdInfo() {
    ComPtr<IDvdInfo2> info;
    if (FilterGraph->Active())
        FilterGraph->QueryInterface(info);
    return info;
}

void TVideoFrame::PlayPause() {
    if (FPlaying) {
        FilterGraph->Pause();
    } else if (HasMedia()) {
        FilterGraph->Play();
    } else {
        if (!PlayDisk())
            OpenFiles();
        return;
    }
    SetPlaying(!FPlaying);
}

void TVideoFrame::StopPlayback() {
    FilterGraph->Stop();
    SetPlaying(false);
}

void TVideoFrame::NextChapter() {
    if (!FilterGraph->Active())
        return;
    if (ComPtr<IDvdControl2> control = DvdControl())
        control->PlayNextChapter(0, nullptr);
    else
        PlayNextItem();
}

void TVideoFrame::PrevChapter() {
    if (!FilterGraph->Active())
        return;
    if (ComPtr<IDvdControl2> control = DvdControl())
        control->PlayPrevChapter(0, nullptr);
    else
        PlayPrevItem();
}

void TVideoFrame::FastForward() {
    if (ComPtr<IDvdControl2> control = DvdControl())
        control->PlayForwards(8.0, 0, nullptr);
}

void TVideoFrame::FastBackward() {
    if (ComPtr<IDvdControl2> control = DvdControl())
        control->PlayBackwards(8.0, 0, nullptr);
}

void TVideoFrame::ShowRootMenu() {
    if (!FIsDVD)
        return;
    if (ComPtr<IDvdControl2> control = DvdControl())
        control->ShowMenu(DVD_MENU_Root, DVD_CMD_FLAG_Flush, nullptr);
}

int64_t TVideoFrame::FilePosition() {
    ComPtr<IMediaSeeking> seeking;
    LONGLONG position = 0;
    if (SUCCEEDED(FilterGraph->QueryInterface(seeking)) && FAILED(seeking->GetCurrentPosition(&position)))
        position = 0;
    return position;
}

int64_t TVideoFrame::GetPosition() {
    return DvdMode() ? FDVDTime : FilePosition();
}

int64_t TVideoFrame::GetDuration() {
    if (DvdMode()) {
        ComPtr<IDvdInfo2> info = DvdInfo();
        DVD_HMSF_TIMECODE total{};
        ULONG frameRate = 0;
        if (info && SUCCEEDED(info->GetTotalTitleTime(&total, &frameRate)))
            return HMSFToSeconds(total);
        return 0;
    }
    ComPtr<IMediaSeeking> seeking;
    LONGLONG stop = 0;
    if (SUCCEEDED(FilterGraph->QueryInterface(seeking)) && FAILED(seeking->GetStopPosition(&stop)))
        stop = 0;
    return stop;
}

void TVideoFrame::SetPosition(int64_t Value) {
    if (DvdMode()) {
        if (ComPtr<IDvdControl2> control = DvdControl()) {
            DVD_HMSF_TIMECODE time = SecondsToHMSF(static_cast<int32_t>(Value & 0xFFFFFFFF));
            control->PlayAtTime(&time, DVD_CMD_FLAG_Flush, nullptr);
        }
        return;
    }
    FilterGraph->SeekTo(Value);
}

void TVideoFrame::ApplyVolume() {
    if (!FMuted)
        FilterGraph->SetVolumeLevel(FVolume);
    CallEvent(OnVolumeChange, this);
}

void TVideoFrame::SetVolume(int Value) {
    FVolume = std::clamp(Value, 0, 10000);
    ApplyVolume();
}

void TVideoFrame::VolumeUp() {
    FVolume = std::min(10000, FVolume + 100);
    ApplyVolume();
}

void TVideoFrame::VolumeDown() {
    FVolume = FVolume <= 100 ? 0 : FVolume - 100;
    ApplyVolume();
}

void TVideoFrame::ToggleMute() {
    FMuted = !FMuted;
    if (FMuted) {
        if (HasMedia())
            FVolume = FilterGraph->GetVolumeLevel();
        FilterGraph->SetVolumeLevel(0);
    } else {
        FilterGraph->SetVolumeLevel(FVolume);
    }
    CallEvent(OnVolumeChange, this);
}

void TVideoFrame::SyncVolume() {
    FVolume = FilterGraph->GetVolumeLevel();
    if (FMuted)
        FilterGraph->SetVolumeLevel(0);
    CallEvent(OnVolumeChange, this);
}

void TVideoFrame::CloseMedia() {
    FilterGraph->ResetGraph();
    FilterGraph->SetActive(false);
}

void TVideoFrame::WatchProgress(DWORD Now) {
    if (!FPlaying || FIsDVD || FFileName.empty()) {
        FStallWatch.Restart();
        return;
    }
    const int64_t position = FilePosition();
    if (!FStallWatch.Stalled(position, Now))
        return;
    const int64_t duration = GetDuration();
    const bool atEnd = FEnded || (duration > 0 && position >= duration - kEndTolerance);
    StopPlayback();
    if (!atEnd)
        ShowCannotPlay(MessageOwner());
}

void TVideoFrame::miPlayPauseClick(TObject*) {
    PlayPause();
}

void TVideoFrame::miStopClick(TObject*) {
    StopPlayback();
}

void TVideoFrame::miExitClick(TObject*) {
    if (TForm* form = Application().MainForm())
        ::PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
    SetPlaying(false);
}

void TVideoFrame::FilterGraphGraphComplete(TObject*, HRESULT, IBaseFilter*) {
    FEnded = true;
    PlayNextItem();
}

void TVideoFrame::FilterGraphDVDTitleChange(TObject*, int) {
    UpdateChapters();
}

void TVideoFrame::FilterGraphDVDChapterStart(TObject*, int Chapter) {
    FChapter = Chapter;
    UpdateChapters();
    UpdateLanguages();
    UpdateSubtitles();
}

void TVideoFrame::FilterGraphDVDCurrentHMSFTime(TObject*, DVD_HMSF_TIMECODE HMSFTimeCode, TDVDTimeCode) {
    FDVDTime = HMSFToSeconds(HMSFTimeCode);
}

std::string TVideoFrame::GetTitleText() const {
    if (FIsDVD)
        return "DVD: Chapter " + std::to_string(FChapter);
    if (FFileName.empty())
        return "Insert disk or open media file";
    std::string name = FFileName.substr(FFileName.find_last_of("\\/:") + 1);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string TVideoFrame::GetTimeText() {
    if (!HasMedia())
        return "[No media]";
    int hours = 0, minutes = 0, seconds = 0;
    if (FIsDVD) {
        DVD_HMSF_TIMECODE parts = SecondsToHMSF(FDVDTime);
        hours = parts.bHours;
        minutes = parts.bMinutes;
        seconds = parts.bSeconds;
    } else {
        auto total = static_cast<int64_t>(static_cast<double>(FilePosition()) / 10000000.0);
        hours = static_cast<int>(total / 3600);
        minutes = static_cast<int>(total % 3600 / 60);
        seconds = static_cast<int>(total % 3600 % 60);
    }
    char text[48];
    std::snprintf(text, sizeof text, "%d:%2.2d:%2.2d", hours, minutes, seconds);
    return text;
}

} // namespace vireon
