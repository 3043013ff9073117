// The thread a DVD graph builder was made on (the player's window thread). The navigator's clock
// lives there whichever thread renders the volume: a render may run on a thread of its own that
// ends when the render does, taking its windows and timers with it. Other threads hand their
// actions over by a sent message, which the home thread runs while it dispatches its messages.
#pragma once

#include "common/Win32Handles.h"

#include <functional>

namespace dvdnav {

class THomeThread {
public:
    // Makes the calling thread the home thread.
    THomeThread();
    ~THomeThread();
    THomeThread(const THomeThread&) = delete;
    THomeThread& operator=(const THomeThread&) = delete;

    bool IsCurrent() const { return GetCurrentThreadId() == ThreadId_; }
    // Runs Action on the home thread and returns when it has run; at once on the home thread.
    // False (Action not run) when the home thread has gone.
    bool Run(const std::function<void()>& Action) const;

private:
    static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);

    DWORD ThreadId_;
    vireon::UniqueWindow Window_;
};

} // namespace dvdnav
