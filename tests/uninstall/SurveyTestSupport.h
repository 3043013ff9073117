// Shared helpers of the survey program's tests: message pumping with a limit, and the two seams
// replaced by recorders (no mail program is opened, no box blocks).
#pragma once

#include "uninstall/Seams.h"

#include <winsock2.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace uninstall_test {

// Dispatches messages until the condition holds or the limit passes; returns the condition.
inline bool PumpUntil(const std::function<bool()>& done, DWORD limitMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= limitMs)
            return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (!done())
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

// Removes a quit request left by a closed survey window.
inline void DrainQuit() {
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

class TSeamRecorder {
public:
    TSeamRecorder() {
        uninstall::ReplaceShellOpen([this](const std::string& url) { Opened.push_back(url); });
        uninstall::ReplaceMessageBox([this](const std::string& caption, const std::string& text) {
            Boxes.push_back(caption + "|" + text);
        });
    }
    TSeamRecorder(const TSeamRecorder&) = delete;
    TSeamRecorder& operator=(const TSeamRecorder&) = delete;
    ~TSeamRecorder() {
        uninstall::ReplaceShellOpen(nullptr);
        uninstall::ReplaceMessageBox(nullptr);
    }

    std::vector<std::string> Opened;
    std::vector<std::string> Boxes;
};

} // namespace uninstall_test
