// Prints what the graph component costs over bare DirectShow calls, measured in the same run:
// activate -> render -> run -> first position advance for the sample clip (the component builds
// the graph on a thread of its own with a time bound, the bare run calls the graph builder
// directly on the window's thread), and the event pump's
// cost per typed event against a bare GetEvent/FreeEventParams loop.
//   EngineGraphBench [runs] [events]

#include "BenchTiming.h"

#include "engine/TFilterGraph.h"

#include <dvdevcod.h>
#include <dshow.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;
using namespace vireon;

namespace {

const std::wstring kSample = L"" VIREON_BUILD_DIR "/samples/sample.avi";

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return value;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

// Polls until the position leaves zero; false after 10 s.
bool WaitForAdvance(IMediaSeeking* seeking) {
    double start = Now();
    LONGLONG position = 0;
    while (Now() - start < 10.0) {
        PumpMessages();
        if (SUCCEEDED(seeking->GetCurrentPosition(&position)) && position > 0)
            return true;
        Sleep(1);
    }
    return false;
}

double ComponentRun() {
    double start = Now();
    TFilterGraph graph;
    graph.SetActive(true);
    graph.RenderMediaFile(kSample);
    graph.Play();
    ComPtr<IMediaSeeking> seeking;
    graph.QueryInterface(seeking);
    bool advanced = seeking && WaitForAdvance(seeking.Get());
    double elapsed = Now() - start;
    // Closing as the player does: an emptied graph leaves no parser threads behind.
    graph.ResetGraph();
    return advanced ? elapsed : -1;
}

// Takes the filters out of the graph (which disconnects them), from the sources downstream.
void RemoveAllFilters(IFilterGraph* graph) {
    for (;;) {
        ComPtr<IEnumFilters> filters;
        ComPtr<IBaseFilter> filter;
        if (FAILED(graph->EnumFilters(&filters)) || filters->Next(1, &filter, nullptr) != S_OK)
            return;
        std::vector<ComPtr<IBaseFilter>> all{filter};
        while (filters->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK)
            all.push_back(filter);
        // The source was added first and is enumerated last.
        graph->RemoveFilter(all.back().Get());
    }
}

double BareRun() {
    double start = Now();
    ComPtr<IFilterGraph2> graph;
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph));
    ComPtr<IMediaEventEx> events;
    graph.As(&events);
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    events->SetNotifyWindow(reinterpret_cast<OAHWND>(window), WM_APP + 1, 0);
    ComPtr<IBaseFilter> source;
    graph->AddSourceFilter(kSample.c_str(), kSample.c_str(), &source);
    ComPtr<IEnumPins> pins;
    source->EnumPins(&pins);
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK)
        graph->RenderEx(pin.Get(), 0, nullptr);
    ComPtr<IMediaControl> control;
    ComPtr<IMediaSeeking> seeking;
    graph.As(&control);
    graph.As(&seeking);
    control->Run();
    bool advanced = WaitForAdvance(seeking.Get());
    double elapsed = Now() - start;
    control->Stop();
    RemoveAllFilters(graph.Get());
    events->SetNotifyWindow(0, 0, 0);
    DestroyWindow(window);
    return advanced ? elapsed : -1;
}

using benchtiming::Median;

// Queues events through the graph's event sink; no window is told, the pump is run directly.
void FillQueue(IMediaEventSink* sink, int count) {
    for (int i = 0; i < count; ++i)
        sink->Notify(EC_DVD_TITLE_CHANGE, i, 0);
}

void PumpBenchmark(int count) {
    TFilterGraph graph;
    graph.SetActive(true);
    int titles = 0;
    graph.OnDVDTitleChange = [&titles](TObject*, int) { ++titles; };
    ComPtr<IMediaEventSink> sink;
    ComPtr<IMediaEventEx> events;
    if (FAILED(graph.QueryInterface(sink)) || FAILED(graph.QueryInterface(events))) {
        printf("event pump: graph has no event sink\n");
        return;
    }
    events->SetNotifyWindow(0, 0, 0);

    // Alternating rounds, median of each: the machine's load drifts.
    std::vector<double> componentRounds, bareRounds;
    for (int round = 0; round < 7; ++round) {
        FillQueue(sink.Get(), count);
        double start = Now();
        graph.ProcessGraphEvents();
        componentRounds.push_back((Now() - start) / count);

        FillQueue(sink.Get(), count);
        start = Now();
        long code;
        LONG_PTR param1, param2;
        while (events->GetEvent(&code, &param1, &param2, 0) == S_OK)
            events->FreeEventParams(code, param1, param2);
        bareRounds.push_back((Now() - start) / count);
    }
    double component = Median(componentRounds), bare = Median(bareRounds);
    int raised = titles;

    const int dispatches = 200000;
    double start = Now();
    for (int i = 0; i < dispatches; ++i)
        graph.DispatchGraphEvent(EC_DVD_TITLE_CHANGE, i, 0);
    double dispatch = (Now() - start) / dispatches;

    printf("event pump (median of 7 rounds): component %.2f us per typed event (%d raised), bare "
           "GetEvent/FreeEventParams %.2f us, "
           "added %.2f us; dispatch alone %.3f us (target under 20 us)\n",
           component * 1e6, raised, bare * 1e6, (component - bare) * 1e6, dispatch * 1e6);
}

} // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    int events = argc > 2 ? std::max(1, atoi(argv[2])) : 5000;
    ComInitialization com;
    if (FAILED(com.result()))
        return 1;

    // One warm-up of each, so that neither pays for loading the platform's filters.
    ComponentRun();
    BareRun();
    std::vector<double> component, bare;
    for (int i = 0; i < runs; ++i) {
        double a = ComponentRun(), b = BareRun();
        if (a < 0 || b < 0) {
            printf("playback did not start\n");
            return 1;
        }
        component.push_back(a);
        bare.push_back(b);
    }
    double c = Median(component), b = Median(bare);
    printf("open to first position advance (median of %d): component with bounded build %.1f ms, bare "
           "DirectShow with direct build %.1f ms, overhead %+.1f%% (target under 10%%)\n",
           runs, c * 1e3, b * 1e3, (c - b) / b * 100.0);
    PumpBenchmark(events);
    return 0;
}
