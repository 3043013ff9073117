#include "engine/TFilterGraph.h"

#include "common/GraphControl.h"
#include "engine/EDirectShowException.h"
#include "engine/PlatformObjects.h"
#include "engine/TFilterList.h"
#include "engine/TPinList.h"

#include <algorithm>
#include <utility>

using Microsoft::WRL::ComPtr;

namespace vireon {

TFilterGraph::TFilterGraph(TComponent* AOwner)
    : TComponent(AOwner), FLifetime(std::make_shared<TFilterGraph*>(this)),
      FNotifyWindow([this] { ProcessGraphEvents(); }) {}

TFilterGraph::~TFilterGraph() {
    SetActive(false);
    // Registrations that outlive the graph find it gone.
    *FLifetime = nullptr;
}

void TFilterGraph::Loaded() {
    if (FAutoCreate)
        SetActive(true);
}

void TFilterGraph::SetActive(bool Value) {
    if (Value == FActive)
        return;
    if (Value)
        Activate();
    else
        Deactivate();
}

void TFilterGraph::CreateGraphObjects() {
    // Failures leave the interface empty; an empty graph is not an error.
    switch (FMode) {
    case gmNormal:
        CreatePlatformObject(CLSID_FilterGraph, FFilterGraph);
        break;
    case gmCapture:
        CreatePlatformObject(CLSID_CaptureGraphBuilder2, FCaptureGraph);
        CreatePlatformObject(CLSID_FilterGraph, FFilterGraph);
        if (FCaptureGraph && FFilterGraph)
            FCaptureGraph->SetFiltergraph(FFilterGraph.Get());
        break;
    case gmDVD:
        CreateDvdGraphBuilder(FDvdGraph);
        if (FDvdGraph) {
            ComPtr<IGraphBuilder> graph;
            if (SUCCEEDED(FDvdGraph->GetFiltergraph(&graph)) && graph)
                graph.As(&FFilterGraph);
        }
        break;
    }
}

void TFilterGraph::Activate() {
    KeepSoundDeviceOpen();
    CreateGraphObjects();
    FActive = true;
    if (SUCCEEDED(QueryInterface(FMediaEvent))) {
        FMediaEvent->SetNotifyFlags(0);
        FMediaEvent->SetNotifyWindow(reinterpret_cast<OAHWND>(FNotifyWindow.Handle()),
                                     TGraphNotifyWindow::GraphEventMessage, reinterpret_cast<LONG_PTR>(this));
    }
    if (FGraphEdit)
        Register();
    OpenLogFile();
    for (IGraphMember* member : std::vector<IGraphMember*>(FGraphMembers))
        AddMember(member);
    Raise(OnActivate);
    BroadcastControlEvent(gcActive, 1);
}

// While a build runs the graph is busy with it, possibly for good: the build is cancelled and the
// graph left to it without another call into it.
void TFilterGraph::Deactivate(bool GraphAbandoned) {
    bool abandoned = GraphAbandoned || FBuild;
    if (FBuild)
        std::exchange(FBuild, nullptr)->Cancel();
    BroadcastControlEvent(gcActive, 0);
    for (IGraphMember* member : std::vector<IGraphMember*>(FGraphMembers))
        RemoveMember(member, abandoned);
    if (FMediaEvent) {
        if (!abandoned)
            FMediaEvent->SetNotifyFlags(1);
        FMediaEvent.Reset();
    }
    Unregister();
    if (abandoned)
        FLogStream.reset();
    else
        CloseLogFile();
    FFilterGraph.Reset();
    FCaptureGraph.Reset();
    FDvdGraph.Reset();
    FActive = false;
}

void TFilterGraph::SetMode(TGraphMode Value) {
    if (Value == FMode)
        return;
    bool wasActive = FActive;
    SetActive(false);
    FMode = Value;
    SetActive(wasActive);
}

void TFilterGraph::SetGraphEdit(bool Value) {
    if (Value && FActive)
        Register();
    else if (!Value)
        Unregister();
    FGraphEdit = Value;
}

void TFilterGraph::Register() {
    if (FGraphEditCookie == 0 && FFilterGraph)
        RegisterGraphForInspection(FFilterGraph.Get(), FGraphEditCookie);
}

void TFilterGraph::Unregister() {
    if (FGraphEditCookie != 0) {
        UnregisterGraphForInspection(FGraphEditCookie);
        FGraphEditCookie = 0;
    }
}

void TFilterGraph::SetLogFile(const std::string& Value) {
    if (!FActive) {
        FLogFile = Value;
        return;
    }
    CloseLogFile();
    std::string previous = FLogFile;
    FLogFile = Value;
    OpenLogFile();
    // A file that cannot be created leaves the graph without a log and the old name in place.
    if (!FLogFile.empty() && !FLogStream)
        FLogFile = previous;
}

void TFilterGraph::OpenLogFile() {
    if (FLogFile.empty() || !FFilterGraph)
        return;
    FLogStream.reset(CreateFileA(FLogFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (FLogStream)
        FFilterGraph->SetLogFile(reinterpret_cast<DWORD_PTR>(FLogStream.get()));
    else
        FFilterGraph->SetLogFile(0);
}

void TFilterGraph::CloseLogFile() {
    if (FFilterGraph)
        FFilterGraph->SetLogFile(0);
    FLogStream.reset();
}

HRESULT TFilterGraph::QueryInterface(REFIID Iid, void** Object) {
    if (!Object)
        return E_POINTER;
    *Object = nullptr;
    if (!FActive || FBuild)
        return E_NOINTERFACE;
    if (FMode == gmCapture && FCaptureGraph && SUCCEEDED(FCaptureGraph->QueryInterface(Iid, Object)))
        return S_OK;
    if (FMode == gmDVD && FDvdGraph) {
        if (SUCCEEDED(FDvdGraph->QueryInterface(Iid, Object)))
            return S_OK;
        *Object = nullptr;
        if (SUCCEEDED(FDvdGraph->GetDvdInterface(Iid, Object)) && *Object)
            return S_OK;
        *Object = nullptr;
    }
    if (FFilterGraph && SUCCEEDED(FFilterGraph->QueryInterface(Iid, Object)))
        return S_OK;
    *Object = nullptr;
    return E_NOINTERFACE;
}

HRESULT TFilterGraph::ControlGraph(TGraphControlEvent Event, HRESULT (*Command)(IMediaControl& Control)) {
    ComPtr<IMediaControl> control;
    if (FAILED(QueryInterface(control)))
        return E_NOINTERFACE;
    BroadcastControlEvent(Event, 0);
    if (Event != gcStop)
        return CheckMediaResult(Command(*control.Get()));
    // Stopping waits for the graph's streaming threads, which a broken file can keep busy for good;
    // a stop given up leaves the component with a new graph, stopped and empty.
    HRESULT result = RunBounded([control] { return control->Stop(); });
    if (result == E_ABORT || result == VFW_E_TIMEOUT)
        return result;
    return CheckMediaResult(result);
}

bool TFilterGraph::Play() {
    return SUCCEEDED(ControlGraph(gcPlay, RunGraph));
}

// A pending transition (S_FALSE) is not done yet.
bool TFilterGraph::Pause() {
    return ControlGraph(gcPause, [](IMediaControl& Control) { return Control.Pause(); }) == S_OK;
}

bool TFilterGraph::Stop() {
    return ControlGraph(gcStop, [](IMediaControl& Control) { return Control.Stop(); }) == S_OK;
}

HRESULT TFilterGraph::SeekTo(LONGLONG Position) {
    ComPtr<IMediaSeeking> seeking;
    ComPtr<IMediaControl> control;
    if (FAILED(QueryInterface(seeking)) || FAILED(QueryInterface(control)))
        return E_NOINTERFACE;
    OAFilterState state = State_Stopped;
    if (RunningOnWine() && FAILED(control->GetState(0, &state)))
        state = State_Stopped;
    if (state != State_Stopped && !Stop())
        return VFW_E_WRONG_STATE;
    HRESULT result =
        seeking->SetPositions(&Position, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    if (state == State_Running)
        Play();
    else if (state == State_Paused)
        Pause();
    return result;
}

namespace {

// Waiting this long after asking a build to abort before it is given up.
constexpr DWORD kAbortGraceMs = 2000;

// Runs on the build's thread: everything it uses comes with it.
HRESULT BuildFileGraph(IFilterGraph2* Graph, const std::wstring& FileName) {
    ComPtr<IBaseFilter> source;
    HRESULT result = Graph->AddSourceFilter(FileName.c_str(), FileName.c_str(), &source);
    if (FAILED(result))
        return result;
    TPinList pins(source.Get());
    for (int i = 0; i < pins.Count(); ++i)
        if (FAILED(result = Graph->RenderEx(pins.GetPin(i), 0, nullptr)))
            return result;
    return S_OK;
}

} // namespace

HRESULT TFilterGraph::RunBounded(TBoundedGraphCall::TWork Work) {
    if (FBuild)
        return VFW_E_WRONG_STATE;
    std::shared_ptr<TFilterGraph*> lifetime = FLifetime;
    ComPtr<IGraphBuilder> builder;
    FFilterGraph.As(&builder);
    const IFilterGraph2* busy = FFilterGraph.Get();
    TBoundedGraphCall call(std::move(Work), builder);
    FBuild = &call;
    HRESULT result = call.Wait(FBuildTimeout, std::min(FBuildTimeout, kAbortGraceMs));
    // Destroyed meanwhile: the graph is already left to the call.
    if (!*lifetime)
        return E_ABORT;
    FBuild = nullptr;
    // Timed out, or given up because the application ends; a deactivation meanwhile has left the
    // graph already.
    if (call.Abandoned() && FActive && FFilterGraph.Get() == busy)
        LeaveAbandonedGraph();
    return result;
}

HRESULT TFilterGraph::RenderMediaFile(const std::wstring& FileName) {
    if (!FFilterGraph)
        return S_FALSE;
    if (FBuild)
        return VFW_E_WRONG_STATE;
    BroadcastControlEvent(gcFileRendering, 0);
    if (!FFilterGraph)
        return E_ABORT;
    HRESULT result =
        RunBounded([graph = FFilterGraph, FileName] { return BuildFileGraph(graph.Get(), FileName); });
    if (result == E_ABORT || result == VFW_E_TIMEOUT)
        return result;
    CheckMediaResult(result);
    BroadcastControlEvent(gcFileRendered, 0);
    return S_FALSE;
}

// The component goes on with a new graph; the old one stays with the build's thread.
void TFilterGraph::LeaveAbandonedGraph() {
    Deactivate(true);
    Activate();
}

HRESULT TFilterGraph::RenderDvdVolume(AM_DVD_RENDERSTATUS& Status, const std::wstring& FileName, int Flags) {
    if (!FDvdGraph)
        return VFW_E_DVD_RENDERFAIL;
    if (FBuild)
        return VFW_E_WRONG_STATE;
    BroadcastControlEvent(gcDvdRendering, Flags);
    if (!FDvdGraph)
        return E_ABORT;
    // The status is the call's own: an abandoned render may still write to it.
    auto status = std::make_shared<AM_DVD_RENDERSTATUS>();
    HRESULT result = RunBounded([builder = FDvdGraph, status, FileName, Flags] {
        return builder->RenderDvdVideoVolume(FileName.empty() ? nullptr : FileName.c_str(),
                                             static_cast<DWORD>(Flags), status.get());
    });
    if (result == E_ABORT || result == VFW_E_TIMEOUT)
        return result;
    Status = *status;
    result = CheckMediaResult(result);
    if (result == S_OK || result == S_FALSE)
        BroadcastControlEvent(gcDvdRendered, Flags);
    return result;
}

void TFilterGraph::DisconnectAllPins() {
    if (!FFilterGraph || FBuild)
        return;
    // From the sources downstream: a parser whose input goes drops its outputs itself. Wine's
    // parsers crash when their outputs are disconnected from outside after a pause.
    for (int pass = 0; pass < 64 && DisconnectSourceLinks(); ++pass) {
    }
}

// Disconnects the outputs of every filter without a connected input, the output end of each
// connection first; true when something was disconnected.
bool TFilterGraph::DisconnectSourceLinks() {
    bool disconnected = false;
    TFilterList filters(FFilterGraph.Get());
    for (int i = 0; i < filters.Count(); ++i) {
        TPinList pins(filters.GetFilter(i));
        std::vector<std::pair<IPin*, ComPtr<IPin>>> links;
        bool fed = false;
        for (int j = 0; j < pins.Count(); ++j) {
            ComPtr<IPin> peer;
            PIN_DIRECTION direction = PINDIR_INPUT;
            if (FAILED(pins.GetPin(j)->ConnectedTo(&peer)) || !peer ||
                FAILED(pins.GetPin(j)->QueryDirection(&direction)))
                continue;
            if (direction == PINDIR_INPUT)
                fed = true;
            else
                links.emplace_back(pins.GetPin(j), peer);
        }
        if (fed)
            continue;
        for (auto& [output, input] : links) {
            CheckMediaResult(FFilterGraph->Disconnect(output));
            CheckMediaResult(FFilterGraph->Disconnect(input.Get()));
            disconnected = true;
        }
    }
    return disconnected;
}

void TFilterGraph::ResetGraph() {
    if (!FFilterGraph || FBuild)
        return;
    ComPtr<IFilterGraph2> graph = FFilterGraph;
    Stop();
    // A stop given up, or a deactivation from a message dispatched while it waited, has left this
    // graph: the current one belongs to whoever made it.
    if (FFilterGraph.Get() != graph.Get())
        return;
    DisconnectAllPins();
    TFilterList filters(FFilterGraph.Get());
    for (IGraphMember* member : FGraphMembers)
        if (ComPtr<IBaseFilter> filter = member->GetMemberFilter())
            filters.Remove(filter.Get());
    for (int i = 0; i < filters.Count(); ++i)
        CheckMediaResult(FFilterGraph->RemoveFilter(filters.GetFilter(i)));
}

int TFilterGraph::GetVolumeLevel() {
    ComPtr<IBasicAudio> audio;
    if (FAILED(QueryInterface(audio)))
        return 0;
    // The graph manager offers IBasicAudio also without an audio renderer; its get_Volume then
    // fails, which reads as no audio rather than as full volume.
    long volume = 0;
    if (FAILED(audio->get_Volume(&volume)))
        return 0;
    return volume + 10000;
}

void TFilterGraph::SetVolumeLevel(int Level) {
    ComPtr<IBasicAudio> audio;
    if (SUCCEEDED(QueryInterface(audio)))
        audio->put_Volume(Level - 10000);
}

void TFilterGraph::AddMember(IGraphMember* Member) {
    if (!FFilterGraph)
        return;
    Member->NotifyMembership(msAdding, 0);
    std::wstring name = Member->GetMemberName();
    if (ComPtr<IBaseFilter> filter = Member->GetMemberFilter())
        FFilterGraph->AddFilter(filter.Get(), name.c_str());
    Member->NotifyMembership(msAdded, 0);
}

void TFilterGraph::RemoveMember(IGraphMember* Member, bool Abandoned) {
    if (!FFilterGraph)
        return;
    int param = Abandoned ? kGraphAbandoned : 0;
    Member->NotifyMembership(msRemoving, param);
    if (ComPtr<IBaseFilter> filter = Member->GetMemberFilter(); filter && !Abandoned)
        FFilterGraph->RemoveFilter(filter.Get());
    Member->NotifyMembership(msRemoved, param);
}

void TFilterGraph::AddGraphMember(IGraphMember* Member) {
    if (!Member)
        return;
    FGraphMembers.push_back(Member);
    if (FActive)
        AddMember(Member);
}

void TFilterGraph::RemoveGraphMember(IGraphMember* Member) {
    auto found = std::find(FGraphMembers.begin(), FGraphMembers.end(), Member);
    if (found == FGraphMembers.end())
        return;
    FGraphMembers.erase(found);
    // A member leaving during a build leaves its filter to the busy graph.
    if (FActive)
        RemoveMember(Member, FBuild != nullptr);
}

void TFilterGraph::AddEventListener(IGraphEventListener* Listener) {
    if (Listener)
        FEventListeners.push_back(Listener);
}

void TFilterGraph::RemoveEventListener(IGraphEventListener* Listener) {
    auto found = std::find(FEventListeners.begin(), FEventListeners.end(), Listener);
    if (found != FEventListeners.end())
        FEventListeners.erase(found);
}

void TFilterGraph::BroadcastControlEvent(TGraphControlEvent Event, int Param) {
    ForEachListener([&](IGraphEventListener* listener) { listener->HandleControlEvent(Event, Param); });
}

} // namespace vireon
