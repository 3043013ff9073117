// The mini control bar over full-screen video, with the main window on the shipped skin and the fake
// DirectShow kit: made on the first movement over the video, rolling up and down, minimised for two
// seconds, hidden at once when full screen ends, its timers and commands, and skins that lack parts.
#include "MainFormSupport.h"

#include "shell/TAboutDlg.h"
#include "shell/TColorControlForm.h"
#include "shell/TMiniControlForm.h"

#include "support/FakeGraphFixture.h"

#include "forms/TApplication.h"
#include "forms/TScreen.h"

#include <fstream>
#include <regex>
#include <sstream>

using namespace vireon;
using shelltest::StartMainForm;

namespace {

class MiniBar : public FakeGraphTest {
protected:
    void SetUp() override {
        FakeGraphTest::SetUp();
        dvdBuilder->info->totalTime = {1, 0, 0, 0};
    }
    void TearDown() override {
        if (AboutDlg)
            FreeComponent(AboutDlg);
        if (ColorControlForm)
            FreeComponent(ColorControlForm);
        if (MiniControlForm)
            MiniControlForm->Free();
        if (form)
            form->Free();
        Application().ProcessMessages();
        EXPECT_EQ(nullptr, MiniControlForm);
        FakeGraphTest::TearDown();
    }

    void Start(TMainFormStart Begin = {}) {
        form = StartMainForm(std::move(Begin));
        ASSERT_TRUE(form->Started());
        InstallShellWindows(*form);
    }

    // Full screen with a file playing; the bar is made by the first movement over the video.
    void FullScreenWithBar(const char* Media = "C:\\clips\\holiday.avi") {
        ASSERT_TRUE(form->VideoFrame->OpenMedia(Media, false));
        Application().ProcessMessages();
        form->miFullScreenClick(nullptr);
        ASSERT_TRUE(form->VideoFrame->VideoWindow->IsFullScreen());
        EXPECT_EQ(nullptr, MiniControlForm) << "no bar before the mouse moves";
        MoveOverVideo();
        ASSERT_NE(nullptr, MiniControlForm);
        bar = MiniControlForm;
    }

    void MoveOverVideo() {
        form->VideoFrameVideoWindowMouseMove(form->VideoFrame->VideoWindow, 0, ++mouseX, 20);
    }

    // Runs the bar's animation tick by tick; answers the number of ticks.
    int Animate() {
        int ticks = 0;
        while (bar->Timer->Enabled() && ticks < 1000) {
            bar->TimerTimer(bar->Timer);
            ++ticks;
        }
        return ticks;
    }

    void ClickOnBar(const std::wstring& Name) {
        Microsoft::WRL::ComPtr<skin::ISkinVisual> visual;
        ASSERT_TRUE(SUCCEEDED(form->Skin()->GetSkinForm(bar->Handle())->FindObject(Name).As(&visual)));
        const RECT r = visual->GetRect();
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageW(bar->Handle(), WM_MOUSEMOVE, 0, at);
        PostMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(bar->Handle(), WM_LBUTTONUP, 0, at);
        Application().ProcessMessages();
    }

