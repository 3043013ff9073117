// The event pump of the graph component and the typed graph events.
#include "engine/TFilterGraph.h"

#include <evcode.h>

namespace vireon {

namespace {

// Frees an event's parameters also when its handlers raise.
class TEventParams {
public:
    TEventParams(IMediaEventEx* Events, long Code, LONG_PTR Param1, LONG_PTR Param2)
        : FEvents(Events), FCode(Code), FParam1(Param1), FParam2(Param2) {}
    TEventParams(const TEventParams&) = delete;
    TEventParams& operator=(const TEventParams&) = delete;
    ~TEventParams() { FEvents->FreeEventParams(FCode, FParam1, FParam2); }

private:
    IMediaEventEx* FEvents;
    long FCode;
    LONG_PTR FParam1, FParam2;
};

std::wstring OleString(LONG_PTR Param) {
    auto* text = reinterpret_cast<const wchar_t*>(Param);
    return text ? std::wstring(text) : std::wstring();
}

} // namespace

void TFilterGraph::ProcessGraphEvents() {
    if (!FMediaEvent)
        return;
    // Held here: a handler may deactivate the graph while its event is dispatched.
    Microsoft::WRL::ComPtr<IMediaEventEx> events = FMediaEvent;
    long code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    while (events == FMediaEvent && events->GetEvent(&code, &param1, &param2, 0) == S_OK) {
        TEventParams params(events.Get(), code, param1, param2);
        DispatchGraphEvent(code, param1, param2);
    }
}

void TFilterGraph::DispatchGraphEvent(long Code, LONG_PTR Param1, LONG_PTR Param2) {
    ForEachListener([&](IGraphEventListener* listener) { listener->HandleGraphEvent(Code, Param1, Param2); });
    Raise(OnDSEvent, Code, Param1, Param2);
    if (!DispatchGraphEventsLow(Code, Param1, Param2) && !DispatchGraphEventsHigh(Code, Param1, Param2) &&
        !DispatchDvdEvent(Code, Param1, Param2))
        DispatchDvdStateEvent(Code, Param1, Param2);
}

bool TFilterGraph::DispatchGraphEventsLow(long Code, LONG_PTR Param1, LONG_PTR Param2) {
    switch (Code) {
    case EC_COMPLETE:
        Raise(OnGraphComplete, static_cast<HRESULT>(Param1), reinterpret_cast<IBaseFilter*>(Param2));
        return true;
    case EC_USERABORT:
        Raise(OnGraphUserAbort);
        return true;
    case EC_ERRORABORT:
        Raise(OnGraphErrorAbort, static_cast<HRESULT>(Param1));
        return true;
    case EC_STREAM_ERROR_STOPPED:
        Raise(OnGraphStreamErrorStopped, static_cast<HRESULT>(Param1), Param2);
        return true;
    case EC_STREAM_ERROR_STILLPLAYING:
        Raise(OnGraphStreamErrorStillPlaying, static_cast<HRESULT>(Param1), Param2);
        return true;
    case EC_ERROR_STILLPLAYING:
        Raise(OnGraphErrorStillPlaying, static_cast<HRESULT>(Param1));
        return true;
    case EC_PALETTE_CHANGED:
        Raise(OnGraphPaletteChanged);
        return true;
    case EC_VIDEO_SIZE_CHANGED:
        Raise(OnGraphVideoSizeChanged, static_cast<int>(LOWORD(Param1)), static_cast<int>(HIWORD(Param1)));
        return true;
    case EC_QUALITY_CHANGE:
        Raise(OnGraphQualityChange);
        return true;
    case EC_CLOCK_CHANGED:
        Raise(OnGraphClockChanged);
        return true;
    case EC_PAUSED:
        Raise(OnGraphPaused, static_cast<HRESULT>(Param1));
        return true;
    case EC_OPENING_FILE:
        Raise(OnGraphOpeningFile, Param1 == 1);
        return true;
    case EC_BUFFERING_DATA:
        Raise(OnGraphBufferingData, Param1 == 1);
        return true;
    case EC_FULLSCREEN_LOST:
        Raise(OnGraphFullscreenLost, reinterpret_cast<IBaseFilter*>(Param2));
        return true;
    case EC_OLE_EVENT:
        Raise(OnGraphOleEvent, OleString(Param1), OleString(Param2));
        return true;
    default:
        return false;
    }
}

bool TFilterGraph::DispatchGraphEventsHigh(long Code, LONG_PTR Param1, LONG_PTR Param2) {
    switch (Code) {
    case EC_STREAM_CONTROL_STOPPED:
        Raise(OnGraphStreamControlStopped, reinterpret_cast<IPin*>(Param1), Param2);
        return true;
    case EC_STREAM_CONTROL_STARTED:
        Raise(OnGraphStreamControlStarted, reinterpret_cast<IPin*>(Param1), Param2);
        return true;
    case EC_END_OF_SEGMENT: {
        auto* streamTime = reinterpret_cast<const REFERENCE_TIME*>(Param1);
        Raise(OnGraphEndOfSegment, streamTime ? *streamTime : REFERENCE_TIME(0), Param2);
        return true;
    }
    case EC_DEVICE_LOST:
        Raise(OnGraphDeviceLost, reinterpret_cast<IUnknown*>(Param1), Param2 == 1);
        return true;
    case EC_STEP_COMPLETE:
        Raise(OnGraphStepComplete);
        return true;
    case EC_TIMECODE_AVAILABLE:
        Raise(OnGraphTimeCodeAvailable, reinterpret_cast<IBaseFilter*>(Param1), Param2);
        return true;
    case EC_EXTDEVICE_MODE_CHANGE:
        Raise(OnGraphEXTDeviceModeChange, Param1, Param2);
        return true;
    case EC_GRAPH_CHANGED:
        Raise(OnGraphChanged);
        return true;
    case EC_CLOCK_UNSET:
        Raise(OnGraphClockUnset);
        return true;
    case EC_VMR_RENDERDEVICE_SET:
        Raise(OnGraphVMRRenderDevice, Param1);
        return true;
    case EC_SNDDEV_IN_ERROR:
        Raise(OnGraphSNDDevInError, Param1, Param2);
        return true;
    case EC_SNDDEV_OUT_ERROR:
        Raise(OnGraphSNDDevOutError, Param1, Param2);
        return true;
    default:
        return false;
    }
}

} // namespace vireon
