// The skin objects the shell drives, on the shipped skin: the button controller's names and masks,
// the sliders' arithmetic and fill lines, and the drag guard with a real mouse button.
#include "shell/TButtonController.h"
#include "shell/TSkinControls.h"

#include "SkinnedWindow.h"
#include "support/MessagePump.h"

#include <gtest/gtest.h>

#include <windows.h>

using Microsoft::WRL::ComPtr;
using namespace vireon;

namespace {

class SkinParts : public ::testing::Test {
protected:
    shelltest::TSkinnedWindow skinned{WS_POPUP, {50, 50, 450, 350}};
    HWND window = skinned.Window;
    ComPtr<skin::ISkin> skin = skinned.Skin;
    ComPtr<skin::ISkinForm> form = skinned.Form;

    template <typename Interface> ComPtr<Interface> Object(const wchar_t* Name) {
        ComPtr<Interface> object;
        EXPECT_TRUE(SUCCEEDED(form->FindObject(Name).As(&object))) << "no object in the skin";
        return object;
    }
};

TEST_F(SkinParts, ButtonControllerFindsTheTenButtonsByStemAndSuffix) {
    TButtonController main(form.Get(), L"");
    for (int i = 0; i < TButtonController::kButtonCount; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(nullptr, main.Button(i));
        EXPECT_EQ(L"bn" + std::wstring(TButtonController::Stems()[i]), main.Button(i)->GetName());
    }
    // The main window's skin form has no "_m" objects: every slot stays empty, and masks skip them.
    TButtonController mini(form.Get(), L"_m");
    for (int i = 0; i < TButtonController::kButtonCount; ++i)
        EXPECT_EQ(nullptr, mini.Button(i));
    mini.DisableButtons(TButtonController::kAllButtons);
    mini.EnableButtons(TButtonController::kAllButtons);
}

TEST_F(SkinParts, MasksEnableAndDisableExactlyTheirButtons) {
    TButtonController buttons(form.Get(), L"");
    std::vector<std::wstring> clicked;
    skin->Events().OnClick = [&](skin::ISkin*, skin::ISkinObject* Source) {
        clicked.push_back(Source->GetName());
    };
    auto clickAll = [&] {
        clicked.clear();
        const skin::TSkinFrame frame = form->GetFrame();
        for (int i = 0; i < TButtonController::kButtonCount; ++i) {
            const RECT r = buttons.Button(i)->GetRect();
            const LPARAM at =
                MAKELPARAM((r.left + r.right) / 2 - frame.Left, (r.top + r.bottom) / 2 - frame.Top);
            SendMessageW(window, WM_MOUSEMOVE, 0, at);
            SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageW(window, WM_LBUTTONUP, 0, at);
        }
        return clicked;
    };
    // The window is smaller than the form; make it the form's size so every button can be hit.
    SetWindowPos(window, nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
    buttons.DisableButtons(TButtonController::kAllButtons);
    EXPECT_TRUE(clickAll().empty());
    buttons.EnableButtons(TButtonController::kAllButtons);
    buttons.DisableButtons(TButtonController::kDvdButtons);
    std::vector<std::wstring> expected{L"bnPrev",     L"bnNext", L"bnColors",   L"bnFullScreen",
                                       L"bnMaximize", L"bnStop", L"bnNextFrame"};
    EXPECT_EQ(expected, clickAll());
    buttons.EnableButtons(TButtonController::kAudioButton);
    expected.insert(expected.begin() + 2, L"bnAudio");
    EXPECT_EQ(expected, clickAll());
}

TEST(SliderArithmetic, PositionAndVolumeScales) {
    // A DVD of one hour, in seconds, at half time.
    EXPECT_EQ(8192, PositionToSlider(1800, 3600));
    EXPECT_EQ(16384, PositionToSlider(3600, 3600));
    // A file in 100-ns units, 10 s long, at 2.5 s.
    EXPECT_EQ(4096, PositionToSlider(25'000'000, 100'000'000));
    EXPECT_EQ(1800, SliderToPosition(8192, 3600));
    // Without a duration the slider stays at 0 and scrolling seeks to 0.
    EXPECT_EQ(0, PositionToSlider(1234, 0));
    EXPECT_EQ(0, SliderToPosition(9000, 0));
    // Off the scale: a slider value beyond its maximum, a position past the end or before it.
    EXPECT_EQ(3600, SliderToPosition(99999, 3600));
    EXPECT_EQ(0, SliderToPosition(-5, 3600));
    EXPECT_EQ(16384, PositionToSlider(5000, 3600));
    EXPECT_EQ(0, PositionToSlider(-1, 3600));
    // Durations near the end of the 64-bit range do not overflow.
    const int64_t huge = INT64_MAX / 2;
    EXPECT_EQ(8192, PositionToSlider(huge / 2, huge));
    EXPECT_GE(SliderToPosition(16384, huge), huge - 16384);

    const RECT bar{12, 505, 788, 521};
    // The platform's MulDiv rounds to nearest: 776 x 1 / 16384 is 0.05, 776 x 11 / 16384 is 0.52.
    EXPECT_EQ(12, PositionLineRect({12, 511, 12, 515}, bar, 1).right);
    EXPECT_EQ(13, PositionLineRect({12, 511, 12, 515}, bar, 11).right);
    EXPECT_EQ(400, PositionLineRect({12, 511, 12, 515}, bar, 8192).right);
    EXPECT_EQ(788, PositionLineRect({12, 511, 12, 515}, bar, 16384).right);

    const RECT volume{762, 531, 778, 611};
    EXPECT_EQ(531, VolumeLineRect({768, 611, 772, 611}, volume, 10000).top);
    EXPECT_EQ(611, VolumeLineRect({768, 531, 772, 611}, volume, 0).top);
    // Integer division towards zero: 80 x 3333 / 10000 is 26.66.
    EXPECT_EQ(611 - 26, VolumeLineRect({768, 531, 772, 611}, volume, 3333).top);
}

TEST_F(SkinParts, BindingEmptiesTheFillLinesAndTheDisplayFollowsTheFrame) {
    TSkinControls controls;
    controls.Bind(form.Get(), L"");
    ASSERT_TRUE(controls.FPositionBar && controls.FPositionLine && controls.FVolumeBar &&
                controls.FVolumeLine);
    ASSERT_TRUE(controls.FPlayButton && controls.FPauseButton && controls.FMuteOffButton);
    ASSERT_TRUE(controls.FCaptionLabel && controls.FElapsedLabel);
    RECT line = controls.FPositionLine->GetRect();
    EXPECT_EQ(line.left, line.right);
    line = controls.FVolumeLine->GetRect();
    EXPECT_EQ(line.top, line.bottom);

    controls.SetPositionMax();
    ASSERT_TRUE(controls.UpdatePosition(1800, 3600));
    EXPECT_EQ(8192, controls.FPositionBar->GetPos());
    const RECT bar = controls.FPositionBar->GetRect();
    line = controls.FPositionLine->GetRect();
    EXPECT_EQ(line.left + MulDiv(bar.right - line.left, 8192, 16384), line.right);

    ASSERT_TRUE(controls.RefreshVolume(10000));
    EXPECT_EQ(0, controls.FVolumeBar->GetPos());
    EXPECT_EQ(controls.FVolumeBar->GetRect().top, controls.FVolumeLine->GetRect().top);
    ASSERT_TRUE(controls.RefreshVolume(0));
    EXPECT_EQ(10000, controls.FVolumeBar->GetPos());
    line = controls.FVolumeLine->GetRect();
    EXPECT_EQ(line.bottom, line.top);

    // The window grows: the lines are measured on the sliders' new rectangles.
    controls.UpdatePosition(3600, 3600);
    SetWindowPos(window, nullptr, 0, 0, 1000, 700, SWP_NOMOVE | SWP_NOZORDER);
    controls.FollowSliders();
    EXPECT_EQ(controls.FPositionBar->GetRect().right, controls.FPositionLine->GetRect().right);
    EXPECT_EQ(908, controls.FPositionLine->GetRect().right); // 92 pixels short of the edge, before the volume
}

TEST_F(SkinParts, NothingBoundInAFormWithoutTheObjects) {
    TSkinControls controls;
    controls.Bind(form.Get(), L"_m");
    EXPECT_FALSE(controls.FPositionBar || controls.FPositionLine || controls.FVolumeBar ||
                 controls.FVolumeLine);
    EXPECT_FALSE(controls.UpdatePosition(1, 2));
    EXPECT_FALSE(controls.RefreshVolume(5000));
    controls.ShowPlaying(true);
    controls.ShowCaption("nothing to show it on");
}

// The user holds the left button on the position slider: the timer does not move it.
TEST_F(SkinParts, DragGuardLeavesTheSliderUnderTheMouse) {
    SetWindowPos(window, HWND_TOP, 0, 0, 800, 600, SWP_NOZORDER);
    testsupport::PumpMessages();
    TSkinControls controls;
    controls.Bind(form.Get(), L"");
    controls.SetPositionMax();
    controls.UpdatePosition(1000, 16384);
    RECT window_rect{};
    GetWindowRect(window, &window_rect);
    const RECT bar = controls.FVolumeBar->GetRect();
    const POINT onBar{window_rect.left + (bar.left + bar.right) / 2,
                      window_rect.top + (bar.top + bar.bottom) / 2};
    const RECT position = controls.FPositionBar->GetRect();
    const POINT onPosition{window_rect.left + (position.left + position.right) / 2,
                           window_rect.top + (position.top + position.bottom) / 2};
    auto input = [](POINT at, DWORD flags) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
        SendInput(1, &in, sizeof(in));
        testsupport::PumpMessagesFor(50);
    };
    input(onPosition, 0);
    input(onPosition, MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(GetAsyncKeyState(VK_LBUTTON) & 0x8000) << "the platform did not take the button";
    const int held = controls.FPositionBar->GetPos();
    EXPECT_FALSE(controls.UpdatePosition(2000, 16384));
    EXPECT_EQ(held, controls.FPositionBar->GetPos());
    // The button is down elsewhere than on the volume slider: that one follows.
    EXPECT_TRUE(controls.RefreshVolume(5000));
    input(onPosition, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(controls.UpdatePosition(2000, 16384));
    EXPECT_EQ(2000, controls.FPositionBar->GetPos());
    // Down on the volume slider, the volume display waits.
    input(onBar, MOUSEEVENTF_LEFTDOWN);
    EXPECT_FALSE(controls.RefreshVolume(1000));
    input(onBar, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(controls.RefreshVolume(1000));
}

} // namespace
