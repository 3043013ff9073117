// The player's main window: drawn by the skin from its form "MainForm", it embeds the video
// frame, carries the main menu and one hidden button per skin command, keeps the menus, buttons,
// sliders and texts in step with the frame, and reports escaping errors by mail. It routes: the
// frame plays, the skin draws, TSkinControls and TButtonController hold the skin's objects.
#pragma once

#include "shell/BugReport.h"
#include "shell/TButtonController.h"
#include "shell/TSkinControls.h"
#include "shell/TWindowSizer.h"

#include "playback/TVideoFrame.h"

#include "engine/TGraphRegistration.h"
#include "forms/TApplication.h"
#include "forms/TForm.h"
#include "forms/TImageList.h"
#include "forms/TMenu.h"
#include "forms/TTimer.h"
#include "skin/SkinInterfaces.h"

#include <memory>
#include <string>
#include <vector>

namespace vireon {

class TMenuBuilder;

// How the main window starts: the skin file, and the program's command-line parameters.
struct TMainFormStart {
    std::string SkinPath = DefaultSkinPath();
    std::vector<std::string> Parameters = {};

    // "skins\DVDTest.skn" in the program's folder.
    static std::string DefaultSkinPath();
};

class TMainForm : public TForm, public IGraphEventListener {
public:
    static constexpr SIZE kMinimumSize{640, 400};

    explicit TMainForm(TComponent* AOwner, TMainFormStart Start = {});
    ~TMainForm() override;

    // Components.
    TMainMenu* MainMenu = nullptr;
    TVideoFrame* VideoFrame = nullptr;
    TImageList* ilSystem = nullptr;
    TTimer* Timer = nullptr;
    TTimer* ElapsedTimer = nullptr;
    TTimer* ActivityTimer = nullptr;
    TMenuItem* miPlayDisk = nullptr;
    TMenuItem* miFullScreen = nullptr;
    TMenuItem* miAspectRatio = nullptr;
    TMenuItem* miDVDRootMenu = nullptr;
    TMenuItem* miSubtitles = nullptr;
    TMenuItem* miAudioTracks = nullptr;
    TMenuItem* miChapters = nullptr;
    TMenuItem* miCodecs = nullptr;

    skin::ISkin* Skin() const { return FSkin.Get(); }
    skin::ISkinForm* SkinForm() const { return FSkinForm.Get(); }
    const TSkinControls& SkinControls() const { return FControls; }
    TButtonController* Buttons() const { return FButtons.get(); }
    IMediaSeeking* Seeking() const { return FSeeking.Get(); }
    bool PopupTracking() const { return FPopupTracking; }
    // The skin was loaded and start-up ran to its end.
    bool Started() const { return FStarted; }
    TWindowSizer& Sizer() { return FSizer; }

