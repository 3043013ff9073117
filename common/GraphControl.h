// Starting a filter graph.
#pragma once

#include <windows.h>
#include <dshow.h>

namespace vireon {

// Runs the graph, pausing it first when it is stopped. Wine completes a run started from stopped
// on a thread-pool thread once every filter has cued, and re-links the graph's filter list there
// without the lock that listing filters would need: code listing filters meanwhile (menus, colour
// controls, the video window) reads entries that are not filters. A run from pause is done on the
// calling thread; on Windows the two come to the same.
inline HRESULT RunGraph(IMediaControl& Control) {
    OAFilterState state = State_Running;
    if (SUCCEEDED(Control.GetState(0, &state)) && state == State_Stopped) {
        HRESULT paused = Control.Pause();
        if (FAILED(paused))
            return paused;
    }
    return Control.Run();
}

} // namespace vireon
