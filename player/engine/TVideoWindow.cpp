#include "engine/TVideoWindow.h"

#include "engine/PlatformObjects.h"
#include "engine/TFilterGraph.h"
#include "engine/TOverlayCallback.h"
#include "engine/TFilterList.h"
#include "engine/TPinList.h"

#include "forms/TApplication.h"

#include <evcode.h>

#include <cstdio>

using Microsoft::WRL::ComPtr;

namespace vireon {
namespace {

// Both ends of every connection of the filter's pins.
void DisconnectFilterPins(IFilterGraph* Graph, IBaseFilter* Filter) {
    TPinList pins(Filter);
    for (int i = 0; i < pins.Count(); ++i) {
        ComPtr<IPin> peer;
        if (SUCCEEDED(pins.GetPin(i)->ConnectedTo(&peer)) && peer) {
            if (Graph)
                Graph->Disconnect(peer.Get());
            else
                peer->Disconnect();
        }
        if (Graph)
            Graph->Disconnect(pins.GetPin(i));
        else
            pins.GetPin(i)->Disconnect();
    }
}

} // namespace

TVideoWindow::TVideoWindow(TComponent* AOwner)
    : TCustomControl(AOwner), FColorControl(std::make_unique<TColorControl>(this)),
      FOverlayCaps(std::make_unique<TVideoWindowCaps>(this)), FPopupRenderer(!PlatformShowsChildRenderer()) {
    SetBounds(Left(), Top(), 320, 240);
    SetColor(clBlack);
    MakeFullScreenForm();
    FPreviousIdle = Application().OnIdle;
    Application().OnIdle = [this](TObject* Sender, bool& Done) { IdleHandler(Sender, Done); };
    FIdleInstalled = true;
}

TVideoWindow::~TVideoWindow() {
    FDestroying = true;
    if (FFullScreen)
        LeaveFullScreen();
    // Leaving the graph takes the renderer and the mixer out and releases them.
    FRegistration.Reset();
    if (FExclusive)
        FExclusive->SetCallbackInterface(nullptr, 0);
    if (FCallback)
        FCallback->Detach();
    FCallback.Reset();
    FExclusive.Reset();
    FMixer.Reset();
    FPopup.Detach();
    FVideoWindow.Reset();
    FGraphRenderer.Reset();
    FOwnRenderer.Reset();
    if (FIdleInstalled)
        Application().OnIdle = FPreviousIdle;
    FFullScreenForm.reset();
}

void TVideoWindow::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.ClassName = "TVideoWindow";
    Params.Style |= WS_TABSTOP;
}

void TVideoWindow::SetFilterGraph(TFilterGraph* Value) {
    if (Value == FilterGraph())
        return;
    FRegistration.Reset();
    if (Value)
        FRegistration = Value->Join(this, this);
}

std::wstring TVideoWindow::GetMemberName() {
    const std::string& name = Name();
    return std::wstring(name.begin(), name.end());
}

HRESULT TVideoWindow::QueryInterface(REFIID Iid, void** Object) {
    if (!Object)
        return E_POINTER;
    *Object = nullptr;
    return FOwnRenderer ? FOwnRenderer->QueryInterface(Iid, Object) : E_NOINTERFACE;
}

void TVideoWindow::Loaded() {
    if (!HandleAllocated())
        return;
    FSavedStyle = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
    FSavedExStyle = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_EXSTYLE));
}

void TVideoWindow::NotifyMembership(TMembershipStep Step, int Param) {
    switch (Step) {
    case msAdding:
        FSetUpTried = false;
        CreatePlatformObject(CLSID_VideoRenderer, FOwnRenderer);
        break;
    case msAdded:
        if (FOwnRenderer)
            FOwnRenderer.As(&FVideoWindow);
        break;
    case msRemoving: {
        if (Param == kGraphAbandoned) {
            // The renderer stays in a graph that may never answer again: only our side goes.
            ReleaseOverlay();
            FPopup.Detach();
            break;
        }
        ComPtr<IFilterGraph> graph;
        if (FilterGraph())
            FilterGraph()->QueryInterface(graph);
        StopRunningGraph();
        if (FMixer) {
            FColorControl->RestoreDefaults();
            if (FGraphRenderer)
                FGraphRenderer->Stop();
            DisconnectFilterPins(graph.Get(), FMixer.Get());
        }
        if (FOwnRenderer) {
            FOwnRenderer->Stop();
            DisconnectFilterPins(graph.Get(), FOwnRenderer.Get());
        }
        ReleaseOverlay();
        FPopup.Detach();
        break;
    }
    case msRemoved:
        FSetUpTried = false;
        FOverlayConnected = false;
        FOverlayVisible = false;
        FExclusive.Reset();
        FMixer.Reset();
        FGraphRenderer.Reset();
        FVideoWindow.Reset();
        FOwnRenderer.Reset();
        break;
    }
}

