// The video window's display modes: full screen on a monitor, digital zoom, the mixer's aspect
// mode, the window-message rules, mouse reporting and hiding the cursor while the mouse rests.

#include "engine/TFilterGraph.h"
#include "engine/TPinList.h"
#include "engine/TVideoWindow.h"

#include "forms/TPopupMenu.h"
#include "forms/TScreen.h"

#include <cstdio>
#include <stdexcept>

using Microsoft::WRL::ComPtr;

namespace vireon {

void TVideoWindow::MakeFullScreenForm() {
    FFullScreenForm = std::make_unique<TForm>(nullptr);
    FFullScreenForm->SetBorderStyle(bsNone);
    FFullScreenForm->SetColor(Color());
    FFullScreenForm->OnCloseQuery = [this](TObject*, bool& CanClose) { FullScreenCloseQuery(CanClose); };
}

// The full-screen form closes only with the control, which leaves full screen first.
void TVideoWindow::FullScreenCloseQuery(bool& CanClose) {
    CanClose = FDestroying;
    if (FDestroying && FFullScreen)
        LeaveFullScreen();
}

void TVideoWindow::ShowFullScreen() {
    ShowFullScreenOnMonitor(TScreen::MonitorFromWindow(Handle()));
}

void TVideoWindow::ShowFullScreenOnMonitor(HMONITOR Monitor) {
    if (FFullScreen || !FFullScreenForm)
        return;
    FFullScreenMonitor = Monitor;
    FSavedParent = Parent();
    FSavedAlign = Align();
    FSavedBounds = BoundsRect();
    RECT area = TScreen::MonitorRect(Monitor);
    FPopup.Suspend();
    FFullScreenForm->Handle();
    FFullScreenForm->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
    FFullScreenForm->SetFormStyle(FFullScreenTopMost ? fsStayOnTop : fsNormal);
    SetParent(FFullScreenForm.get());
    SetAlign(alClient);
    FFullScreenForm->Show();
    FFullScreen = true;
    FPopup.Resume();
    UpdateVideoWindow();
    if (FOverlayConnected)
        RefreshColorKey();
}

void TVideoWindow::LeaveFullScreen() {
    FPopup.Suspend();
    if (FSavedParent) {
        SetAlign(FSavedAlign);
        SetParent(FSavedParent);
        if (FSavedAlign == alNone)
            SetBounds(FSavedBounds.left, FSavedBounds.top, FSavedBounds.right - FSavedBounds.left,
                      FSavedBounds.bottom - FSavedBounds.top);
        FSavedParent = nullptr;
    }
    if (FFullScreen) {
        FFullScreenForm->Hide();
        FFullScreenForm->Invalidate();
        FFullScreen = false;
    }
    FPopup.Resume();
    UpdateVideoWindow();
    if (FOverlayConnected)
        RefreshColorKey();
    FOverlayVisible = true;
    PaintVideoArea();
    CallEvent(OnOverlayVisible, this, true);
    FFullScreenMonitor = nullptr;
}

void TVideoWindow::SetDigitalZoom(int Value) {
    if (Value < 0 || Value > 99) {
        char text[96];
        std::snprintf(text, sizeof(text), "Value %d out of range. Value must bee between 0 -> 99", Value);
        throw std::out_of_range(text);
    }
    ComPtr<IBasicVideo2> video;
    if (FGraphRenderer && SUCCEEDED(FGraphRenderer.As(&video))) {
        video->SetDefaultSourcePosition();
        long left = 0, top = 0, width = 0, height = 0;
        video->get_SourceLeft(&left);
        video->get_SourceTop(&top);
        video->get_SourceWidth(&width);
        video->get_SourceHeight(&height);
        if (width > 0) {
            double ratio = static_cast<double>(height) / width;
            double newWidth = width - static_cast<long>(Value * width) / 100.0;
            double newHeight = newWidth * ratio;
            video->put_SourceWidth(static_cast<long>(newWidth));
            video->put_SourceHeight(static_cast<long>(newHeight));
            video->put_SourceLeft(static_cast<long>((width - newWidth) / 2));
            video->put_SourceTop(static_cast<long>((height - newHeight) / 2));
        }
    }
    FDigitalZoom = Value;
}

void TVideoWindow::SetAspectRatio(TRatioModes Value) {
    if (!FGraphRenderer || !FMixer) {
        FAspectRatio = Value;
        return;
    }
    TPinList pins(FMixer.Get());
    ComPtr<IMixerPinConfig2> config;
    if (pins.Count() > 0 &&
        SUCCEEDED(pins.GetPin(0)->QueryInterface(__uuidof(IMixerPinConfig2),
                                                 reinterpret_cast<void**>(config.GetAddressOf()))) &&
        SUCCEEDED(config->SetAspectRatioMode(static_cast<AM_ASPECT_RATIO_MODE>(Value))))
        FAspectRatio = Value;
    if (FOverlayConnected)
        PaintVideoArea();
}

void TVideoWindow::WndProc(TMessage& Message) {
    if (HandleSpecialMessage(Message))
        return;
    TCustomControl::WndProc(Message);
    switch (Message.Msg) {
    case WM_SIZE:
    case WM_MOVE:
        Resize();
        break;
    case WM_WINDOWPOSCHANGED:
        // Shown, hidden or moved to another parent: the renderer popup follows.
        if (FPopupRenderer)
            FPopup.Place();
        break;
    case WM_DESTROY:
        FPopup.Detach();
        break;
    default:
        break;
    }
}

bool TVideoWindow::HandleSpecialMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_CONTEXTMENU:
        if (FFullScreen && PopupMenu() && PopupMenu()->AutoPopup()) {
            POINT cursor{};
            GetCursorPos(&cursor);
            PopupMenu()->SetPopupComponent(this);
            PopupMenu()->Popup(cursor.x, cursor.y, Handle());
            Message.Result = 1;
            return true;
        }
        return false;
    case WM_ERASEBKGND:
        if (!FOverlayConnected)
            return false;
        Message.Result = -1;
        return true;
    case WM_SYSCOMMAND: {
        WPARAM command = Message.WParam & 0xFFF0;
        if (!FNoScreenSaver || (command != SC_SCREENSAVE && command != SC_MONITORPOWER))
            return false;
        Message.Result = -1;
        return true;
    }
    default:
        return false;
    }
}

