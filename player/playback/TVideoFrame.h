// The video frame: turns what the user points at (files, folders, drives, DVD volumes, Video CDs)
// into a running graph, keeps the playback state, builds the DVD menus, composes the title and
// time texts, and handles mouse input on the video, full screen and the aspect modes.
#pragma once

#include "playback/TDriveList.h"
#include "playback/TIntList.h"
#include "playback/TStallWatch.h"

#include "engine/TFilterGraph.h"
#include "engine/TVideoWindow.h"

#include "common/Seam.h"
#include "forms/TFrame.h"
#include "forms/TMenuItem.h"
#include "forms/TOpenDialog.h"
#include "forms/TPopupMenu.h"

#include <windows.h>
#include <dshow.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vireon {

// Private messages the frame posts to its own window to rebuild a menu after a click handler.
inline constexpr UINT WM_UPDATELANGUAGES = WM_USER + 1;
inline constexpr UINT WM_UPDATESUBTITLES = WM_USER + 2;
inline constexpr UINT WM_UPDATECHAPTERS = WM_USER + 3;

inline constexpr char kPlayableExtensions[] = "avi;mpg;mpeg;vob;ifo";
inline constexpr char kVideoCdStreamMask[] = "AVSEQ*.DAT";
inline constexpr char kOpenDialogFilter[] =
    "All supportet files|*.AVI;*.MPG;*.MPEG;*.ASF;*.VOB;*.IFO;*.DAT|Any files (*.*)|*.*";
inline constexpr char kCannotPlayMessage[] =
    "Can not play the file. The file is either corrupt or the player "
    "does not support the format you are trying to play.";
inline constexpr char kNoMediaInFolderMessage[] = "The folder holds no media the player can play.";

// Packed DVD time code: byte 0 hours, 1 minutes, 2 seconds, 3 frames.
int HMSFToSeconds(const DVD_HMSF_TIMECODE& TimeCode);
int HMSFToSeconds(ULONG Packed);
DVD_HMSF_TIMECODE SecondsToHMSF(int Seconds);

// Where PlaceVideo puts the picture, in the video window's parent's coordinates.
struct TVideoPlacement {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TVideoPlacement&) const = default;
};

// The placement for an aspect mode (0..5): Bounds are the video window's bounds in its parent,
// ClientWidth/ClientHeight its client size, VideoWidth/VideoHeight the native size (0: unknown).
TVideoPlacement ComputeVideoPlacement(int AspectMode, const RECT& Bounds, int ClientWidth, int ClientHeight,
                                      int VideoWidth, int VideoHeight);

// The "Insufficient decoders" dialog, shown modally when building a DVD graph raised an error.
// The shell fills it with its dialog; empty, nothing is shown.
using TCodecMessageSeam = TSeam<void()>;
TCodecMessageSeam& CodecMessageSeam();

class TVideoFrame : public TFrame {
public:
    explicit TVideoFrame(TComponent* AOwner = nullptr);
    ~TVideoFrame() override;

    // Components, owned by the frame.
    TVideoWindow* VideoWindow = nullptr;
    TOpenDialog* OpenDialog = nullptr;
    TFilterGraph* FilterGraph = nullptr;
    TPopupMenu* Popup = nullptr;
    TMenuItem* miPlayPause = nullptr;
    TMenuItem* miStop = nullptr;
    TMenuItem* miFullScreen = nullptr;
    TMenuItem* miFullScreen2 = nullptr;
    TMenuItem* miAspectRatio = nullptr;
    TMenuItem* miAspectRatioStretched = nullptr;
    TMenuItem* miAspectRatioLetterBox = nullptr;
    TMenuItem* miAspectRatioCrop = nullptr;
    TMenuItem* miAspectRatio43 = nullptr;
    TMenuItem* miAspectRati169 = nullptr;
    TMenuItem* miAspectRatio235 = nullptr;
    TMenuItem* miChapters = nullptr;
    TMenuItem* miLanguages = nullptr;
    TMenuItem* miSubtitles = nullptr;
    TMenuItem* miExit = nullptr;

    // The seven notify events; each passes the frame as the sender.
    TNotifyEvent OnUpdateLanguages;
    TNotifyEvent OnUpdateChapters;
    TNotifyEvent OnUpdateSubtitles;
    TNotifyEvent OnFullScreenChanged;
    TNotifyEvent OnVolumeChange;
    TNotifyEvent OnPlayingStatusChanged;
    TNotifyEvent OnAspectRatioChanged;

    // State.
    bool Playing() const { return FPlaying; }
    // Stores the flag and always raises OnPlayingStatusChanged.
    void SetPlaying(bool Value);
    int Volume() const { return FVolume; }
    // Clamped to 0..10000; applied to the graph unless muted.
    void SetVolume(int Value);
    bool Muted() const { return FMuted; }
    bool HasMedia() const { return !FFileName.empty() || FIsDVD; }
    bool IsDVD() const { return FIsDVD; }
    const std::string& FileName() const { return FFileName; }
    const std::vector<std::string>& Playlist() const { return FPlaylist; }
    int PlaylistIndex() const { return FPlaylistIndex; }
    int VideoWidth() const { return FVideoWidth; }
    int VideoHeight() const { return FVideoHeight; }
    int DVDTime() const { return FDVDTime; }
    int Chapter() const { return FChapter; }
    TDriveList& Drives() { return FDrives; }
    int AspectMode() const { return FAspectMode; }
    // Stores the mode (0..5) and lets the video window place the picture again.
    void SetAspectMode(int Value);
    // The placement PlaceVideo handed to the renderer last.
    TVideoPlacement LastPlacement() const { return FLastPlacement; }

