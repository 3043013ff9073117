// The main window on the shipped skin with the fake DirectShow kit: start-up, skin binding and its
// failures, the buttons that follow the media, commands from the skin and the menu, the sliders,
// full screen's message filter and mouse activity, and errors reaching the bug-report mail.
#include "MainFormSupport.h"

#include "support/FakeGraphFixture.h"

#include "common/TextConversion.h"
#include "forms/TApplication.h"
#include "forms/TTimer.h"
#include "util/xFileUtil.h"

#include <dvdevcod.h>
#include <shellapi.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

using namespace vireon;
using shelltest::ClickableButtons;
using shelltest::ClickSkinObject;
using shelltest::StartMainForm;
using Names = std::vector<std::wstring>;

namespace {

std::string Text(const RECT& R) {
    return std::to_string(R.left) + "," + std::to_string(R.top) + "," + std::to_string(R.right) + "," +
           std::to_string(R.bottom);
}

const Names kAllTen{L"bnPrev",   L"bnNext",       L"bnMenu",     L"bnAudio", L"bnSubtitles",
                    L"bnColors", L"bnFullScreen", L"bnMaximize", L"bnStop",  L"bnNextFrame"};
const Names kFileButtons{L"bnPrev",     L"bnNext", L"bnColors",   L"bnFullScreen",
                         L"bnMaximize", L"bnStop", L"bnNextFrame"};

// A copy of the shipped skin with its fonts, in a folder of the tests, changed by Edit.
std::string ScratchSkin(const std::string& Name, const std::function<std::string(std::string)>& Edit) {
    const std::string folder = VIREON_BUILD_DIR "/testenv/shell-tests/" + Name;
    CreateDirectoryA(VIREON_BUILD_DIR "/testenv", nullptr);
    CreateDirectoryA(VIREON_BUILD_DIR "/testenv/shell-tests", nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string shipped = VIREON_BUILD_DIR "/bin/skins/";
    for (const char* font : {"Inter-Regular.otf", "Inter-Bold.otf"})
        CopyFileA((shipped + font).c_str(), (folder + "/" + font).c_str(), FALSE);
    std::ifstream in(shipped + "DVDTest.skn", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::ofstream(folder + "/DVDTest.skn", std::ios::binary) << Edit(text.str());
    return folder + "/DVDTest.skn";
}

class MainForm : public FakeGraphTest {
protected:
    void SetUp() override {
        FakeGraphTest::SetUp();
        dvdBuilder->info->totalTime = {1, 0, 0, 0};
    }
    void TearDown() override {
        if (form)
            form->Free();
        Application().ProcessMessages();
        FakeGraphTest::TearDown();
    }
    void Start(TMainFormStart Begin = {}) { form = StartMainForm(std::move(Begin)); }
    TMenuItem* Item(const char* Name) { return dynamic_cast<TMenuItem*>(form->FindComponent(Name)); }
    void OpenDvd() {
        ASSERT_TRUE(form->VideoFrame->OpenMedia("E:\\VIDEO_TS\\VIDEO_TS.IFO", false));
        Application().ProcessMessages();
    }

    shelltest::TCaughtEffects caught;
    TMainForm* form = nullptr;
};

TEST_F(MainForm, StartsIdleWithTheTenButtonsDisabledAndTheEmptyTexts) {
    Start();
    ASSERT_TRUE(form->Started());
    EXPECT_TRUE(caught.Messages.empty());
    EXPECT_EQ("Vireon", form->Caption());
    EXPECT_EQ("MainForm", form->Name());
    EXPECT_TRUE(form->ElapsedTimer->Enabled());
    EXPECT_FALSE(form->Timer->Enabled());
    EXPECT_FALSE(form->VideoFrame->HasMedia());
    EXPECT_TRUE(ClickableButtons(*form).empty());
    EXPECT_EQ("Insert disk or open media file", form->SkinControls().CaptionText);
    testsupport::PumpUntil([&] { return !form->SkinControls().ElapsedText.empty(); }, 5000);
    EXPECT_EQ("[No media]", form->SkinControls().ElapsedText);
    // The frame fills the skin's video area below the title strip and the menu bar.
    EXPECT_EQ("0,0,800,450", Text(form->VideoFrame->BoundsRect()));
    EXPECT_FALSE(Item("miDVDRootMenu")->Enabled());
    EXPECT_TRUE(Item("miAspect1")->Checked());
    EXPECT_FALSE(Item("miView")->Visible());
}

TEST_F(MainForm, TheIconListIsTheSystemsSharedListOfSmallIcons) {
    Start();
    const HIMAGELIST list = form->ilSystem->Handle();
    SHFILEINFOA info{};
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(AppPath().c_str(), 0, &info, sizeof(info),
                                                          SHGFI_SYSICONINDEX | SHGFI_SMALLICON)),
              list);
    EXPECT_NE(nullptr, list);
    EXPECT_TRUE(form->ilSystem->ShareImages());
}

TEST_F(MainForm, AfterAFileOpensTheDvdButtonsStayDisabled) {
    Start();
    ASSERT_TRUE(form->VideoFrame->OpenMedia("C:\\clips\\holiday.avi", false));
    Application().ProcessMessages();
    EXPECT_EQ(kFileButtons, ClickableButtons(*form));
    EXPECT_EQ("holiday", form->SkinControls().CaptionText);
    // Playing: pause shows in place of play, and the position timer runs.
    EXPECT_TRUE(form->Timer->Enabled());
    form->VideoFrame->StopPlayback();
    EXPECT_FALSE(form->Timer->Enabled());
}

TEST_F(MainForm, ADvdEnablesItsButtonsBesidesTheStreamsItLacks) {
    Start();
    OpenDvd();
    // The fake navigator offers no audio or subtitle streams: their menus and buttons stay off.
    EXPECT_FALSE(form->miAudioTracks->Enabled());
    Names expected = kAllTen;
    std::erase(expected, L"bnAudio");
    std::erase(expected, L"bnSubtitles");
    EXPECT_EQ(expected, ClickableButtons(*form));
}

TEST_F(MainForm, TwoParametersOpenOnlyTheFirst) {
    Start({.Parameters = {"C:\\clips\\first.avi", "C:\\clips\\second.avi"}});
    EXPECT_EQ("C:\\clips\\first.avi", form->VideoFrame->FileName());
    EXPECT_EQ(1, graph->Calls("AddSourceFilter"));
    EXPECT_TRUE(form->ElapsedTimer->Enabled());
}

TEST_F(MainForm, WithoutTheSkinFileOneMessageNamesThePathAndTheWindowCloses) {
    const std::string path = VIREON_BUILD_DIR "\\testenv\\no such folder\\skins\\DVDTest.skn";
    for (const std::string& skin :
         {path, ScratchSkin("corrupt", [](std::string) { return "vireon-skin 1\nform"; })}) {
        SCOPED_TRACE(skin);
        caught.Messages.clear();
        bool closed = false;
        auto* failed = new TMainForm(nullptr, {.SkinPath = skin});
        failed->OnClose = [&](TObject*, TCloseAction&) { closed = true; };
        failed->DoCreate();
        EXPECT_FALSE(failed->Started());
        ASSERT_EQ(1u, caught.Messages.size());
        EXPECT_EQ("Skin '" + skin + " not found.", caught.Messages[0].Text);
        EXPECT_FALSE(failed->ElapsedTimer->Enabled());
        Application().ProcessMessages();
        EXPECT_TRUE(closed) << "the window was asked to close";
        EXPECT_FALSE(IsWindowVisible(failed->Handle()));
        failed->Free();
    }
}

TEST_F(MainForm, ASkinWithoutTheVideoAreaKeepsTheFrameWhereItWas) {
    const std::string skin = ScratchSkin("no-screen", [](std::string text) {
        const size_t at = text.find("  panel     pnScreen");
        return text.erase(at, text.find('\n', at) - at + 1);
    });
    Start({.SkinPath = skin});
    ASSERT_EQ(1u, caught.Messages.size());
    EXPECT_EQ("Could not initialize the skin engine", caught.Messages[0].Text);
    EXPECT_EQ("Error", caught.Messages[0].Caption);
    // Start-up went on: bound what came before the video area, not what comes after.
    EXPECT_TRUE(form->Started());
    EXPECT_NE(nullptr, form->Buttons());
    EXPECT_EQ(nullptr, form->SkinControls().FPositionBar.Get());
    // The frame stays at its design-time place (its anchors follow the window's new size).
    const RECT frame = form->VideoFrame->BoundsRect();
    EXPECT_EQ(0, frame.left);
    EXPECT_EQ(0, frame.top);
    EXPECT_LT(frame.right, 400) << Text(frame);
    EXPECT_LT(frame.bottom, 300) << Text(frame);
}

TEST_F(MainForm, NextButtonGoesToTheNextChapterWhileTheMenusNextScans) {
    Start();
    OpenDvd();
    fakes::Journal().clear();
    ClickSkinObject(*form, L"bnNext");
    EXPECT_EQ(1, dvdBuilder->control->Calls("PlayNextChapter"));
    EXPECT_EQ(0, dvdBuilder->control->Calls("PlayForwards"));
    Item("miNext")->Click();
    EXPECT_EQ(1, dvdBuilder->control->Calls("PlayForwards"));
    EXPECT_EQ(1, dvdBuilder->control->Calls("PlayNextChapter"));
    // The mini bar's name reaches the same hidden button of a window of that name: none here.
    ClickSkinObject(*form, L"bnPrev");
    EXPECT_EQ(1, dvdBuilder->control->Calls("PlayPrevChapter"));
}

TEST_F(MainForm, TopmostButtonOpensAboutAndColoursTheColourWindow) {
    Start();
    ClickSkinObject(*form, L"bnTopmost");
    Item("miColorControl")->Click();
    Item("miAbout")->Click();
    EXPECT_EQ((std::vector<std::string>{"About", "Colors", "About"}), caught.Windows);
    Item("miWriteUs")->Click();
    EXPECT_EQ((std::vector<std::string>{"mailto:support@vireon.example"}), caught.Links);
}

// A skin popup tracks modally. It counts as shown when its menu loop starts while the form tracks
// it, as a hook on this thread's sent messages sees; a timer then closes it. How long the loop
// lasts does not matter: something else may end it before the timer fires.
bool popupShown = false;
TMainForm* popupForm = nullptr;

LRESULT CALLBACK SeeMenuLoop(int Code, WPARAM WParam, LPARAM LParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(LParam);
    if (Code == HC_ACTION && sent->message == WM_ENTERMENULOOP && popupForm->PopupTracking())
        popupShown = true;
    return CallNextHookEx(nullptr, Code, WParam, LParam);
}

void CALLBACK ClosePopup(HWND, UINT, UINT_PTR, DWORD) {
    if (popupForm->PopupTracking())
        EndMenu();
}

bool PopupShownBy(TMainForm& Form, const std::function<void()>& Command) {
    popupShown = false;
    popupForm = &Form;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &SeeMenuLoop, nullptr, GetCurrentThreadId());
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, ClosePopup);
    Command();
    Application().ProcessMessages();
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(hook);
    return popupShown;
}

