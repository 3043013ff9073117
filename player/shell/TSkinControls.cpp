#include "shell/TSkinControls.h"

#include "common/TextConversion.h"

#include <algorithm>

namespace vireon {

using Microsoft::WRL::ComPtr;

namespace {

template <typename Interface> ComPtr<Interface> FindAs(skin::ISkinForm* Form, const std::wstring& Name) {
    ComPtr<Interface> object;
    if (ComPtr<skin::ISkinObject> found = Form->FindObject(Name))
        found.As(&object);
    return object;
}

} // namespace

int PositionToSlider(int64_t Position, int64_t Duration) {
    if (Duration <= 0)
        return 0;
    const int64_t clamped = std::clamp<int64_t>(Position, 0, Duration);
    // Beyond 2^49 the product would overflow; such a duration divides first.
    if (clamped > (INT64_MAX / kPositionSliderMax))
        return int(clamped / (Duration / kPositionSliderMax));
    return int(clamped * kPositionSliderMax / Duration);
}

int64_t SliderToPosition(int64_t Value, int64_t Duration) {
    if (Duration <= 0)
        return 0;
    const int64_t clamped = std::clamp<int64_t>(Value, 0, kPositionSliderMax);
    if (Duration > INT64_MAX / kPositionSliderMax)
        return Duration / kPositionSliderMax * clamped;
    return clamped * Duration / kPositionSliderMax;
}

RECT PositionLineRect(RECT Line, const RECT& Bar, int Value) {
    Line.right = Line.left +
                 MulDiv(Bar.right - Line.left, std::clamp(Value, 0, kPositionSliderMax), kPositionSliderMax);
    return Line;
}

RECT VolumeLineRect(RECT Line, const RECT& Bar, int Volume) {
    Line.top = std::clamp(Volume, 0, kVolumeMax) * (Bar.top - Bar.bottom) / kVolumeMax + Bar.bottom;
    return Line;
}

bool UserDragsBar(skin::ISkinVisual* Bar) {
    if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000))
        return false;
    POINT cursor{};
    return GetCursorPos(&cursor) && Bar->HitTest(cursor.x, cursor.y) == 1;
}

void TSkinControls::Bind(skin::ISkinForm* Form, const std::wstring& Suffix) {
    FPositionBar = FindAs<skin::ISkinScrollBar>(Form, L"sbPosition" + Suffix);
    FPositionRect = FPositionBar ? FPositionBar->GetRect() : RECT{};
    if ((FPositionLine = FindAs<skin::ISkinStatic>(Form, L"sbPositionLine" + Suffix))) {
        RECT line = FPositionLine->GetRect();
        line.right = line.left;
        FPositionLine->SetRect(line);
    }
    FVolumeBar = FindAs<skin::ISkinScrollBar>(Form, L"sbVolume" + Suffix);
    FVolumeRect = FVolumeBar ? FVolumeBar->GetRect() : RECT{};
    if ((FVolumeLine = FindAs<skin::ISkinStatic>(Form, L"sbVolumeLine" + Suffix))) {
        RECT line = FVolumeLine->GetRect();
        line.top = line.bottom;
        FVolumeLine->SetRect(line);
    }
    FPlayButton = FindAs<skin::ISkinVisual>(Form, L"bnPlay" + Suffix);
    FPauseButton = FindAs<skin::ISkinVisual>(Form, L"bnPause" + Suffix);
    FMuteOffButton = FindAs<skin::ISkinVisual>(Form, L"bnMuteOff" + Suffix);
    FCaptionLabel = FindAs<skin::ISkinStatic>(Form, L"lbFilmCaption" + Suffix);
    FElapsedLabel = FindAs<skin::ISkinStatic>(Form, L"lbFilmElapsed" + Suffix);
}

void TSkinControls::Release() {
    *this = TSkinControls{};
}

void TSkinControls::SetPositionMax() {
    if (FPositionBar)
        FPositionBar->SetMax(kPositionSliderMax);
}

bool TSkinControls::UpdatePosition(int64_t Position, int64_t Duration) {
    if (!FPositionBar || UserDragsBar(FPositionBar.Get()))
        return false;
    const int value = PositionToSlider(Position, Duration);
    FPositionBar->SetPos(value);
    ShowPositionLine(value);
    return true;
}

void TSkinControls::ShowPositionLine(int Value) {
    if (FPositionLine && FPositionBar)
        FPositionLine->SetRect(PositionLineRect(FPositionLine->GetRect(), FPositionBar->GetRect(), Value));
}

bool TSkinControls::RefreshVolume(int Volume) {
    if (!FVolumeBar || UserDragsBar(FVolumeBar.Get()))
        return false;
    FVolumeBar->SetPos(kVolumeMax - std::clamp(Volume, 0, kVolumeMax));
    ShowVolumeLine(Volume);
    return true;
}

void TSkinControls::ShowVolumeLine(int Volume) {
    if (FVolumeLine && FVolumeBar)
        FVolumeLine->SetRect(VolumeLineRect(FVolumeLine->GetRect(), FVolumeBar->GetRect(), Volume));
}

void TSkinControls::FollowSliders() {
    if (FPositionBar)
        ShowPositionLine(FPositionBar->GetPos());
    if (FVolumeBar)
        ShowVolumeLine(kVolumeMax - FVolumeBar->GetPos());
}

void TSkinControls::ShowPlaying(bool Playing) {
    if (FPlayButton)
        FPlayButton->SetVisible(!Playing);
    if (FPauseButton)
        FPauseButton->SetVisible(Playing);
}

void TSkinControls::ShowMuted(bool Muted) {
    if (FMuteOffButton)
        FMuteOffButton->SetVisible(Muted);
}

void TSkinControls::ShowCaption(const std::string& Text) {
    if (!FCaptionLabel)
        return;
    FCaptionLabel->SetText(WideFromAnsi(Text));
    CaptionText = Text;
}

void TSkinControls::ShowElapsed(const std::string& Text) {
    if (!FElapsedLabel)
        return;
    FElapsedLabel->SetText(WideFromAnsi(Text));
    ElapsedText = Text;
}

} // namespace vireon
