#include "shell/TMainForm.h"

#include "shell/HiddenButtons.h"

#include "shell/ShellSkin.h"
#include "shell/ShellWindows.h"

#include "common/TextConversion.h"
#include "forms/MessageBoxSeam.h"
#include "forms/TScreen.h"
#include "forms/TSpeedButton.h"
#include "util/xFileUtil.h"

#include <shellapi.h>

namespace vireon {

using Microsoft::WRL::ComPtr;

namespace {

constexpr char kBindingFailed[] = "Could not initialize the skin engine";
// The window's menu bar, between the skin's top frame part and the client area.
constexpr int kMenuBarHeight = 20;

std::string NameOf(skin::ISkinObject* Object) {
    return Object ? AnsiFromWide(Object->GetName()) : std::string();
}

} // namespace

std::string TMainFormStart::DefaultSkinPath() {
    return AppPath() + "skins\\" + "DVDTest.skn";
}

TMainForm::TMainForm(TComponent* AOwner, TMainFormStart Start) : TForm(AOwner), FStart(std::move(Start)) {
    SetName("MainForm");
    SetCaption("Vireon");
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 800, 600);
    CreateComponents();
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
    SetMessageHandler(WM_COMMAND, [this](TMessage& Message) { return HandlePopupCommand(Message); });
    SetMessageHandler(WM_MOUSEMOVE, [this](TMessage&) {
        DraggedSliderMoved();
        return false;
    });
    SetMessageHandler(WM_SIZE, [this](TMessage&) {
        SkinResized();
        return false;
    });
    Application().OnMessage = [this](MSG& Msg, bool& Handled) { ApplicationEventsMessage(Msg, Handled); };
    Application().OnException = [this](TObject* Sender, const std::exception& E) {
        ApplicationEventsException(Sender, E);
    };
}

TMainForm::~TMainForm() = default;

void TMainForm::BeforeDestruction() {
    Application().OnMessage = nullptr;
    Application().OnException = nullptr;
    FGraphRegistration.Reset();
    FSizer.Detach();
    TForm::BeforeDestruction();
    FButtons.reset();
    FControls.Release();
    FSkinForm.Reset();
    FSeeking.Reset();
}

void TMainForm::CreateComponents() {
    ilSystem = new TImageList(this);
    ilSystem->SetName("ilSystem");
    ilSystem->SetShareImages(true);
    VideoFrame = new TVideoFrame(this);
    VideoFrame->SetName("VideoFrame");
    VideoFrame->SetParent(this);
    // The design-time place, until the skin's video area is known.
    VideoFrame->SetBounds(0, 0, 320, 240);
    VideoFrame->SetAnchors(akLeft | akTop | akRight | akBottom);
    VideoFrame->SetPopupMenu(VideoFrame->Popup);
    VideoFrame->VideoWindow->SetColor(RGB(0, 0, 0));
    Timer = new TTimer(this, {"Timer", 500, false, [this](TObject* Sender) { TimerTimer(Sender); }});
    ElapsedTimer = new TTimer(
        this, {"ElapsedTimer", 450, false, [this](TObject* Sender) { ElapsedTimerTimer(Sender); }});
    ActivityTimer = new TTimer(
        this, {"ActivityTimer", 3000, false, [this](TObject* Sender) { ActivityTimerTimer(Sender); }});
    CreateMainMenu();
    CreateHiddenButtons();
}

// One invisible button per command of the skin; a click on the skin object of the same name runs it.
void TMainForm::CreateHiddenButtons() {
    static const THiddenButton<TMainForm> buttons[] = {
        {"bnPlay", "Play", &TMainForm::miPlayClick},
        {"bnPause", "Pause", &TMainForm::miPlayClick},
        {"bnStop", "Stop", &TMainForm::miStopClick},
        {"bnNext", "Next", &TMainForm::miNextCharterClick},
        {"bnPrev", "Prev", &TMainForm::miPrevCharterClick},
        {"bnMaximize", "Maximize", &TMainForm::miFullScreenClick},
        {"bnFullScreen", "Full Screen", &TMainForm::miFullScreenClick},
        {"bnMenu", "Menu", &TMainForm::miDVDRootMenuClick},
        {"bnEject", "Eject", &TMainForm::miEjectClick},
        {"bnMute", "Mute", &TMainForm::miVolumeMuteClick},
        {"bnMuteOff", "MuteOff", &TMainForm::miVolumeMuteClick},
        {"bnAudio", "Audio", &TMainForm::bnAudioClick},
        {"bnSubtitles", "Subtitles", &TMainForm::bnSubtitlesClick},
        {"bnColors", "Colors", &TMainForm::miColorControlClick},
        {"bnTopmost", "TopMost", &TMainForm::bnTopmostClick},
        {"bnNextFrame", "Next Frame", &TMainForm::bnNextFrameClick},
    };
    vireon::CreateHiddenButtons(this, buttons);
}