    // Opening media.
    static bool IsPlayableFile(const std::string& FileName);
    void FilterPlaylist();
    void PlayCurrentItem();
    void PlayNextItem();
    void PlayPrevItem();
    // Runs the open dialog; true when the user confirmed it.
    bool OpenFiles();
    // OpenFiles with the dialog's filter set to Filter for this one call.
    bool OpenFilesFiltered(const std::string& Filter);
    bool OpenMedia(const std::string& FileName, bool Silent);
    bool OpenDVD(const std::wstring& Path);
    bool OpenSource(const std::string& Path);
    bool PlayDisk();
    // What OpenDVD makes of the DVD graph builder's answer: true for the success path; failures
    // are explained in message boxes over Owner.
    static bool AcceptDvdRenderResult(HWND Owner, HRESULT Result, const AM_DVD_RENDERSTATUS& Status);
    // The box saying that the media cannot be played.
    static void ShowCannotPlay(HWND Owner);

    // Playback control.
    void PlayPause();
    void StopPlayback();
    void NextChapter();
    void PrevChapter();
    void FastForward();
    void FastBackward();
    void ShowRootMenu();
    // DVD: seconds; otherwise 100-ns units.
    int64_t GetPosition();
    int64_t GetDuration();
    void SetPosition(int64_t Value);
    void VolumeUp();
    void VolumeDown();
    void ToggleMute();
    void SyncVolume();
    void CloseMedia();
    void EjectDisk();
    // Called by the position timer while playing, with the tick count: a file whose position has
    // stood still for a while is stopped, quietly at its end, elsewhere with the message that it
    // cannot be played.
    void WatchProgress(DWORD Now);

    // DVD menus.
    void FillChaptersMenu(TMenuItem* Item);
    void FillLanguagesMenu(TMenuItem* Item);
    void FillSubtitlesMenu(TMenuItem* Item);
    void FillCodecsMenu(TMenuItem* Item);
    void UpdateChapters();
    void UpdateLanguages();
    void UpdateSubtitles();
    void UpdateAllMenus();

    // Texts.
    std::string GetTitleText() const;
    std::string GetTimeText();

    // Handlers, also called by the main window and the mini bar.
    void miPlayPauseClick(TObject* Sender);
    void miStopClick(TObject* Sender);
    void miFullScreenClick(TObject* Sender);
    void miAspectRatioClick(TObject* Sender);
    void miExitClick(TObject* Sender);
    void ChapterItemClick(TObject* Sender);
    void LanguageItemClick(TObject* Sender);
    void SubtitleItemClick(TObject* Sender);
    void ShowSubtitlesItemClick(TObject* Sender);
    void CodecItemClick(TObject* Sender);
    void VideoWindowMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void VideoWindowMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void PlaceVideo(TObject* Sender);
    void FilterGraphGraphComplete(TObject* Sender, HRESULT Result, IBaseFilter* Renderer);
    void FilterGraphDVDTitleChange(TObject* Sender, int Title);
    void FilterGraphDVDChapterStart(TObject* Sender, int Chapter);
    void FilterGraphDVDCurrentHMSFTime(TObject* Sender, DVD_HMSF_TIMECODE HMSFTimeCode,
                                       TDVDTimeCode TimeCode);

private:
    void CreateComponents();
    void CreatePopupItems();
    void RenewGraph();
    HWND MessageOwner();
    bool BuildTitleSetPlaylist(const std::vector<std::string>& Files);
    bool OpenPlayableFiles(const std::vector<std::string>& Files);
    bool OpenSubFolders(const std::string& Path);
    void ClickToggle();
    void ApplyVolume();
    bool DvdMode() const { return FIsDVD; }
    int64_t FilePosition();
    Microsoft::WRL::ComPtr<IDvdControl2> DvdControl();
    Microsoft::WRL::ComPtr<IDvdInfo2> DvdInfo();
    void AddChapterItems(TMenuItem* Parent, IDvdInfo2* Info, ULONG Title);

    bool FIsDVD = false;
    bool FPlaying = false;
    int FAspectMode = 1;
    int FVideoWidth = 0;
    int FVideoHeight = 0;
    int FDVDTime = 0;
    int FChapter = 0;
    int FVolume = 10000;
    bool FMuted = false;
    std::string FFileName;
    std::vector<std::string> FPlaylist;
    int FPlaylistIndex = 0;
    TDriveList FDrives;
    TVideoPlacement FLastPlacement;
    TStallWatch FStallWatch;
    // The graph reported the end of the media.
    bool FEnded = false;
    // Opens so far. A build or stop dispatches messages while it waits, so another open can begin
    // and end inside one; the open underneath then finds the count moved past its own and leaves
    // the frame, quietly, to the newer one.
    unsigned FOpens = 0;
    bool TakenOver(unsigned Open) const { return FOpens != Open; }
};

} // namespace vireon