TEST_F(MainForm, AudioButtonShowsNothingWhileItsMenuIsDisabled) {
    Start();
    ASSERT_FALSE(form->miAudioTracks->Enabled());
    EXPECT_FALSE(PopupShownBy(*form, [&] { form->bnAudioClick(nullptr); }));
    EXPECT_FALSE(form->PopupTracking());
    // Enabled, the same command shows the menu (the check above can see one).
    form->miAudioTracks->SetEnabled(true);
    EXPECT_TRUE(PopupShownBy(*form, [&] { form->bnAudioClick(nullptr); }));
    EXPECT_FALSE(form->PopupTracking());
    EXPECT_TRUE(static_cast<bool>(form->VideoFrame->VideoWindow->OnMouseUp)) << "the video's handler is back";
}

TEST_F(MainForm, SlidersFollowPositionAndVolume) {
    Start();
    const TSkinControls& controls = form->SkinControls();
    // The graph as the first media brings it up.
    form->VideoFrame->FilterGraph->SetActive(true);
    // No duration: the slider stays at 0 and scrolling it seeks to 0.
    graph->duration = 0;
    graph->position = 1234;
    form->UpdatePosition();
    EXPECT_EQ(0, controls.FPositionBar->GetPos());
    form->SkinScroll(form->Skin(), controls.FPositionBar.Get(), 5000);
    EXPECT_EQ(0, graph->position);

    form->VideoFrame->SetVolume(10000);
    EXPECT_EQ(0, controls.FVolumeBar->GetPos());
    EXPECT_EQ(controls.FVolumeBar->GetRect().top, controls.FVolumeLine->GetRect().top);
    form->VideoFrame->SetVolume(0);
    EXPECT_EQ(10000, controls.FVolumeBar->GetPos());
    RECT line = controls.FVolumeLine->GetRect();
    EXPECT_EQ(line.bottom, line.top);
    // The volume slider sets the volume, upside down.
    form->SkinScroll(form->Skin(), controls.FVolumeBar.Get(), 2500);
    EXPECT_EQ(7500, form->VideoFrame->Volume());
    form->SkinScroll(form->Skin(), controls.FVolumeBar.Get(), 20000);
    EXPECT_EQ(0, form->VideoFrame->Volume());

    // A DVD of one hour, 30 minutes in.
    OpenDvd();
    graph->QueueEvent(EC_DVD_CURRENT_HMSF_TIME, 0x00001E00, 0);
    PumpMessages();
    form->UpdatePosition();
    EXPECT_EQ(8192, controls.FPositionBar->GetPos());
    // A seek moves the fill line at once, also while paused.
    form->SkinScroll(form->Skin(), controls.FPositionBar.Get(), 16384);
    EXPECT_EQ(controls.FPositionBar->GetRect().right, controls.FPositionLine->GetRect().right);
    EXPECT_EQ(1, dvdBuilder->control->Calls("PlayAtTime"));
    // "Next Frame" steps by the slider's step.
    controls.FPositionBar->SetPos(0);
    form->SkinScroll(form->Skin(), controls.FPositionBar.Get(), 0);
    form->bnNextFrameClick(nullptr);
    EXPECT_EQ(controls.FPositionBar->GetStep(), controls.FPositionBar->GetPos());
}

