// Notices playback of a file that no longer moves: a broken file can leave the graph running with
// its position standing still (a clip cut short, a stream whose frames never come), while the
// window would go on claiming to play. Fed by the position timer; it decides, the frame acts.
#pragma once

#include <windows.h>

#include <cstdint>

namespace vireon {

class TStallWatch {
public:
    // Position standing still this long while playing counts as stalled.
    static constexpr DWORD kLimitMs = 4000;

    // Playback (re)started, paused or new media: the next position starts a new watch.
    void Restart() { FWatching = false; }
    // The position at the time Now (ms, a tick count); true once per stall, when the position has
    // not changed for kLimitMs of watching.
    bool Stalled(int64_t Position, DWORD Now);

private:
    bool FWatching = false;
    bool FReported = false;
    int64_t FPosition = 0;
    DWORD FSince = 0;
};

} // namespace vireon