void TMainForm::FormCreate(TObject*) {
    FPopupTracking = false;
    BindSystemImages();
    VideoFrame->Drives().Refresh();
    VideoFrame->Drives().FillMenu(miPlayDisk, [this](TObject* Sender) { DriveItemClick(Sender); });
    InstallFrameHandlers();
    FSeeking.Reset();
    FGraphRegistration = VideoFrame->FilterGraph->Join(nullptr, this);
    if (!LoadAndBindSkin())
        return;
    RefreshDisplay();
    if (!FStart.Parameters.empty())
        VideoFrame->OpenMedia(FStart.Parameters.front(), false);
    ElapsedTimer->SetEnabled(true);
    FStarted = true;
}

// The system's list is made on the first request of the process, which costs a good part of the
// start-up: it is asked for when something first uses ilSystem.
void TMainForm::BindSystemImages() {
    ilSystem->SetHandleSource([folder = AppPath()] {
        SHFILEINFOA info{};
        return reinterpret_cast<HIMAGELIST>(
            SHGetFileInfoA(folder.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    });
}

void TMainForm::InstallFrameHandlers() {
    VideoFrame->OnUpdateLanguages = [this](TObject* Sender) { VideoFrameUpdateLanguages(Sender); };
    VideoFrame->OnUpdateChapters = [this](TObject* Sender) { VideoFrameUpdateChapters(Sender); };
    VideoFrame->OnUpdateSubtitles = [this](TObject* Sender) { VideoFrameUpdateSubtitles(Sender); };
    VideoFrame->OnFullScreenChanged = [this](TObject* Sender) { VideoFrameFullScreenChanged(Sender); };
    VideoFrame->OnVolumeChange = [this](TObject* Sender) { VideoFrameVolumeChange(Sender); };
    VideoFrame->OnPlayingStatusChanged = [this](TObject* Sender) { VideoFramePlayingStatusChanged(Sender); };
    VideoFrame->OnAspectRatioChanged = [this](TObject* Sender) { VideoFrameAspectRatioChanged(Sender); };
    TVideoWindow* video = VideoFrame->VideoWindow;
    video->OnContextPopup = [this](TObject* Sender, POINT MousePos, bool& Handled) {
        VideoFrameContextPopup(Sender, MousePos, Handled);
    };
    video->OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) {
        VideoFrameVideoWindowMouseMove(Sender, Shift, X, Y);
    };
    TFilterGraph* graph = VideoFrame->FilterGraph;
    graph->OnDVDTitleChange = [this](TObject* Sender, int Title) {
        VideoFrame->FilterGraphDVDTitleChange(Sender, Title);
    };
    graph->OnDVDDomainFirstPlay = [this](TObject*) { miDVDRootMenu->SetEnabled(true); };
    graph->OnDVDDomainStop = [this](TObject*) { miDVDRootMenu->SetEnabled(false); };
}

// The skin file, then its objects; without a skin there is no usable window and the program ends.
bool TMainForm::LoadAndBindSkin() {
    try {
        FSkin = CreateShellSkin();
        InstallSkinEvents();
        FSkin->LoadSkin(WideFromAnsi(FStart.SkinPath));
        BindSkinObjects();
    } catch (...) {
        ShowMessageBox(nullptr, "Skin '" + FStart.SkinPath + " not found.", Application().Title(),
                       MB_OK | MB_ICONERROR);
        PostMessageA(Handle(), WM_CLOSE, 0, 0);
        return false;
    }
    return true;
}

void TMainForm::InstallSkinEvents() {
    skin::TSkinEvents& events = FSkin->Events();
    events.OnClick = [this](skin::ISkin* Sender, skin::ISkinObject* Source) { SkinClick(Sender, Source); };
    events.OnScroll = [this](skin::ISkin* Sender, skin::ISkinObject* Source, int NewPos) {
        SkinScroll(Sender, Source, NewPos);
    };
    events.OnMouseDown = [this](skin::ISkin* Sender, skin::ISkinObject* Source, skin::TSkinMouseButton Button,
                                int X, int Y) { SkinMouseDown(Sender, Source, Button, X, Y); };
    events.OnMouseIn = [](skin::ISkin*, skin::ISkinObject* Source) {
        CallShellWindow(ShellWindows().AboutMouseIn, Source);
    };
    events.OnMouseOut = [](skin::ISkin*, skin::ISkinObject* Source) {
        CallShellWindow(ShellWindows().AboutMouseOut, Source);
    };
}

void TMainForm::RefreshDisplay() {
    VideoFrameUpdateLanguages(VideoFrame);
    VideoFrameUpdateChapters(VideoFrame);
    VideoFrameUpdateSubtitles(VideoFrame);
    VideoFrameFullScreenChanged(VideoFrame);
    RefreshCodecs();
    RefreshPlayingStatus();
    VideoFrame->UpdateAllMenus();
    RefreshVolume();
}

// A binding error leaves bound what was bound before it; the window goes on without the rest.
void TMainForm::BindSkinObjects() {
    try {
        FSkin->ApplySkin(Handle());
        FSkinForm = FSkin->GetSkinForm(Handle());
        FButtons = std::make_unique<TButtonController>(FSkinForm.Get(), L"");
        const skin::TSkinFrame frame = FSkinForm->GetFrame();
        ComPtr<skin::ISkinVisual> screen;
        if (ComPtr<skin::ISkinObject> found = FSkinForm->FindObject(L"pnScreen");
            !found || FAILED(found.As(&screen)))
            throw skin::ESkinError("the skin has no \"pnScreen\"");
        RECT area = screen->GetRectRelative(FSkinForm.Get());
        FControls.Bind(FSkinForm.Get(), L"");
        OffsetRect(&area, -frame.Left, -(frame.Top + kMenuBarHeight));
        VideoFrame->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
    } catch (const std::exception&) {
        ShowMessageBox(Handle(), kBindingFailed, "Error", MB_OK);
    }
    FSizer.Attach(Handle(), kMinimumSize);
}

void TMainForm::FormCloseQuery(TObject*, bool& CanClose) {
    CanClose = true;
    FControls.FPositionBar.Reset();
    FControls.FPositionLine.Reset();
    FControls.FVolumeBar.Reset();
    FControls.FVolumeLine.Reset();
    FSeeking.Reset();
    Timer->SetEnabled(false);
    VideoFrame->CloseMedia();
    FButtons.reset();
}

void TMainForm::ApplicationEventsMessage(MSG& Msg, bool& Handled) {
    if (Msg.message != WM_SYSCOMMAND || !VideoFrame->VideoWindow->IsFullScreen())
        return;
    const WPARAM command = Msg.wParam & 0xFFF0;
    if (command == SC_SCREENSAVE || command == SC_MONITORPOWER)
        Handled = true;
}

void TMainForm::ApplicationEventsException(TObject*, const std::exception& E) {
    FBugReport.Report(E.what());
}

// A click on a skin object runs the hidden button of the same name on the window of the skin
// form's name; "bnPlay_m" of the mini bar runs "bnPlay" there.
void TMainForm::SkinClick(skin::ISkin*, skin::ISkinObject* Source) {
    ComPtr<skin::ISkinForm> form = Source ? Source->GetForm() : nullptr;
    if (!form)
        return;
    const std::string formName = NameOf(form.Get());
    for (int i = 0; i < Screen().FormCount(); ++i) {
        TForm* target = Screen().Forms(i);
        if (!SameText(target->Name(), formName))
            continue;
        std::string name = NameOf(Source);
        if (size_t cut = name.find('_'); cut != std::string::npos)
            name.erase(cut);
        if (auto* control = dynamic_cast<TControl*>(target->FindComponent(name)); control && control->OnClick)
            CallEvent(control->OnClick, control);
        return;
    }
}

void TMainForm::SkinMouseDown(skin::ISkin*, skin::ISkinObject* Source, skin::TSkinMouseButton Button, int,
                              int) {
    CallShellWindow(ShellWindows().AboutMouseDown, Source);
    ComPtr<skin::ISkinScrollBar> bar;
    if (Button == skin::TSkinMouseButton::mbLeft && Source &&
        SUCCEEDED(Source->QueryInterface(IID_PPV_ARGS(&bar))) &&
        (bar.Get() == FControls.FPositionBar.Get() || bar.Get() == FControls.FVolumeBar.Get()))
        FDraggedSlider = bar;
}

// While the user drags a slider, its fill line follows the thumb.
void TMainForm::DraggedSliderMoved() {
    if (!FDraggedSlider)
        return;
    if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000)) {
        FDraggedSlider.Reset();
        return;
    }
    if (FDraggedSlider.Get() == FControls.FPositionBar.Get())
        FControls.ShowPositionLine(FDraggedSlider->GetPos());
    else
        FControls.ShowVolumeLine(kVolumeMax - FDraggedSlider->GetPos());
}

