// The other windows of the shell as the main window reaches them: the About window, the colour
// window and the mini control bar over full-screen video. Each call goes through one slot here;
// an empty slot does nothing (a window not built yet answers "does not exist").
#pragma once

#include "common/Seam.h"
#include "skin/SkinInterfaces.h"

namespace vireon {

struct TShellWindows {
    // "About" and "bnTopmost": a new About window, shown without waiting.
    TSeam<void()> ShowAbout;
    // "Color control" and "bnColors": the colour window, made on first use, then shown.
    TSeam<void()> ShowColorControl;
    // The skin's mouse events, for the About window's link.
    TSeam<void(skin::ISkinObject* Source)> AboutMouseIn;
    TSeam<void(skin::ISkinObject* Source)> AboutMouseOut;
    TSeam<void(skin::ISkinObject* Source)> AboutMouseDown;

    // The mini control bar.
    TSeam<bool()> MiniBarExists;
    TSeam<void()> CreateMiniBar;
    TSeam<bool()> MiniBarAutoShow;
    TSeam<void()> RollUpMiniBar;
    TSeam<void()> RollDownMiniBar;
    // Hidden at once, without rolling down (full screen has ended).
    TSeam<void()> HideMiniBar;
    TSeam<void()> RefreshMiniBarCaptionAndButtons;
    TSeam<void()> RefreshMiniBarPlayButtons;
    // The bar's volume slider and muted sign follow the volume.
    TSeam<void()> RefreshMiniBarVolume;
};

TShellWindows& ShellWindows();

class TMainForm;
// Fills every slot with the shell's real windows for this main window: the About window, the
// colour window over its video, and the mini control bar.
void InstallShellWindows(TMainForm& MainForm);

// Runs the slot when it is filled; Otherwise answers when it is not.
template <typename Result, typename... Args>
Result CallShellWindow(const TSeam<Result(Args...)>& Slot, Result Otherwise, Args... args) {
    if (const TSeam<Result(Args...)> call = Slot)
        return call(args...);
    return Otherwise;
}
template <typename... Args> void CallShellWindow(const TSeam<void(Args...)>& Slot, Args... args) {
    if (const TSeam<void(Args...)> call = Slot)
        call(args...);
}

} // namespace vireon