POINT TVideoWindow::MousePosition(int X, int Y) const {
    POINT position{X, Y};
    if (FFullScreen)
        GetCursorPos(&position);
    return position;
}

// Mouse activity shows a hidden cursor again.
void TVideoWindow::ShowCursorAgain(bool Moved, POINT Position) {
    if (Moved && Position.x == FLastMouse.x && Position.y == FLastMouse.y)
        return;
    if (Moved) {
        FLastMouse = Position;
        FLastMouseTick = GetTickCount();
    }
    if (!FVideoWindow)
        return;
    if (!FOverlayConnected) {
        // What the control hid counts as hidden also where the renderer does not report it.
        long hidden = 0;
        if (SUCCEEDED(FVideoWindow->IsCursorHidden(&hidden)) && (hidden || FRendererCursorHidden)) {
            FVideoWindow->HideCursor(OAFALSE);
            FPopup.SetCursorHidden(false);
            FLastMouse = Position;
            FLastMouseTick = GetTickCount();
            FRendererCursorHidden = 0;
            CallEvent(OnCursorShowHide, this, true);
        }
    } else if (Cursor() == crNone) {
        SetCursor(FSavedCursor);
        FLastMouse = Position;
        FLastMouseTick = GetTickCount();
        CallEvent(OnCursorShowHide, this, true);
    }
}

void TVideoWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    POINT position = MousePosition(X, Y);
    ShowCursorAgain(false, position);
    TCustomControl::MouseDown(Button, Shift, position.x, position.y);
}

void TVideoWindow::MouseMove(TShiftState Shift, int X, int Y) {
    POINT position = MousePosition(X, Y);
    ShowCursorAgain(true, position);
    TCustomControl::MouseMove(Shift, position.x, position.y);
}

void TVideoWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    POINT position = MousePosition(X, Y);
    ShowCursorAgain(false, position);
    TCustomControl::MouseUp(Button, Shift, position.x, position.y);
}

void TVideoWindow::IdleHandler(TObject* Sender, bool& Done) {
    CallEvent(FPreviousIdle, Sender, Done);
    Done = true;
    if (FAutoHideCursor == 0 || !FVideoWindow ||
        GetTickCount() - FLastMouseTick < static_cast<DWORD>(FAutoHideCursor))
        return;
    if (FOverlayConnected) {
        if (Cursor() != crNone) {
            FSavedCursor = Cursor();
            SetCursor(crNone);
            CallEvent(OnCursorShowHide, this, false);
        }
        return;
    }
    long hidden = 0;
    if (SUCCEEDED(FVideoWindow->IsCursorHidden(&hidden)) && !hidden && !FRendererCursorHidden) {
        FVideoWindow->HideCursor(OATRUE);
        FPopup.SetCursorHidden(true);
        FRendererCursorHidden = -1;
        CallEvent(OnCursorShowHide, this, false);
    }
}

} // namespace vireon
