// The hidden window that receives a graph's event message. Exceptions raised while the message
// is handled go to the application's exception display, never through the platform's dispatch.
#pragma once

#include "common/Win32Handles.h"

#include <functional>

namespace vireon {

class TGraphNotifyWindow {
public:
    static constexpr UINT GraphEventMessage = WM_APP + 1; // 0x8001

    explicit TGraphNotifyWindow(std::function<void()> OnGraphEvent);
    TGraphNotifyWindow(const TGraphNotifyWindow&) = delete;
    TGraphNotifyWindow& operator=(const TGraphNotifyWindow&) = delete;

    HWND Handle() const { return FWindow.get(); }

private:
    static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
    void HandleGraphEvent();

    std::function<void()> FOnGraphEvent;
    vireon::UniqueWindow FWindow;
};

} // namespace vireon