    shelltest::TCaughtEffects caught;
    TMainForm* form = nullptr;
    TMiniControlForm* bar = nullptr;
    int mouseX = 10;
};

TEST_F(MiniBar, RollsUpOnMovementDownAfterRestAndHidesAtOnceWhenFullScreenEnds) {
    Start();
    FullScreenWithBar();
    EXPECT_EQ("MiniControlForm", bar->Name());
    EXPECT_EQ(Screen().Width(), bar->Width()) << "as wide as the screen";
    EXPECT_EQ(96, bar->Height()) << "the skin's design height";
    EXPECT_EQ(0, bar->Left());
    EXPECT_TRUE(bar->Visible());
    EXPECT_TRUE(bar->RollingUp());
    EXPECT_EQ(Screen().Height(), bar->Top()) << "rolls from just below the screen";
    EXPECT_EQ(24, Animate());
    EXPECT_EQ(Screen().Height() - 96, bar->Top());
    EXPECT_TRUE(GetWindowLongW(bar->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(form->VideoFrame->Popup, bar->PopupMenu());
    EXPECT_TRUE(bar->VideoTimer->Enabled());
    EXPECT_EQ(500u, bar->VideoTimer->Interval());
    EXPECT_EQ(2000u, bar->MinimizeTimer->Interval());
    EXPECT_FALSE(bar->MinimizeTimer->Enabled());

    // Three seconds of rest: the activity timer rolls it down and the cursor goes.
    ASSERT_TRUE(form->ActivityTimer->Enabled());
    EXPECT_EQ(3000u, form->ActivityTimer->Interval());
    form->ActivityTimerTimer(form->ActivityTimer);
    EXPECT_FALSE(bar->RollingUp());
    EXPECT_EQ(24, Animate());
    EXPECT_FALSE(bar->Visible());

    // Movement over the bar restarts the activity timer.
    MoveOverVideo();
    Animate();
    form->ActivityTimer->SetEnabled(false);
    SendMessageW(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 5));
    EXPECT_TRUE(form->ActivityTimer->Enabled());

    // "bnClose_m" leaves full screen: the bar is gone at once, without rolling down.
    ClickOnBar(L"bnClose_m");
    EXPECT_FALSE(form->VideoFrame->VideoWindow->IsFullScreen());
    EXPECT_FALSE(bar->Visible());
    EXPECT_FALSE(bar->Timer->Enabled());
    EXPECT_FALSE(form->ActivityTimer->Enabled()) << "in a window the cursor is not hidden";
    EXPECT_EQ(bar, MiniControlForm) << "kept for the next full screen";
}

TEST_F(MiniBar, MinimiseKeepsItDownForTwoSeconds) {
    Start();
    FullScreenWithBar();
    Animate();
    ClickOnBar(L"bnMinimize_m");
    EXPECT_FALSE(bar->AutoShow());
    EXPECT_TRUE(bar->MinimizeTimer->Enabled());
    EXPECT_FALSE(bar->RollingUp());
    MoveOverVideo();
    EXPECT_FALSE(bar->RollingUp()) << "movement does not bring it back yet";
    Animate();
    EXPECT_FALSE(bar->Visible());
    bar->MinimizeTimerTimer(bar->MinimizeTimer); // two seconds later
    EXPECT_FALSE(bar->MinimizeTimer->Enabled());
    EXPECT_TRUE(bar->AutoShow());
    EXPECT_FALSE(bar->Visible()) << "nothing moves by itself";
    MoveOverVideo();
    EXPECT_TRUE(bar->RollingUp());
    EXPECT_TRUE(bar->Visible());
}

TEST_F(MiniBar, PausingStopsItsPositionAndTimeUpdatesAndPlayingStartsThem) {
    Start();
    FullScreenWithBar();
    ASSERT_TRUE(form->VideoFrame->Playing());
    EXPECT_TRUE(bar->VideoTimer->Enabled());
    Microsoft::WRL::ComPtr<skin::ISkinVisual> pause = bar->SkinControls().FPauseButton;
    const RECT r = pause->GetRect();
    const POINT centre = bar->ClientToScreen({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    EXPECT_EQ(1, pause->HitTest(centre.x, centre.y)) << "a bar made while playing shows pause";
    bar->VideoTimerTimer(bar->VideoTimer);
    EXPECT_EQ(form->VideoFrame->GetTimeText(), bar->SkinControls().ElapsedText);
    ClickOnBar(L"bnPause_m");
    EXPECT_FALSE(form->VideoFrame->Playing());
    EXPECT_FALSE(bar->VideoTimer->Enabled());
    ClickOnBar(L"bnPlay_m");
    EXPECT_TRUE(form->VideoFrame->Playing());
    EXPECT_TRUE(bar->VideoTimer->Enabled());
    EXPECT_EQ(form->VideoFrame->GetTitleText(), bar->SkinControls().CaptionText);
}

TEST_F(MiniBar, NextScansOnTheBarWhileTheMainWindowsNextChangesChapter) {
    Start();
    FullScreenWithBar("E:\\VIDEO_TS\\VIDEO_TS.IFO");
    Animate();
    ClickOnBar(L"bnNext_m");
    EXPECT_EQ(1, dvdBuilder->control->Calls("PlayForwards"));
    EXPECT_EQ(0, dvdBuilder->control->Calls("PlayNextChapter"));
    ClickOnBar(L"bnPrev_m");
    EXPECT_EQ(1, dvdBuilder->control->Calls("PlayBackwards"));
    form->FindComponent("bnNext") ? static_cast<TControl*>(form->FindComponent("bnNext"))->Click() : void();
    EXPECT_EQ(1, dvdBuilder->control->Calls("PlayNextChapter"));
    EXPECT_EQ(1, dvdBuilder->control->Calls("PlayForwards"));
}

TEST_F(MiniBar, ItsButtonsFollowTheMediaAndItsSlidersActOnPlayback) {
    Start();
    FullScreenWithBar();
    TButtonController& buttons = *bar->Buttons();
    // A file: the DVD buttons are off on the bar as on the main window.
    for (int i = 0; i < TButtonController::kButtonCount; ++i)
        ASSERT_NE(nullptr, buttons.Button(i)) << i;
    const auto& controls = bar->SkinControls();
    ASSERT_TRUE(controls.FPositionBar);
    ASSERT_TRUE(controls.FVolumeBar);

    // The volume slider follows the volume and sets it.
    form->VideoFrame->SetVolume(2500);
    EXPECT_EQ(10000 - 2500, controls.FVolumeBar->GetPos());
    form->SkinScroll(form->Skin(), controls.FVolumeBar.Get(), 1000);
    EXPECT_EQ(9000, form->VideoFrame->Volume());
    EXPECT_EQ(1000, controls.FVolumeBar->GetPos());

    // Step forward moves the bar's own slider by its step and seeks there.
    controls.FPositionBar->SetPos(1000);
    ClickOnBar(L"bnNextFrame_m");
    EXPECT_EQ(1000 + controls.FPositionBar->GetStep(), controls.FPositionBar->GetPos());

    // Mute and sound on from the bar.
    ClickOnBar(L"bnMute_m");
    EXPECT_TRUE(form->VideoFrame->Muted());
    ClickOnBar(L"bnMuteOff_m");
    EXPECT_FALSE(form->VideoFrame->Muted());

    // The colour window and About come from the bar as from the main window.
    ClickOnBar(L"bnColors_m");
    ClickOnBar(L"bnTopmost_m");
    EXPECT_NE(nullptr, ColorControlForm);
    EXPECT_NE(nullptr, AboutDlg);
}

TEST_F(MiniBar, AScreenNarrowerThanTheDesignAndASkinLackingPartsStillWork) {
    // A skin whose bar has only some of its objects: no position slider, no texts, no volume.
    const std::string folder = VIREON_BUILD_DIR "/testenv/shell-tests/minibar-parts";
    CreateDirectoryA(VIREON_BUILD_DIR "/testenv", nullptr);
    CreateDirectoryA(VIREON_BUILD_DIR "/testenv/shell-tests", nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    std::ifstream in(VIREON_BUILD_DIR "/bin/skins/DVDTest.skn", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::regex missing(
        R"(\n *\S+ +(sbPosition|sbPositionLine|lbFilmCaption|lbFilmElapsed|sbVolume|bnPlay)_m [^\n]*)");
    std::ofstream(folder + "/DVDTest.skn", std::ios::binary) << std::regex_replace(text.str(), missing, "");
    Start({.SkinPath = folder + "/DVDTest.skn"});
    FullScreenWithBar();
    EXPECT_FALSE(bar->SkinControls().FPositionBar);
    EXPECT_FALSE(bar->SkinControls().FElapsedLabel);
    Animate();
    bar->VideoTimerTimer(bar->VideoTimer);
    ClickOnBar(L"bnNextFrame_m");
    ClickOnBar(L"bnPause_m");
    EXPECT_FALSE(form->VideoFrame->Playing());
    form->VideoFrame->SetVolume(100);

    // The shipped bar on a screen of 640 pixels: laid out again, still rolling and updating.
    bar->SetBounds(0, bar->Top(), 640, bar->Height());
    bar->RefreshCaptionAndButtons();
    form->ActivityTimerTimer(form->ActivityTimer);
    Animate();
    EXPECT_FALSE(bar->Visible());
    EXPECT_TRUE(caught.Messages.empty());
}

} // namespace
