// The video window's overlay path: the picture is routed through the Overlay Mixer into the
// control's renderer, every connection change recorded so that a failure undoes them all.

#include "engine/GraphUtil.h"
#include "engine/PlatformObjects.h"
#include "engine/TFilterGraph.h"
#include "engine/TFilterList.h"
#include "engine/TOverlayCallback.h"
#include "engine/TPinList.h"
#include "engine/TVideoWindow.h"

using Microsoft::WRL::ComPtr;

namespace vireon {

struct TVideoWindow::TOverlayPlan {
    ComPtr<IGraphBuilder> Builder;
    ComPtr<IBaseFilter> Vmr;
    ComPtr<IPin> RendererPin;
    std::vector<TUndoRecord> Undo;
    std::vector<ComPtr<IPin>> Upstream;
    ComPtr<IBaseFilter> ReplacedLine21;
    ComPtr<IBaseFilter> AddedLine21;
};

namespace {

CLSID ClassOf(IBaseFilter* Filter) {
    CLSID classId = GUID_NULL;
    if (Filter)
        Filter->GetClassID(&classId);
    return classId;
}

ComPtr<IBaseFilter> FilterOfPin(IPin* Pin) {
    ComPtr<IBaseFilter> filter;
    PIN_INFO info{};
    if (SUCCEEDED(Pin->QueryPinInfo(&info)) && info.pFilter)
        *filter.GetAddressOf() = info.pFilter; // QueryPinInfo handed over its reference
    return filter;
}

ComPtr<IPin> PeerOf(IPin* Pin) {
    ComPtr<IPin> peer;
    if (FAILED(Pin->ConnectedTo(&peer)))
        peer.Reset();
    return peer;
}

bool IsDirection(IPin* Pin, PIN_DIRECTION Wanted) {
    PIN_DIRECTION direction = PINDIR_INPUT;
    return SUCCEEDED(Pin->QueryDirection(&direction)) && direction == Wanted;
}

// The mixer's first input pin without a connection; empty when all are taken.
ComPtr<IPin> FreeMixerInput(IBaseFilter* Mixer) {
    TPinList pins(Mixer);
    for (int i = 0; i < pins.Count(); ++i)
        if (IsDirection(pins.GetPin(i), PINDIR_INPUT) && !PeerOf(pins.GetPin(i)))
            return pins.GetPin(i);
    return nullptr;
}

ComPtr<IPin> PinNamed(IBaseFilter* Filter, const wchar_t* Name) {
    TPinList pins(Filter);
    for (int i = 0; i < pins.Count(); ++i) {
        PIN_INFO info{};
        if (FAILED(pins.GetPin(i)->QueryPinInfo(&info)))
            continue;
        if (info.pFilter)
            info.pFilter->Release();
        if (lstrcmpW(info.achName, Name) == 0)
            return pins.GetPin(i);
    }
    return nullptr;
}

} // namespace

void TVideoWindow::FindGraphFilters(IFilterGraph* Graph, ComPtr<IBaseFilter>& Vmr) {
    TFilterList filters(Graph);
    for (int i = 0; i < filters.Count(); ++i) {
        IBaseFilter* filter = filters.GetFilter(i);
        CLSID classId = ClassOf(filter);
        if (IsEqualCLSID(classId, CLSID_OverlayMixer))
            FMixer = filter;
        else if (IsEqualCLSID(classId, CLSID_VideoMixingRenderer))
            Vmr = filter;
        else if (IsEqualCLSID(classId, CLSID_VideoRenderer))
            FGraphRenderer = filter;
    }
}

HRESULT TVideoWindow::ConnectOverlayMixer() {
    ReleaseOverlay();
    FExclusive.Reset();
    FMixer.Reset();
    FGraphRenderer.Reset();
    FSetUpTried = true;
    TOverlayPlan plan;
    TFilterGraph* graph = FilterGraph();
    if (!graph)
        return E_FAIL;
    HRESULT result = graph->QueryInterface(plan.Builder);
    if (FAILED(result))
        return result;
    FindGraphFilters(plan.Builder.Get(), plan.Vmr);
    if (FMixer)
        return ExistingMixerFeedsRenderer() ? FinishOverlay(plan) : E_FAIL;
    result = CreatePlatformObject(CLSID_OverlayMixer, FMixer);
    if (SUCCEEDED(result))
        result = plan.Builder->AddFilter(FMixer.Get(), L"Overlay Mixer");
    if (FAILED(result)) {
        FMixer.Reset();
        return result;
    }
    if (!FGraphRenderer)
        return E_FAIL;
    TPinList rendererPins(FGraphRenderer.Get());
    if (rendererPins.Count() == 0)
        return E_FAIL;
    plan.RendererPin = rendererPins.GetPin(0);
    if (!IsDirection(plan.RendererPin.Get(), PINDIR_INPUT))
        return S_OK;
    result = plan.Vmr ? RouteVmrInputs(plan) : RouteDirectInput(plan);
    if (SUCCEEDED(result)) {
        ComPtr<IPin> output = PinNamed(FMixer.Get(), L"Output");
        result = output ? Connect(plan, output.Get(), plan.RendererPin.Get()) : E_FAIL;
    }
    return SUCCEEDED(result) ? FinishOverlay(plan) : RollBack(plan, result);
}

// A mixer the graph already has must feed the renderer and be fed itself.
bool TVideoWindow::ExistingMixerFeedsRenderer() {
    bool feedsRenderer = false, fed = false;
    TPinList pins(FMixer.Get());
    for (int i = 0; i < pins.Count(); ++i) {
        ComPtr<IPin> peer = PeerOf(pins.GetPin(i));
        if (!peer)
            continue;
        if (IsDirection(pins.GetPin(i), PINDIR_INPUT))
            fed = true;
        else if (FGraphRenderer && FilterOfPin(peer.Get()).Get() == FGraphRenderer.Get())
            feedsRenderer = true;
    }
    return feedsRenderer && fed;
}

// The DVD case: every stream the VMR takes moves to a mixer input; the second-generation line-21
// decoder is replaced by the first, which the mixer accepts.
HRESULT TVideoWindow::RouteVmrInputs(TOverlayPlan& Plan) {
    TPinList vmrPins(Plan.Vmr.Get());
    for (int i = 0; i < vmrPins.Count(); ++i) {
        ComPtr<IPin> vmrPin = vmrPins.GetPin(i);
        ComPtr<IPin> upstream = PeerOf(vmrPin.Get());
        if (!upstream)
            break;
        HRESULT result = Disconnect(Plan, upstream.Get(), vmrPin.Get());
        if (FAILED(result))
            return result;
        Plan.Upstream.push_back(upstream);
        vmrPins.Refresh();
    }
    for (const ComPtr<IPin>& upstream : Plan.Upstream) {
        ComPtr<IPin> mixerPin = FreeMixerInput(FMixer.Get());
        if (!mixerPin)
            return E_FAIL;
        HRESULT result = IsEqualCLSID(ClassOf(FilterOfPin(upstream.Get()).Get()), CLSID_Line21Decoder2)
                             ? ReplaceLine21Decoder(Plan, upstream.Get(), mixerPin.Get())
                             : Connect(Plan, upstream.Get(), mixerPin.Get());
        if (FAILED(result))
            return result;
    }
    return S_OK;
}

HRESULT TVideoWindow::ReplaceLine21Decoder(TOverlayPlan& Plan, IPin* Upstream, IPin* MixerPin) {
    Plan.ReplacedLine21 = FilterOfPin(Upstream);
    TPinList oldPins(Plan.ReplacedLine21.Get());
    ComPtr<IPin> oldInput = oldPins.Count() > 0 ? oldPins.GetPin(0) : nullptr;
    ComPtr<IPin> feeding = oldInput ? PeerOf(oldInput.Get()) : nullptr;
    if (!feeding)
        return E_FAIL;
    HRESULT result = Disconnect(Plan, feeding.Get(), oldInput.Get());
    if (SUCCEEDED(result))
        result = CreatePlatformObject(CLSID_Line21Decoder, Plan.AddedLine21);
    if (FAILED(result))
        return result;
    result = Plan.Builder->AddFilter(Plan.AddedLine21.Get(), L"Line21 Decoder");
    if (FAILED(result)) {
        Plan.AddedLine21.Reset();
        return result;
    }
    TPinList newPins(Plan.AddedLine21.Get());
    if (newPins.Count() < 2)
        return E_FAIL;
    result = Connect(Plan, feeding.Get(), newPins.GetPin(0));
    return SUCCEEDED(result) ? Connect(Plan, newPins.GetPin(1), MixerPin) : result;
}

// Without a VMR: the stream feeding the renderer goes into the mixer instead.
HRESULT TVideoWindow::RouteDirectInput(TOverlayPlan& Plan) {
    ComPtr<IPin> upstream = PeerOf(Plan.RendererPin.Get());
    if (!upstream)
        return E_FAIL;
    HRESULT result = Disconnect(Plan, upstream.Get(), Plan.RendererPin.Get());
    if (FAILED(result))
        return result;
    ComPtr<IPin> mixerPin = FreeMixerInput(FMixer.Get());
    return mixerPin ? Connect(Plan, upstream.Get(), mixerPin.Get()) : E_FAIL;
}

HRESULT TVideoWindow::Connect(TOverlayPlan& Plan, IPin* Output, IPin* Input) {
    HRESULT result = Plan.Builder->Connect(Output, Input);
    if (SUCCEEDED(result))
        Plan.Undo.push_back({Output, Input, true});
    return result;
}

HRESULT TVideoWindow::Disconnect(TOverlayPlan& Plan, IPin* Output, IPin* Input) {
    HRESULT result = Plan.Builder->Disconnect(Output);
    if (SUCCEEDED(result))
        result = Plan.Builder->Disconnect(Input);
    if (SUCCEEDED(result))
        Plan.Undo.push_back({Output, Input, false});
    return result;
}

HRESULT TVideoWindow::FinishOverlay(TOverlayPlan& Plan) {
    HRESULT result = FMixer.As(&FExclusive);
    if (SUCCEEDED(result)) {
        *FCallback.GetAddressOf() = new TOverlayCallback(this);
        result = FExclusive->SetCallbackInterface(FCallback.Get(), 0);
    }
    if (FAILED(result)) {
        ReleaseOverlay();
        FExclusive.Reset();
        return RollBack(Plan, result);
    }
    if (Plan.ReplacedLine21)
        Plan.Builder->RemoveFilter(Plan.ReplacedLine21.Get());
    if (Plan.Vmr)
        Plan.Builder->RemoveFilter(Plan.Vmr.Get());
    return S_OK;
}

// Undoes the recorded changes, last first, and takes the mixer out; with a VMR, that stays the
// renderer.
HRESULT TVideoWindow::RollBack(TOverlayPlan& Plan, HRESULT Failure) {
    for (auto undo = Plan.Undo.rbegin(); undo != Plan.Undo.rend(); ++undo) {
        if (undo->Connected) {
            Plan.Builder->Disconnect(undo->Output.Get());
            Plan.Builder->Disconnect(undo->Input.Get());
        } else {
            Plan.Builder->Connect(undo->Output.Get(), undo->Input.Get());
        }
    }
    if (Plan.AddedLine21)
        Plan.Builder->RemoveFilter(Plan.AddedLine21.Get());
    if (FMixer) {
        HRESULT removed = Plan.Builder->RemoveFilter(FMixer.Get());
        if (FAILED(removed))
            return removed;
        FMixer.Reset();
    }
    if (Plan.Vmr) {
        if (FOwnRenderer)
            Plan.Builder->RemoveFilter(FOwnRenderer.Get());
        FGraphRenderer = Plan.Vmr;
        FPopup.Detach();
        FVideoWindow.Reset();
        Plan.Vmr.As(&FVideoWindow);
    }
    return Failure;
}

void TVideoWindow::RefreshColorKey() {
    if (!FOverlayConnected || !HandleAllocated())
        return;
    HWND renderer = FPopup.Window();
    if (!renderer && Parent())
        renderer = FindWindowExA(Parent()->Handle(), nullptr, "VideoRenderer", Name().c_str());
    if (!renderer)
        renderer = FindWindowExA(nullptr, nullptr, "VideoRenderer", Name().c_str());
    if (!renderer)
        return;
    SetWindowPos(renderer, Handle(), 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOCOPYBITS);
    TPinList pins(FMixer.Get());
    ComPtr<IMixerPinConfig2> config;
    if (pins.Count() == 0 || FAILED(pins.GetPin(0)->QueryInterface(__uuidof(IMixerPinConfig2),
                                                                   reinterpret_cast<void**>(config.GetAddressOf()))))
        return;
    COLORKEY key{3, 0, 0xF000F, 0xF000F};
    DWORD color = 0;
    config->GetColorKey(&key, &color);
    ColorKeyChanged(key.HighColorValue);
}

HRESULT TVideoWindow::ComputeVideoRect() {
    if (!FVideoWindow || !FOwnRenderer || !FExclusive || !FGraphRenderer || !FMixer || !HandleAllocated())
        return E_FAIL;
    RECT client;
    GetClientRect(Handle(), &client);
    if (FAspectRatio != rmLetterBox) {
        FVideoRect = client;
        return S_OK;
    }
    DWORD width = 0, height = 0, x = 0, y = 0;
    if (FAILED(FExclusive->GetNativeVideoProps(&width, &height, &x, &y)) || x == 0 || y == 0)
        return E_FAIL;
    RECT picture{0, 0, static_cast<LONG>(x), static_cast<LONG>(y)};
    FitRectKeepingAspect(client, picture, FVideoRect);
    return S_OK;
}

} // namespace vireon
