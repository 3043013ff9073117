// The benchmarks that start a program look for its window: a visible top-level window of that
// process that the caller accepts (by title, by class).
#pragma once

#include <windows.h>

#include <functional>

namespace benchwindow {

struct TSearch {
    DWORD ProcessId;
    const std::function<bool(HWND)>* Accepts;
    HWND Found;
};

inline BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->ProcessId || !IsWindowVisible(window) || !(*search->Accepts)(window))
        return TRUE;
    search->Found = window;
    return FALSE;
}

// The window now, or null.
inline HWND FindProcessWindow(DWORD processId, const std::function<bool(HWND)>& accepts) {
    TSearch search{processId, &accepts, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

} // namespace benchwindow
