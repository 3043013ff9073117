// The control video is shown in. It contributes its own video renderer to a TFilterGraph (graph
// member), listens to the graph's events, and after the graph is built routes the picture through
// the Overlay Mixer when the platform has one (colour controls, aspect modes, colour key). It also
// offers full screen, digital zoom and cursor hiding.
//
// Where the platform shows no picture in a renderer window made a child of ours (Wine), the
// renderer window is kept as a popup owned by the form, laid exactly over the control.
#pragma once

#include "engine/GraphInterfaces.h"
#include "engine/OverlayInterfaces.h"
#include "engine/TColorControl.h"
#include "engine/TGraphRegistration.h"
#include "engine/TRendererPopup.h"

#include "forms/TApplication.h"
#include "forms/TCustomControl.h"
#include "forms/TForm.h"

#include <memory>
#include <vector>

namespace vireon {

class TFilterGraph;
class TOverlayCallback;

enum TRatioModes { rmStretched = 0, rmLetterBox = 1, rmCrop = 2 };

using TOverlayVisibleEvent = TEvent<TObject* /*Sender*/, bool /*Visible*/>;
using TCursorVisibleEvent = TEvent<TObject* /*Sender*/, bool /*Visible*/>;

class TVideoWindow : public TCustomControl, public IGraphMember, public IGraphEventListener {
public:
    explicit TVideoWindow(TComponent* AOwner = nullptr);
    ~TVideoWindow() override;

    TFilterGraph* FilterGraph() const { return FRegistration.Graph(); }
    void SetFilterGraph(TFilterGraph* Value);
    TRatioModes AspectRatio() const { return FAspectRatio; }
    void SetAspectRatio(TRatioModes Value);
    int DigitalZoom() const { return FDigitalZoom; }
    void SetDigitalZoom(int Value);
    int AutoHideCursor() const { return FAutoHideCursor; }
    void SetAutoHideCursor(int Value) { FAutoHideCursor = Value; }
    bool NoScreenSaver() const { return FNoScreenSaver; }
    void SetNoScreenSaver(bool Value) { FNoScreenSaver = Value; }
    bool FullScreenTopMost() const { return FFullScreenTopMost; }
    void SetFullScreenTopMost(bool Value) { FFullScreenTopMost = Value; }
    TColorControl* ColorControl() const { return FColorControl.get(); }
    TVideoWindowCaps* OverlayCaps() const { return FOverlayCaps.get(); }
    IVideoWindow* RendererWindow() const { return FVideoWindow.Get(); }
    COLORREF OverlayColorKey() const { return FColorKey; }
    bool IsFullScreen() const { return FFullScreen; }
    bool OverlayConnected() const { return FOverlayConnected; }
    bool HasOverlayMixer() const { return static_cast<bool>(FMixer); }
    // The renderer window is an owned popup over the control rather than its child.
    bool RendererIsPopup() const { return FPopupRenderer; }
    // Chosen at creation by the platform; tests of the child placement set it.
    void SetRendererIsPopup(bool Value) { FPopupRenderer = Value; }
    // The renderer's own window once found (popup placement), else nullptr.
    HWND RendererHandle() const { return FPopup.Window(); }
    RECT VideoRect() const { return FVideoRect; }

    // IGraphMember
    Microsoft::WRL::ComPtr<IBaseFilter> GetMemberFilter() override { return FOwnRenderer; }
    std::wstring GetMemberName() override;
    void NotifyMembership(TMembershipStep Step, int Param) override;
    // IGraphEventListener
    void HandleGraphEvent(long Code, LONG_PTR Param1, LONG_PTR Param2) override;
    void HandleControlEvent(TGraphControlEvent Event, int Param) override;

    // The control's own interfaces first, then the own renderer's.
    HRESULT QueryInterface(REFIID Iid, void** Object);

    // After the owning form has loaded: keeps the control window's styles for the renderer.
    void Loaded();
    void UpdateVideoWindow();
    // Lays the renderer window over Area, in the control's client coordinates (the fixed aspect
    // choices); works for either placement of the renderer window.
    void SetRendererBounds(const RECT& Area);
    HRESULT ConnectOverlayMixer();
    void RefreshColorKey();
    HRESULT ComputeVideoRect();
    void PaintVideoArea();

