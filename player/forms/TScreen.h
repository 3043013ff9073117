// The screen: the application's forms in screen order, the screen size and the screen cursor.
#pragma once

#include "forms/TControl.h"

#include <vector>

namespace vireon {

class TForm;

class TScreen {
public:
    // Forms that exist, the most recently activated first, the others in order of creation.
    int FormCount() const { return static_cast<int>(FForms.size()); }
    TForm* Forms(int Index) const { return FForms.at(Index); }
    TForm* ActiveForm() const;

    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }

    // The monitor nearest to the window (MONITOR_DEFAULTTONEAREST), and a monitor's rectangle in
    // desktop coordinates.
    static HMONITOR MonitorFromWindow(HWND Window);
    static RECT MonitorRect(HMONITOR Monitor);
    static RECT MonitorRectFromWindow(HWND Window) { return MonitorRect(MonitorFromWindow(Window)); }

    // A cursor other than crDefault overrides every control's own cursor.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);

    void AddForm(TForm* Form);
    void RemoveForm(TForm* Form);
    void MoveFormToFront(TForm* Form);

private:
    std::vector<TForm*> FForms;
    TCursor FCursor = crDefault;
};

TScreen& Screen();

} // namespace vireon
