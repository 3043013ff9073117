// The navigator's heartbeat: a message-only window whose timer calls back on the thread that
// created it, so that navigation state needs no locks (everything runs on the GUI thread).
#pragma once

#include "common/Win32Handles.h"

#include <functional>

namespace dvdnav {

class TNavigatorClock {
public:
    TNavigatorClock(UINT IntervalMs, std::function<void()> OnTick);
    TNavigatorClock(const TNavigatorClock&) = delete;
    TNavigatorClock& operator=(const TNavigatorClock&) = delete;

    bool Running() const { return static_cast<bool>(Timer_); }

private:
    static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);

    std::function<void()> OnTick_;
    vireon::UniqueWindow Window_;
    vireon::UniqueTimer Timer_;
};

}  // namespace dvdnav