// The skin lays its anchored objects out again on WM_SIZE before the window sees it; the fill lines
// are then measured on the sliders' new rectangles.
void TMainForm::SkinResized() {
    if (FSkinForm)
        FControls.FollowSliders();
}

void TMainForm::ShowSkinPopup(TMenuItem* Item, POINT Screen) {
    TVideoWindow* video = VideoFrame->VideoWindow;
    video->OnMouseUp = nullptr;
    FPopupTracking = true;
    FPopupMenu = Item->Menu();
    // Also after an error: the video gets its mouse-up handler back.
    struct TRestore {
        TMainForm* Form;
        ~TRestore() { Form->EndSkinPopup(); }
    } restore{this};
    if (FSkinForm && Item->Handle())
        FSkinForm->PopupMenu(Item->Handle(), Screen.x, Screen.y);
    Application().ProcessMessages();
}

void TMainForm::EndSkinPopup() {
    VideoFrame->VideoWindow->OnMouseUp = [this](TObject* Sender, TMouseButton Button, TShiftState Shift,
                                                int X, int Y) {
        VideoFrame->VideoWindowMouseUp(Sender, Button, Shift, X, Y);
    };
    FPopupTracking = false;
}

bool TMainForm::HandlePopupCommand(TMessage& Message) {
    if (!FPopupTracking || !FPopupMenu || Message.LParam != 0)
        return false;
    FPopupMenu->DispatchCommand(LOWORD(Message.WParam));
    return true;
}

