// An audio stream switch on our DVD navigator: from the SelectAudioStream call until the new
// stream's audio renderer plays (its position advancing), next to the first start of the same
// title: from RenderDvdVideoVolume until its audio renderer's position advances. Target: the
// switch under 1.5 times the first start.
// Usage: bench_dvd_audio_switch DISC_FOLDER (a disc whose first title has two audio streams)
#include "DvdBenchSupport.h"

#include "common/DirectShowUuids.h"
#include "common/Win32Handles.h"
#include "dvdnav/OwnDvdGraphBuilder.h"

#include <wrl/client.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using dvdbench::Clock;
using dvdbench::Median;
using dvdbench::PumpUntil;
using Microsoft::WRL::ComPtr;

namespace {

bool FedWithAudio(IBaseFilter* Filter) {
    ComPtr<IEnumPins> Pins;
    if (FAILED(Filter->EnumPins(&Pins)))
        return false;
    ComPtr<IPin> Pin;
    bool Output = false, Audio = false;
    while (Pins->Next(1, &Pin, nullptr) == S_OK) {
        PIN_DIRECTION Direction;
        Pin->QueryDirection(&Direction);
        Output |= Direction == PINDIR_OUTPUT;
        AM_MEDIA_TYPE Type{};
        if (Direction == PINDIR_INPUT && SUCCEEDED(Pin->ConnectionMediaType(&Type))) {
            Audio |= Type.majortype == MEDIATYPE_Audio;
            CoTaskMemFree(Type.pbFormat);
            if (Type.pUnk)
                Type.pUnk->Release();
        }
        Pin.Reset();
    }
    return Audio && !Output;
}

ComPtr<IBaseFilter> AudioRenderer(IGraphBuilder* Graph) {
    ComPtr<IEnumFilters> Filters;
    Graph->EnumFilters(&Filters);
    ComPtr<IBaseFilter> Filter;
    while (Filters->Next(1, &Filter, nullptr) == S_OK) {
        if (FedWithAudio(Filter.Get()))
            return Filter;
        Filter.Reset();
    }
    return nullptr;
}

// True once a renderer other than Old plays: its stream position moves past where it was first seen.
class TRendererWatch {
public:
    TRendererWatch(IGraphBuilder* Graph, IBaseFilter* Old) : Graph_(Graph), Old_(Old) {}
    bool Advancing() {
        if (!Seeking_) {
            ComPtr<IBaseFilter> Renderer = AudioRenderer(Graph_);
            if (!Renderer || Renderer.Get() == Old_ || FAILED(Renderer.As(&Seeking_)))
                return false;
            Seeking_->GetCurrentPosition(&First_);
            return false;
        }
        LONGLONG Position = 0;
        return SUCCEEDED(Seeking_->GetCurrentPosition(&Position)) && Position > First_;
    }

private:
    IGraphBuilder* Graph_;
    IBaseFilter* Old_;
    ComPtr<IMediaSeeking> Seeking_;
    LONGLONG First_ = 0;
};

double Since(Clock::time_point Start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - Start).count();
}

struct TRound {
    double FirstStart = -1;
    double Switch = -1;
};

TRound MeasureRound(const std::wstring& Disc) {
    TRound Round;
    auto Start = Clock::now();
    ComPtr<IDvdGraphBuilder> Builder;
    ComPtr<IGraphBuilder> Graph;
    ComPtr<IMediaControl> Control;
    ComPtr<IDvdControl2> Dvd;
    AM_DVD_RENDERSTATUS Status{};
    if (FAILED(dvdnav::CreateOwnDvdGraphBuilder(&Builder)) ||
        Builder->RenderDvdVideoVolume(Disc.c_str(), AM_DVD_HWDEC_PREFER, &Status) != S_OK ||
        FAILED(Builder->GetFiltergraph(&Graph)) || FAILED(Graph.As(&Control)) ||
        FAILED(Builder->GetDvdInterface(IID_PPV_ARGS(&Dvd))))
        return Round;
    Control->Run();
    TRendererWatch First(Graph.Get(), nullptr);
    if (!PumpUntil([&] { return First.Advancing(); }))
        return Round;
    Round.FirstStart = Since(Start);
    PumpUntil([Settled = Clock::now()] { return Since(Settled) > 300; });
    ComPtr<IBaseFilter> Old = AudioRenderer(Graph.Get());
    Start = Clock::now();
    if (FAILED(Dvd->SelectAudioStream(1, 0, nullptr)))
        return Round;
    TRendererWatch Switched(Graph.Get(), Old.Get());
    if (PumpUntil([&] { return Switched.Advancing(); }))
        Round.Switch = Since(Start);
    Control->Stop();
    return Round;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_dvd_audio_switch DISC_FOLDER\n");
        return 2;
    }
    vireon::ComInitialization Com;
    std::string Folder = argv[1];
    std::wstring Disc(Folder.begin(), Folder.end());
    std::vector<double> Starts, Switches;
    for (int Round = 0; Round < 5; ++Round) {
        TRound Measured = MeasureRound(Disc);
        if (Measured.FirstStart <= 0 || Measured.Switch <= 0) {
            std::fprintf(stderr, "bench_dvd_audio_switch: the disc did not play or switch\n");
            return 1;
        }
        Starts.push_back(Measured.FirstStart);
        Switches.push_back(Measured.Switch);
    }
    double Start = Median(Starts), Switch = Median(Switches);
    std::printf("SelectAudioStream to the new stream's renderer advancing: %.0f ms (median of 5)\n", Switch);
    std::printf("baseline, the title's first start to its audio renderer advancing: %.0f ms\n", Start);
    std::printf("ratio %.2f (target < 1.5)\n", Switch / Start);
    return 0;
}