// A renderer taken out of a running graph can be in the middle of a sample, waiting on the clock
// the graph takes away (Wine's renderer then crashes): the graph stops before its renderer goes.
void TVideoWindow::StopRunningGraph() {
    ComPtr<IMediaControl> control;
    OAFilterState state = State_Stopped;
    if (FilterGraph() && SUCCEEDED(FilterGraph()->QueryInterface(control)) &&
        SUCCEEDED(control->GetState(0, &state)) && state != State_Stopped)
        control->Stop();
}

// Unregisters the mixer's callback and cuts its link to this control.
void TVideoWindow::ReleaseOverlay() {
    if (FExclusive)
        FExclusive->SetCallbackInterface(nullptr, 0);
    if (FCallback)
        FCallback->Detach();
    FCallback.Reset();
}

void TVideoWindow::HandleGraphEvent(long Code, LONG_PTR /*Param1*/, LONG_PTR /*Param2*/) {
    if (Code == EC_PALETTE_CHANGED) {
        UpdateVideoWindow();
    } else if (Code == EC_CLOCK_CHANGED) {
        if (FOverlayConnected)
            RefreshColorKey();
        SetDigitalZoom(FDigitalZoom);
        SetAspectRatio(FAspectRatio);
        if (FOverlayConnected)
            PaintVideoArea();
    }
}

void TVideoWindow::SetUpOverlay() {
    FOverlayConnected = SUCCEEDED(ConnectOverlayMixer());
    if (FOverlayConnected) {
        FColorControl->ReadDeviceDefaults();
        FColorControl->ApplyColorControls();
    }
    UpdateVideoWindow();
}

void TVideoWindow::HandleControlEvent(TGraphControlEvent Event, int /*Param*/) {
    switch (Event) {
    case gcPlay:
    case gcPause:
        if (!FSetUpTried)
            SetUpOverlay();
        if (FOverlayConnected && !FOverlayVisible) {
            FOverlayVisible = true;
            CallEvent(OnOverlayVisible, this, true);
            PaintVideoArea();
        }
        break;
    case gcStop:
        if (!FSetUpTried)
            SetUpOverlay();
        if (FOverlayConnected && FOverlayVisible) {
            FOverlayVisible = false;
            PaintVideoArea();
            CallEvent(OnOverlayVisible, this, false);
        }
        break;
    case gcFileRendered:
        SetUpOverlay();
        break;
    case gcDvdRendered:
        AdoptBuilderRenderer();
        break;
    default:
        break;
    }
}

// When the DVD graph builder made a renderer of its own, that one (or the VMR's place) is used.
void TVideoWindow::AdoptBuilderRenderer() {
    FILTER_INFO info{};
    if (FOwnRenderer && SUCCEEDED(FOwnRenderer->QueryFilterInfo(&info)) && info.pGraph) {
        info.pGraph->Release();
        return;
    }
    ComPtr<IFilterGraph> graph;
    if (!FilterGraph() || FAILED(FilterGraph()->QueryInterface(graph)))
        return;
    TFilterList filters(graph.Get());
    for (int i = 0; i < filters.Count(); ++i) {
        CLSID classId = GUID_NULL;
        if (FAILED(filters.GetFilter(i)->GetClassID(&classId)))
            continue;
        if (IsEqualCLSID(classId, CLSID_VideoRenderer)) {
            FMixer.Reset();
            FPopup.Detach();
            FVideoWindow.Reset();
            FGraphRenderer.Reset();
            FOwnRenderer = filters.GetFilter(i);
            FOwnRenderer.As(&FVideoWindow);
            SetUpOverlay();
            return;
        }
        if (IsEqualCLSID(classId, CLSID_VideoMixingRenderer)) {
            FMixer.Reset();
            FGraphRenderer.Reset();
            if (FVideoWindow && FOwnRenderer)
                graph->AddFilter(FOwnRenderer.Get(), GetMemberName().c_str());
            SetUpOverlay();
            return;
        }
    }
}