    // Start-up, closing and the application's events.
    void FormCreate(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void BindSkinObjects();
    void ApplicationEventsMessage(MSG& Msg, bool& Handled);
    void ApplicationEventsException(TObject* Sender, const std::exception& E);
    const TBugReport& BugReport() const { return FBugReport; }

    // Skin events.
    void SkinClick(skin::ISkin* Sender, skin::ISkinObject* Source);
    void SkinScroll(skin::ISkin* Sender, skin::ISkinObject* Source, int NewPos);
    void SkinMouseDown(skin::ISkin* Sender, skin::ISkinObject* Source, skin::TSkinMouseButton Button, int X,
                       int Y);
    void ShowSkinPopup(TMenuItem* Item, POINT Screen);

    // Commands (MainFormCommands.cpp).
    void miOpenClick(TObject* Sender);
    void miOpenDVDFolderClick(TObject* Sender);
    void miPlayFolderClick(TObject* Sender);
    void DriveItemClick(TObject* Sender);
    void miExitClick(TObject* Sender);
    void miFullScreenClick(TObject* Sender);
    void miPlayClick(TObject* Sender);
    void miStopClick(TObject* Sender);
    void miNextClick(TObject* Sender);
    void miPreviousClick(TObject* Sender);
    void miNextCharterClick(TObject* Sender);
    void miPrevCharterClick(TObject* Sender);
    void miVolumeMuteClick(TObject* Sender);
    void miVolumeUpClick(TObject* Sender);
    void miVolumeDownClick(TObject* Sender);
    void miAspectRatioClick(TObject* Sender);
    void miDVDRootMenuClick(TObject* Sender);
    void miEjectClick(TObject* Sender);
    void miColorControlClick(TObject* Sender);
    void miAboutClick(TObject* Sender);
    void miWriteUsClick(TObject* Sender);
    void bnAudioClick(TObject* Sender);
    void bnSubtitlesClick(TObject* Sender);
    void bnTopmostClick(TObject* Sender);
    void bnNextFrameClick(TObject* Sender);

    // The frame's and the graph's events.
    void VideoFrameUpdateLanguages(TObject* Sender);
    void VideoFrameUpdateChapters(TObject* Sender);
    void VideoFrameUpdateSubtitles(TObject* Sender);
    void VideoFrameFullScreenChanged(TObject* Sender);
    void VideoFrameVolumeChange(TObject* Sender);
    void VideoFramePlayingStatusChanged(TObject* Sender);
    void VideoFrameAspectRatioChanged(TObject* Sender);
    void VideoFrameContextPopup(TObject* Sender, POINT MousePos, bool& Handled);
    void VideoFrameVideoWindowMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void RefreshPlayingStatus();
    // The controlled buttons for what the media offers: all ten without media, the DVD ones only
    // for a DVD, audio and subtitles only while their menus are enabled.
    void ApplyButtonRule(TButtonController& Buttons);
    void RefreshCodecs();

    // Timers, sliders and the graph listener (MainFormPlayback.cpp).
    void UpdatePosition();
    void SetPositionMax();
    void RefreshVolume();
    void RestartActivity();
    void TimerTimer(TObject* Sender);
    void ElapsedTimerTimer(TObject* Sender);
    void ActivityTimerTimer(TObject* Sender);
    void HandleGraphEvent(long Code, LONG_PTR Param1, LONG_PTR Param2) override;
    void HandleControlEvent(TGraphControlEvent Event, int Param) override;

protected:
    void BeforeDestruction() override;

private:
    void CreateComponents();
    void CreateHiddenButtons();
    void CreateMainMenu();
    void CreateFileMenus(TMenuBuilder& Builder, TMenuItem* Root);
    void CreatePlayMenu(TMenuBuilder& Builder, TMenuItem* Root);
    void CreateDvdMenus(TMenuBuilder& Builder, TMenuItem* Root);
    void InstallFrameHandlers();
    void InstallSkinEvents();
    void BindSystemImages();
    bool LoadAndBindSkin();
    void RefreshDisplay();
    void ShowStreamPopup(TMenuItem* Item, const wchar_t* Anchor);
    void EndSkinPopup();
    bool HandlePopupCommand(TMessage& Message);
    void DraggedSliderMoved();
    void SkinResized();

    TMainFormStart FStart;
    Microsoft::WRL::ComPtr<skin::ISkin> FSkin;
    Microsoft::WRL::ComPtr<skin::ISkinForm> FSkinForm;
    TSkinControls FControls;
    std::unique_ptr<TButtonController> FButtons;
    Microsoft::WRL::ComPtr<IMediaSeeking> FSeeking;
    TGraphRegistration FGraphRegistration;
    bool FPopupTracking = false;
    TMenu* FPopupMenu = nullptr;
    POINT FLastMouse{-1, -1};
    // The slider the user holds now, so its fill line follows the thumb.
    Microsoft::WRL::ComPtr<skin::ISkinScrollBar> FDraggedSlider;
    TWindowSizer FSizer;
    TBugReport FBugReport;
    bool FStarted = false;
};

// A new reference clock takes playback back to the beginning (EC_CLOCK_CHANGED while seeking is held).
void RewindOnClockChange(IMediaSeeking* Seeking, TFilterGraph& Graph, long Code);

// The program's parameters after the program name, without their quotes.
std::vector<std::string> CommandLineParameters(const wchar_t* CommandLine);

} // namespace vireon
