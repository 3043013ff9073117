// RenderDvdVideoVolume on a disc up to its first time event, next to opening the title's first VOB
// as a plain file up to its first position past zero. Target: under 1.5 times the file.
// Usage: bench_dvd_render DISC_FOLDER (the folder holding VIDEO_TS)
#include "DvdBenchSupport.h"

#include "common/DirectShowUuids.h"
#include "common/Win32Handles.h"
#include "dvdnav/OwnDvdGraphBuilder.h"

#include <dvdevcod.h>
#include <wrl/client.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

using dvdbench::Clock;
using dvdbench::Median;
using dvdbench::PumpUntil;
using Microsoft::WRL::ComPtr;

namespace {

double FileToFirstPosition(const std::wstring& Vob) {
    auto Start = Clock::now();
    ComPtr<IGraphBuilder> Graph;
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&Graph));
    ComPtr<IMediaControl> Control;
    ComPtr<IMediaSeeking> Seeking;
    if (!Graph || FAILED(Graph->RenderFile(Vob.c_str(), nullptr)) || FAILED(Graph.As(&Control)) ||
        FAILED(Graph.As(&Seeking)))
        return -1;
    Control->Run();
    bool Ok = PumpUntil([&] {
        LONGLONG Position = 0;
        return SUCCEEDED(Seeking->GetCurrentPosition(&Position)) && Position > 0;
    });
    double Ms = std::chrono::duration<double, std::milli>(Clock::now() - Start).count();
    Control->Stop();
    return Ok ? Ms : -1;
}

double DvdToFirstTimeEvent(const std::wstring& Disc) {
    auto Start = Clock::now();
    ComPtr<IDvdGraphBuilder> Builder;
    ComPtr<IGraphBuilder> Graph;
    ComPtr<IMediaControl> Control;
    ComPtr<IMediaEventEx> Events;
    ComPtr<IDvdControl2> Dvd;
    AM_DVD_RENDERSTATUS Status{};
    if (FAILED(dvdnav::CreateOwnDvdGraphBuilder(&Builder)) ||
        Builder->RenderDvdVideoVolume(Disc.c_str(), AM_DVD_HWDEC_PREFER, &Status) != S_OK ||
        FAILED(Builder->GetFiltergraph(&Graph)) || FAILED(Graph.As(&Control)) || FAILED(Graph.As(&Events)) ||
        FAILED(Builder->GetDvdInterface(IID_PPV_ARGS(&Dvd))))
        return -1;
    Dvd->SetOption(DVD_HMSF_TimeCodeEvents, TRUE);
    Control->Run();
    bool Ok = PumpUntil([&] {
        long Code;
        LONG_PTR P1, P2;
        bool Seen = false;
        while (Events->GetEvent(&Code, &P1, &P2, 0) == S_OK) {
            Events->FreeEventParams(Code, P1, P2);
            Seen |= Code == EC_DVD_CURRENT_HMSF_TIME;
        }
        return Seen;
    });
    double Ms = std::chrono::duration<double, std::milli>(Clock::now() - Start).count();
    Control->Stop();
    return Ok ? Ms : -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_dvd_render DISC_FOLDER\n");
        return 2;
    }
    vireon::ComInitialization Com;
    std::filesystem::path Disc = argv[1];
    std::wstring Vob = (Disc / "VIDEO_TS" / "VTS_01_1.VOB").wstring();
    std::vector<double> Files, Dvds;
    for (int Round = 0; Round < 5; ++Round) {
        Files.push_back(FileToFirstPosition(Vob));
        Dvds.push_back(DvdToFirstTimeEvent(Disc.wstring()));
    }
    double File = Median(Files), Dvd = Median(Dvds);
    if (File <= 0 || Dvd <= 0) {
        std::fprintf(stderr, "bench_dvd_render: the disc or its VOB did not play\n");
        return 1;
    }
    std::printf("RenderDvdVideoVolume to the first time event: %.0f ms (median of 5)\n", Dvd);
    std::printf("baseline, the title's first VOB opened as a file to its first position: %.0f ms\n", File);
    std::printf("ratio %.2f (target < 1.5)\n", Dvd / File);
    return 0;
}