void TMainForm::ShowStreamPopup(TMenuItem* Item, const wchar_t* Anchor) {
    if (!Item->Enabled() || !FSkinForm)
        return;
    ComPtr<skin::ISkinVisual> button;
    if (ComPtr<skin::ISkinObject> found = FSkinForm->FindObject(Anchor); !found || FAILED(found.As(&button)))
        return;
    const RECT rect = button->GetRect();
    const skin::TSkinFrame frame = FSkinForm->GetFrame();
    ShowSkinPopup(Item, ClientToScreen({rect.left - 10, rect.bottom - kMenuBarHeight - frame.Top}));
}

void TMainForm::bnAudioClick(TObject*) {
    ShowStreamPopup(miAudioTracks, L"bnAudio");
}

void TMainForm::bnSubtitlesClick(TObject*) {
    ShowStreamPopup(miSubtitles, L"bnSubtitles");
}

void TMainForm::VideoFrameContextPopup(TObject*, POINT MousePos, bool& Handled) {
    Handled = true;
    ShowSkinPopup(VideoFrame->Popup->Items(), VideoFrame->VideoWindow->ClientToScreen(MousePos));
}

std::vector<std::string> CommandLineParameters(const wchar_t* CommandLine) {
    std::vector<std::string> parameters;
    int count = 0;
    LPWSTR* arguments = CommandLine && *CommandLine ? CommandLineToArgvW(CommandLine, &count) : nullptr;
    if (!arguments)
        return parameters;
    const UniqueLocalMemory owner(arguments);
    for (int i = 1; i < count; ++i)
        parameters.push_back(AnsiPathFromWide(arguments[i]));
    return parameters;
}

} // namespace vireon
