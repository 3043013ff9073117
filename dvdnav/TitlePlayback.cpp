#include "dvdnav/TitlePlayback.h"

#include "common/ComObject.h"
#include "common/DirectShowUuids.h"
#include "common/GraphControl.h"
#include "common/MediaType.h"
#include "dvdnav/VobSource.h"

#include <algorithm>
#include <vector>

namespace dvdnav {

using Microsoft::WRL::ComPtr;

namespace {

constexpr int64_t UnitsPerMs = 10000;

std::vector<ComPtr<IPin>> Pins(IBaseFilter* Filter, PIN_DIRECTION Direction) {
    std::vector<ComPtr<IPin>> Result;
    ComPtr<IEnumPins> Enum;
    if (FAILED(Filter->EnumPins(&Enum)))
        return Result;
    ComPtr<IPin> Pin;
    while (Enum->Next(1, &Pin, nullptr) == S_OK) {
        PIN_DIRECTION Dir;
        if (SUCCEEDED(Pin->QueryDirection(&Dir)) && Dir == Direction)
            Result.push_back(Pin);
        Pin.Reset();
    }
    return Result;
}

std::vector<ComPtr<IBaseFilter>> Filters(IGraphBuilder* Graph) {
    std::vector<ComPtr<IBaseFilter>> Result;
    ComPtr<IEnumFilters> Enum;
    if (FAILED(Graph->EnumFilters(&Enum)))
        return Result;
    ComPtr<IBaseFilter> Filter;
    while (Enum->Next(1, &Filter, nullptr) == S_OK) {
        Result.push_back(Filter);
        Filter.Reset();
    }
    return Result;
}

bool Contains(const std::vector<ComPtr<IBaseFilter>>& List, IBaseFilter* Filter) {
    return std::any_of(List.begin(), List.end(), [&](const auto& Item) { return Item.Get() == Filter; });
}

// The graph's filters that are not in Before.
std::vector<ComPtr<IBaseFilter>> FiltersAddedSince(IGraphBuilder* Graph,
                                                   const std::vector<ComPtr<IBaseFilter>>& Before) {
    std::vector<ComPtr<IBaseFilter>> Added;
    for (auto& Filter : Filters(Graph))
        if (!Contains(Before, Filter.Get()))
            Added.push_back(std::move(Filter));
    return Added;
}

bool InGraph(IBaseFilter* Filter) {
    FILTER_INFO Info{};
    if (FAILED(Filter->QueryFilterInfo(&Info)))
        return false;
    bool Member = Info.pGraph != nullptr;
    if (Info.pGraph)
        Info.pGraph->Release();
    return Member;
}

ComPtr<IPin> PeerOf(IPin* Pin) {
    ComPtr<IPin> Peer;
    Pin->ConnectedTo(&Peer);
    return Peer;
}

void FreeMediaType(AM_MEDIA_TYPE* Type) {
    vireon::FreeMediaTypeContents(*Type);
    CoTaskMemFree(Type);
}

// An output pin carries audio when its first offered (or its connected) type is audio.
bool IsAudioPin(IPin* Pin) {
    ComPtr<IEnumMediaTypes> Enum;
    if (FAILED(Pin->EnumMediaTypes(&Enum)))
        return false;
    AM_MEDIA_TYPE* Type = nullptr;
    bool Audio = false;
    if (Enum->Next(1, &Type, nullptr) == S_OK && Type) {
        Audio = Type->majortype == MEDIATYPE_Audio;
        FreeMediaType(Type);
    }
    return Audio;
}

} // namespace

TRenderAudioSeam& RenderAudioSeam() {
    static TRenderAudioSeam Seam;
    return Seam;
}

TTitlePlayback::TTitlePlayback(ComPtr<IGraphBuilder> Graph) : Graph_(std::move(Graph)) {
    Graph_.As(&Control_);
    Graph_.As(&Seeking_);
}

void TTitlePlayback::RemoveOwnFilters() {
    for (const auto& Filter : Own_)
        Graph_->RemoveFilter(Filter.Get()); // fails harmlessly for one the graph's owner took out
    Own_.clear();
}

void TTitlePlayback::Close() {
    Stop();
    RemoveOwnFilters();
    Opened_ = false;
}

void TTitlePlayback::KeepAudioLevels() {
    ComPtr<IBasicAudio> Audio;
    TAudioLevels Levels;
    if (SUCCEEDED(Graph_.As(&Audio)) && SUCCEEDED(Audio->get_Volume(&Levels.Volume)) &&
        SUCCEEDED(Audio->get_Balance(&Levels.Balance))) {
        Levels.Known = true;
        Levels_ = Levels;
    }
}

void TTitlePlayback::ApplyAudioLevels() {
    ComPtr<IBasicAudio> Audio;
    if (!Levels_.Known || FAILED(Graph_.As(&Audio)))
        return;
    Audio->put_Volume(Levels_.Volume);
    Audio->put_Balance(Levels_.Balance);
}

TRenderOutcome TTitlePlayback::Open(const std::vector<std::filesystem::path>& Vobs, uint32_t First,
                                    uint32_t Last) {
    bool WasRunning = IsRunning();
    KeepAudioLevels();
    Stop();
    RemoveOwnFilters();
    Opened_ = false;
    std::vector<ComPtr<IBaseFilter>> Members = Filters(Graph_.Get());
    TRenderOutcome Outcome;
    auto Range = std::make_unique<TVobRange>(Vobs, First, Last);
    if (!Range->IsOpen()) {
        Outcome.Result = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        return Outcome;
    }
    ComPtr<TVobSource> Source = vireon::MakeComObject<TVobSource>(std::move(Range));
    Outcome.Result = Graph_->AddFilter(Source.Get(), L"DVD title");
    // Rendering tries the filters already in the graph first: the members' renderers, left
    // unconnected by the previous title's removal, are fed again.
    if (SUCCEEDED(Outcome.Result))
        Outcome.Result = Graph_->Render(Source->OutputPin());
    Own_ = FiltersAddedSince(Graph_.Get(), Members);
    if (FAILED(Outcome.Result))
        return Outcome;
    Opened_ = true;
    for (const auto& Filter : Filters(Graph_.Get())) {
        if (!Pins(Filter.Get(), PINDIR_OUTPUT).empty())
            continue; // renderers have inputs only
        for (const auto& Input : Pins(Filter.Get(), PINDIR_INPUT)) {
            AM_MEDIA_TYPE Type{};
            if (FAILED(Input->ConnectionMediaType(&Type)))
                continue;
            Outcome.VideoRendered |= Type.majortype == MEDIATYPE_Video;
            Outcome.AudioRendered |= Type.majortype == MEDIATYPE_Audio;
            vireon::FreeMediaTypeContents(Type);
        }
    }
    ApplyAudioLevels();
    if (WasRunning)
        Run();
    return Outcome;
}

ComPtr<IBaseFilter> TTitlePlayback::FindSplitter() const {
    for (const auto& Filter : Filters(Graph_.Get()))
        for (const auto& Output : Pins(Filter.Get(), PINDIR_OUTPUT))
            if (IsAudioPin(Output.Get()))
                return Filter;
    return nullptr;
}

void TTitlePlayback::RemoveDownstream(IPin* Output) {
    ComPtr<IPin> Peer;
    if (FAILED(Output->ConnectedTo(&Peer)))
        return;
    PIN_INFO Info{};
    if (FAILED(Peer->QueryPinInfo(&Info)) || !Info.pFilter)
        return;
    ComPtr<IBaseFilter> Next = vireon::AdoptComPointer(Info.pFilter);
    if (!Contains(Own_, Next.Get())) {
        Graph_->Disconnect(Output); // a member's filter stays in the graph
        Graph_->Disconnect(Peer.Get());
        return;
    }
    for (const auto& Pin : Pins(Next.Get(), PINDIR_OUTPUT))
        RemoveDownstream(Pin.Get());
    Graph_->RemoveFilter(Next.Get());
}

void TTitlePlayback::ForgetRemovedFilters() {
    std::erase_if(Own_, [](const ComPtr<IBaseFilter>& Filter) { return !InGraph(Filter.Get()); });
}

HRESULT TTitlePlayback::RenderAudio(IPin* Output) {
    const TRenderAudioSeam& Seam = RenderAudioSeam();
    return Seam ? Seam(Graph_.Get(), Output) : Graph_->Render(Output);
}

// The branch is rebuilt on the stopped graph, and the splitter's outputs are listed there too, so
// that nothing of the graph moves while they are looked at.
HRESULT TTitlePlayback::SelectAudio(int Index) {
    bool WasRunning = IsRunning();
    int64_t Position = PositionMs();
    KeepAudioLevels();
    Stop();
    HRESULT Result = KeepOnlyAudio(Index);
    SeekMs(Position);
    if (WasRunning)
        Run();
    return Result;
}

HRESULT TTitlePlayback::KeepOnlyAudio(int Index) {
    ComPtr<IBaseFilter> Splitter = FindSplitter();
    if (!Splitter)
        return VFW_E_NOT_FOUND;
    std::vector<ComPtr<IPin>> Audio;
    for (const auto& Output : Pins(Splitter.Get(), PINDIR_OUTPUT))
        if (IsAudioPin(Output.Get()))
            Audio.push_back(Output);
    if (Index < 0 || static_cast<size_t>(Index) >= Audio.size())
        return VFW_E_NOT_FOUND; // the stream is not in the title's data
    HRESULT Result = S_OK;
    if (!PeerOf(Audio[Index].Get())) {
        // The new branch is built beside the old one, which goes only once the new one stands.
        std::vector<ComPtr<IBaseFilter>> Before = Filters(Graph_.Get());
        Result = RenderAudio(Audio[Index].Get());
        for (auto& Added : FiltersAddedSince(Graph_.Get(), Before))
            if (FAILED(Result))
                Graph_->RemoveFilter(Added.Get());
            else
                Own_.push_back(std::move(Added));
    }
    if (FAILED(Result))
        return Result;
    for (size_t I = 0; I < Audio.size(); ++I)
        if (static_cast<int>(I) != Index)
            RemoveDownstream(Audio[I].Get());
    ForgetRemovedFilters();
    ApplyAudioLevels();
    return S_OK;
}

int64_t TTitlePlayback::PositionMs() const {
    LONGLONG Position = 0;
    if (!Seeking_ || FAILED(Seeking_->GetCurrentPosition(&Position)))
        return 0;
    return Position / UnitsPerMs;
}

int64_t TTitlePlayback::DurationMs() const {
    LONGLONG Duration = 0;
    if (!Seeking_ || FAILED(Seeking_->GetDuration(&Duration)))
        return 0;
    return Duration / UnitsPerMs;
}

HRESULT TTitlePlayback::SeekMs(int64_t Position) {
    if (!Seeking_)
        return E_NOINTERFACE;
    LONGLONG Units = (Position < 0 ? 0 : Position) * UnitsPerMs;
    // Wine's splitter can hang a later Stop after seeks made while running: seek only when stopped.
    bool WasRunning = IsRunning();
    if (WasRunning)
        Control_->Stop();
    HRESULT Result =
        Seeking_->SetPositions(&Units, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    if (WasRunning)
        vireon::RunGraph(*Control_.Get());
    return Result;
}

HRESULT TTitlePlayback::SetRate(double Rate) {
    return Seeking_ ? Seeking_->SetRate(Rate) : E_NOINTERFACE;
}

bool TTitlePlayback::IsRunning() const {
    OAFilterState State = State_Stopped;
    return Control_ && SUCCEEDED(Control_->GetState(0, &State)) && State == State_Running;
}

void TTitlePlayback::Run() {
    if (Control_)
        vireon::RunGraph(*Control_.Get());
}

void TTitlePlayback::Stop() {
    if (Control_)
        Control_->Stop();
}

} // namespace dvdnav