void TVideoWindow::UpdateVideoWindow() {
    if (!FVideoWindow)
        return;
    HWND control = Handle();
    std::wstring caption = GetMemberName();
    if (caption.empty()) {
        wchar_t unique[40];
        std::swprintf(unique, 40, L"TVideoWindow %p", static_cast<void*>(this));
        caption = unique;
    }
    if (FPopupRenderer) {
        // The style is written whole: a renderer window already showing keeps WS_VISIBLE, or it
        // counts as hidden while still on the screen.
        long style = 0;
        FVideoWindow->get_WindowStyle(&style);
        FVideoWindow->put_WindowStyle((style & WS_VISIBLE) | WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
        FVideoWindow->put_WindowStyleEx(0);
        FVideoWindow->put_Caption(const_cast<BSTR>(caption.c_str()));
        if (HWND renderer = TRendererPopup::FindRendererWindow(caption))
            FPopup.Attach(control, renderer);
        if (OnSetWindowPosition)
            CallEvent(OnSetWindowPosition, this);
    } else {
        HWND parent = Parent() ? Parent()->Handle() : nullptr;
        FVideoWindow->put_Owner(reinterpret_cast<OAHWND>(parent));
        FVideoWindow->put_WindowStyle(static_cast<long>(FSavedStyle | WS_CHILD | WS_CLIPSIBLINGS));
        FVideoWindow->put_WindowStyleEx(static_cast<long>(FSavedExStyle));
        if (OnSetWindowPosition)
            CallEvent(OnSetWindowPosition, this);
        else
            FVideoWindow->SetWindowPosition(Left(), Top(), Width(), Height());
        FVideoWindow->put_Caption(const_cast<BSTR>(caption.c_str()));
    }
    FVideoWindow->put_MessageDrain(reinterpret_cast<OAHWND>(control));
    Application().ProcessMessages();
    if (FVideoWindow)
        FVideoWindow->put_AutoShow(OATRUE);
}

void TVideoWindow::SetRendererBounds(const RECT& Area) {
    if (!FVideoWindow)
        return;
    if (FPopupRenderer) {
        FPopup.SetArea(Area);
        FPopup.Place();
    } else {
        FVideoWindow->SetWindowPosition(Left() + Area.left, Top() + Area.top, Area.right - Area.left,
                                        Area.bottom - Area.top);
    }
}

void TVideoWindow::Resize() {
    if (!FVideoWindow)
        return;
    if (FPopupRenderer) {
        if (OnSetWindowPosition && !FFullScreen)
            CallEvent(OnSetWindowPosition, this);
        else
            FPopup.Place();
        return;
    }
    if (FFullScreen)
        return;
    if (OnSetWindowPosition)
        CallEvent(OnSetWindowPosition, this);
    else
        FVideoWindow->SetWindowPosition(Left(), Top(), Width(), Height());
}

// The framework has filled the background with the control's colour already.
void TVideoWindow::Paint(HDC DC, const RECT& Client) {
    DrawVideoArea(DC, Client);
}

// The control's colour, and the colour key where the overlay picture shows through.
void TVideoWindow::DrawVideoArea(HDC DC, const RECT& Client) {
    FillRect(DC, &Client, ColorBrush());
    if (FOverlayVisible && SUCCEEDED(ComputeVideoRect())) {
        UniqueBrush key(CreateSolidBrush(FColorKey));
        FillRect(DC, &FVideoRect, key.get());
    }
}

void TVideoWindow::PaintVideoArea() {
    if (FDestroying || !HandleAllocated())
        return;
    HWND window = Handle();
    RECT client;
    GetClientRect(window, &client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    WindowDC dc(window);
    UniqueMemoryDC memory(CreateCompatibleDC(dc.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc.get(), client.right, client.bottom));
    if (!memory || !bitmap)
        return;
    SelectedObject selected(memory.get(), bitmap.get());
    DrawVideoArea(memory.get(), client);
    // Handlers draw into the same bitmap, so the window still gets one blit.
    CallEvent(OnPaint, this, memory.get());
    BitBlt(dc.get(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

void TVideoWindow::ColorKeyChanged(COLORREF Key) {
    FColorKey = Key;
    CallEvent(OnColorKeyChanged, this);
}

void TVideoWindow::OverlaySizeChanged() {
    if (FDestroying)
        return;
    ComputeVideoRect();
    PaintVideoArea();
}

} // namespace vireon
