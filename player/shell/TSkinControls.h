// The skin objects a player window drives: the position and volume sliders with their fill lines,
// play and pause, the muted sign and the two labels, bound by name (with a suffix for the mini
// bar's copies), and the arithmetic between the sliders and the frame's position and volume.
#pragma once

#include "skin/SkinInterfaces.h"

#include <cstdint>
#include <string>

namespace vireon {

// The position slider runs from 0 to 16384, the volume slider from 0 (full) to 10000 (silent).
inline constexpr int kPositionSliderMax = 16384;
inline constexpr int kVolumeMax = 10000;

// Slider value of a position: Position x 16384 div Duration, 0 without a duration, kept on the
// slider's scale when the position lies outside the media.
int PositionToSlider(int64_t Position, int64_t Duration);
// The position a slider value stands for; a value off the scale counts as its nearest end.
int64_t SliderToPosition(int64_t Value, int64_t Duration);
// The position fill line for a slider value: from its own left edge towards the bar's right edge.
RECT PositionLineRect(RECT Line, const RECT& Bar, int Value);
// The volume fill line for a volume: up from the bar's bottom edge towards its top edge.
RECT VolumeLineRect(RECT Line, const RECT& Bar, int Volume);
// True while the left mouse button is down on the bar: the user is dragging it.
bool UserDragsBar(skin::ISkinVisual* Bar);

struct TSkinControls {
    RECT FPositionRect{};
    Microsoft::WRL::ComPtr<skin::ISkinScrollBar> FPositionBar;
    Microsoft::WRL::ComPtr<skin::ISkinStatic> FPositionLine;
    RECT FVolumeRect{};
    Microsoft::WRL::ComPtr<skin::ISkinScrollBar> FVolumeBar;
    Microsoft::WRL::ComPtr<skin::ISkinStatic> FVolumeLine;
    Microsoft::WRL::ComPtr<skin::ISkinVisual> FPlayButton;
    Microsoft::WRL::ComPtr<skin::ISkinVisual> FPauseButton;
    Microsoft::WRL::ComPtr<skin::ISkinVisual> FMuteOffButton;
    Microsoft::WRL::ComPtr<skin::ISkinStatic> FCaptionLabel;
    Microsoft::WRL::ComPtr<skin::ISkinStatic> FElapsedLabel;
    // What the two labels show now.
    std::string CaptionText;
    std::string ElapsedText;

    // Binds the sliders (their fill lines emptied), the buttons and the labels named with Suffix, in
    // that order; what the form lacks stays empty. An error leaves bound what was bound before it.
    void Bind(skin::ISkinForm* Form, const std::wstring& Suffix);
    void Release();

    void SetPositionMax();
    // The position display; false when skipped (no slider, or the user drags it).
    bool UpdatePosition(int64_t Position, int64_t Duration);
    // The position fill line at a slider value.
    void ShowPositionLine(int Value);
    // The volume display; false when skipped.
    bool RefreshVolume(int Volume);
    void ShowVolumeLine(int Volume);
    // The lines again at what their sliders show now (after a resize, or while the user drags).
    void FollowSliders();
    void ShowPlaying(bool Playing);
    void ShowMuted(bool Muted);
    void ShowCaption(const std::string& Text);
    void ShowElapsed(const std::string& Text);
};

} // namespace vireon