TEST_F(MainForm, ANewClockTakesPlaybackBackToTheBeginning) {
    Start();
    ASSERT_TRUE(form->VideoFrame->OpenMedia("C:\\clips\\holiday.avi", false));
    ASSERT_NE(nullptr, form->Seeking());
    graph->position = 50'000'000;
    graph->QueueEvent(EC_CLOCK_CHANGED, 0, 0);
    PumpMessages();
    EXPECT_EQ(0, graph->position);
    EXPECT_EQ(1, graph->Calls("SetPositions"));
    // At the beginning already (the clock is set at the first run): no seek.
    graph->position = 100'000;
    graph->QueueEvent(EC_CLOCK_CHANGED, 0, 0);
    PumpMessages();
    EXPECT_EQ(1, graph->Calls("SetPositions"));
    // Without the graph active nothing is held to seek with.
    form->VideoFrame->CloseMedia();
    EXPECT_EQ(nullptr, form->Seeking());
}

TEST_F(MainForm, FullScreenDropsTheScreenSaverAndWatchesTheMouse) {
    int created = 0, rolledUp = 0;
    ShellWindows().CreateMiniBar = [&] { ++created; };
    ShellWindows().MiniBarExists = [&] { return created > 0; };
    ShellWindows().MiniBarAutoShow = [] { return true; };
    ShellWindows().RollUpMiniBar = [&] { ++rolledUp; };
    Start();
    std::vector<WPARAM> reached;
    form->OnWindowMessage = [&](TMessage& Message) {
        if (Message.Msg != WM_SYSCOMMAND || (Message.WParam & 0xFFF0) != SC_SCREENSAVE)
            return false;
        reached.push_back(Message.WParam);
        return true;
    };
    PostMessageW(form->Handle(), WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    Application().ProcessMessages();
    EXPECT_EQ(1u, reached.size()) << "in a window it is dispatched";

    form->miFullScreenClick(nullptr);
    ASSERT_TRUE(form->VideoFrame->VideoWindow->IsFullScreen());
    EXPECT_TRUE(form->miFullScreen->Checked());
    PostMessageW(form->Handle(), WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    Application().ProcessMessages();
    EXPECT_EQ(1u, reached.size()) << "in full screen it is dropped";

    // The real pointer may have moved over the new full-screen window meanwhile: count from here.
    TVideoWindow* video = form->VideoFrame->VideoWindow;
    const int rolledBefore = rolledUp;
    form->VideoFrameVideoWindowMouseMove(video, 0, 10, 10);
    EXPECT_EQ(1, created);
    EXPECT_EQ(rolledBefore + 1, rolledUp);
    EXPECT_TRUE(form->ActivityTimer->Enabled());
    form->ActivityTimer->SetEnabled(false);
    form->VideoFrameVideoWindowMouseMove(video, 0, 10, 10);
    EXPECT_FALSE(form->ActivityTimer->Enabled()) << "a move by zero pixels is no activity";
    EXPECT_EQ(rolledBefore + 1, rolledUp);
    form->VideoFrameVideoWindowMouseMove(video, 0, 11, 10);
    EXPECT_TRUE(form->ActivityTimer->Enabled());
    EXPECT_EQ(1, created);
    EXPECT_EQ(rolledBefore + 2, rolledUp);

    form->miFullScreenClick(nullptr);
    EXPECT_FALSE(form->VideoFrame->VideoWindow->IsFullScreen());
    EXPECT_FALSE(form->miFullScreen->Checked());
    EXPECT_FALSE(form->ActivityTimer->Enabled()) << "no hiding of the cursor in the window";
    EXPECT_EQ(crDefault, form->VideoFrame->VideoWindow->Cursor());
    form->OnWindowMessage = nullptr;
}

class Throwing : public TTimer {
public:
    Throwing(const char* Message, UINT Interval) : TTimer(nullptr, {"Throwing", Interval, true, {}}) {
        OnTimer = [Message](TObject*) { throw std::runtime_error(Message); };
    }
};

TEST_F(MainForm, ErrorsOfHandlersTimersAndCommandsReachTheMail) {
    Start();
    Application().HandleException(std::runtime_error("Disk full"));
    ASSERT_EQ(1u, caught.Links.size());
    EXPECT_EQ(
        "mailto:support@vireon.example?Subj=Bug%20Report&Body=Hello%20Vireon's%20Developers!%0D%20%20I%20"
        "would%20like%20to%20report%20a%20bug%20(Disk%20full)%0D%20%20Steps%20to%20reproduce%20the%20bug:%20",
        caught.Links[0]);
    Application().HandleException(std::runtime_error(""));
    ASSERT_EQ(2u, caught.Links.size());
    EXPECT_NE(std::string::npos, caught.Links[1].find("bug%20()%0D"));

    // A skin event handler.
    ShellWindows().ShowAbout = [] { throw std::runtime_error("About & more"); };
    ClickSkinObject(*form, L"bnTopmost");
    ASSERT_EQ(3u, caught.Links.size());
    EXPECT_NE(std::string::npos, caught.Links[2].find("(About%20%26%20more)"));

    // A menu command, as the menu sends it.
    ShellWindows().ShowColorControl = [] { throw std::runtime_error("no colours"); };
    PostMessageW(form->Handle(), WM_COMMAND, Item("miColorControl")->Command(), 0);
    Application().ProcessMessages();
    ASSERT_EQ(4u, caught.Links.size());
    EXPECT_NE(std::string::npos, caught.Links[3].find("(no%20colours)"));

    // A timer failing on every tick: one mail, and the window still answers.
    {
        Throwing flood("tick failed", 10);
        EXPECT_TRUE(testsupport::PumpUntil(
            [&] {
                Application().ProcessMessages();
                return form->BugReport().SuppressedRepeats() >= 5;
            },
            5000));
    }
    EXPECT_EQ(5u, caught.Links.size());
    caught.Windows.clear();
    ShellWindows().ShowAbout = [&] { caught.Windows.push_back("About"); };
    ClickSkinObject(*form, L"bnTopmost");
    EXPECT_EQ(1u, caught.Windows.size());
}

TEST_F(MainForm, ClosingReleasesTheSkinObjectsAndTheMedia) {
    Start();
    ASSERT_TRUE(form->VideoFrame->OpenMedia("C:\\clips\\holiday.avi", false));
    form->Close();
    EXPECT_EQ(nullptr, form->SkinControls().FPositionBar.Get());
    EXPECT_EQ(nullptr, form->Buttons());
    EXPECT_FALSE(form->Timer->Enabled());
    EXPECT_FALSE(form->VideoFrame->FilterGraph->Active());
}

TEST(MainFormText, ParametersKeepQuotesSpacesAndLettersOutsideTheCodePage) {
    EXPECT_EQ((std::vector<std::string>{"C:\\my clips\\a b.avi", "two"}),
              CommandLineParameters(L"vireon.exe \"C:\\my clips\\a b.avi\" two"));
    EXPECT_TRUE(CommandLineParameters(L"vireon.exe").empty());
    // A name the ANSI code page cannot hold opens by its short name when the file exists.
    const std::wstring folder = L"" VIREON_BUILD_DIR L"/testenv/shell-tests";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring name = folder + L"\\\x0416\x0443\x043A \x65E5\x672C.avi";
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    const std::string path = AnsiPathFromWide(name);
    EXPECT_EQ(std::string::npos, path.find('?'));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
    DeleteFileW(name.c_str());
}

} // namespace

namespace {

// The platform's own DirectShow: the sample clip plays, a folder does not.
TEST(MainFormRealGraph, AFolderParameterIsReportedAsNotPlayable) {
    ComInitialization com;
    shelltest::TCaughtEffects caught;
    TMainForm* form = StartMainForm({.Parameters = {VIREON_BUILD_DIR "\\samples"}});
    ASSERT_EQ(1u, caught.Messages.size());
    EXPECT_EQ(kCannotPlayMessage, caught.Messages[0].Text);
    // The player stays open and idle.
    EXPECT_TRUE(form->Started());
    EXPECT_TRUE(form->ElapsedTimer->Enabled());
    EXPECT_FALSE(form->Timer->Enabled());
    form->Free();
    Application().ProcessMessages();
}

TEST(MainFormRealGraph, TheFirstParameterPlaysAndTheSliderFollows) {
    ComInitialization com;
    shelltest::TCaughtEffects caught;
    const std::string sample = shelltest::SamplePath();
    TMainForm* form = StartMainForm({.Parameters = {sample, "Z:\\no such clip.avi"}});
    EXPECT_TRUE(caught.Messages.empty());
    EXPECT_EQ(sample, form->VideoFrame->FileName());
    EXPECT_TRUE(form->VideoFrame->Playing());
    EXPECT_TRUE(form->Timer->Enabled());
    EXPECT_NE(nullptr, form->Seeking());
    const TSkinControls& controls = form->SkinControls();
    EXPECT_TRUE(testsupport::PumpUntil(
        [&] {
            Application().ProcessMessages();
            return controls.FPositionBar->GetPos() > 0 && controls.ElapsedText == "0:00:01";
        },
        10000));
    const RECT line = controls.FPositionLine->GetRect();
    EXPECT_GT(line.right, line.left);
    EXPECT_EQ("sample", controls.CaptionText);
    EXPECT_EQ(kFileButtons, ClickableButtons(*form));
    form->Close();
    form->Free();
    Application().ProcessMessages();
}

} // namespace