    void ShowFullScreen();
    void ShowFullScreenOnMonitor(HMONITOR Monitor);
    void LeaveFullScreen();

    // The application's idle handler: hides the cursor after AutoHideCursor ms of mouse rest.
    void IdleHandler(TObject* Sender, bool& Done);

    TNotifyEvent OnColorKeyChanged;
    TOverlayVisibleEvent OnOverlayVisible;
    TCursorVisibleEvent OnCursorShowHide;
    TNotifyEvent OnSetWindowPosition;

    // Called by the mixer's callback.
    void ColorKeyChanged(COLORREF Key);
    void OverlaySizeChanged();

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void Paint(HDC DC, const RECT& Client) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    // A connection made (undone by disconnecting) or broken (undone by connecting again).
    struct TUndoRecord {
        Microsoft::WRL::ComPtr<IPin> Output;
        Microsoft::WRL::ComPtr<IPin> Input;
        bool Connected;
    };
    struct TOverlayPlan;

    void Resize();
    void DrawVideoArea(HDC DC, const RECT& Client);
    void SetUpOverlay();
    void AdoptBuilderRenderer();
    void ReleaseOverlay();
    void StopRunningGraph();
    void PlaceRenderer();
    bool HandleSpecialMessage(TMessage& Message);
    POINT MousePosition(int X, int Y) const;
    void ShowCursorAgain(bool Moved, POINT Position);
    void MakeFullScreenForm();
    void FullScreenCloseQuery(bool& CanClose);
    // Overlay set-up steps (VideoWindowOverlay.cpp).
    void FindGraphFilters(IFilterGraph* Graph, Microsoft::WRL::ComPtr<IBaseFilter>& Vmr);
    bool ExistingMixerFeedsRenderer();
    HRESULT RouteVmrInputs(TOverlayPlan& Plan);
    HRESULT RouteDirectInput(TOverlayPlan& Plan);
    HRESULT ReplaceLine21Decoder(TOverlayPlan& Plan, IPin* Upstream, IPin* MixerPin);
    HRESULT FinishOverlay(TOverlayPlan& Plan);
    HRESULT RollBack(TOverlayPlan& Plan, HRESULT Failure);
    HRESULT Connect(TOverlayPlan& Plan, IPin* Output, IPin* Input);
    HRESULT Disconnect(TOverlayPlan& Plan, IPin* Output, IPin* Input);

    TGraphRegistration FRegistration;
    TRatioModes FAspectRatio = rmLetterBox;
    int FDigitalZoom = 0;
    int FAutoHideCursor = 0;
    bool FNoScreenSaver = false;
    bool FFullScreenTopMost = false;
    std::unique_ptr<TColorControl> FColorControl;
    std::unique_ptr<TVideoWindowCaps> FOverlayCaps;
    COLORREF FColorKey = 0x1FFFFFFF;

    Microsoft::WRL::ComPtr<IBaseFilter> FOwnRenderer;
    Microsoft::WRL::ComPtr<IVideoWindow> FVideoWindow;
    Microsoft::WRL::ComPtr<IBaseFilter> FGraphRenderer;
    Microsoft::WRL::ComPtr<IBaseFilter> FMixer;
    Microsoft::WRL::ComPtr<IDDrawExclModeVideo> FExclusive;
    Microsoft::WRL::ComPtr<TOverlayCallback> FCallback;
    bool FSetUpTried = false;
    bool FOverlayConnected = false;
    bool FOverlayVisible = false;
    bool FDestroying = false;
    RECT FVideoRect{};
    DWORD FSavedStyle = 0;
    DWORD FSavedExStyle = 0;
    bool FPopupRenderer = false;
    TRendererPopup FPopup;

    // Full screen.
    std::unique_ptr<TForm> FFullScreenForm;
    bool FFullScreen = false;
    TWinControl* FSavedParent = nullptr;
    TAlign FSavedAlign = alNone;
    RECT FSavedBounds{};
    HMONITOR FFullScreenMonitor = nullptr;
    // Cursor.
    POINT FLastMouse{-1, -1};
    DWORD FLastMouseTick = 0;
    long FRendererCursorHidden = 0;
    TCursor FSavedCursor = crDefault;
    TIdleEvent FPreviousIdle;
    bool FIdleInstalled = false;
};

} // namespace vireon
