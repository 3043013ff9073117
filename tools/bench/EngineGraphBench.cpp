// Prints what the graph component costs over bare DirectShow calls, measured in the same run:
// activate -> render -> run -> first position advance for the sample clip (the component builds
// the graph on a thread of its own with a time bound, the bare run calls the graph builder
// directly on the window's thread), and the event pump's
// cost per typed event against a bare GetEvent/FreeEventParams loop.
//   EngineGraphBench [runs] [events]

#include "BareGraphRun.h"
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

double ComponentRun() {
    double start = Now();
    TFilterGraph graph;
    graph.SetActive(true);
    graph.RenderMediaFile(kSample);
    graph.Play();
    ComPtr<IMediaSeeking> seeking;
    graph.QueryInterface(seeking);
    bool advanced = seeking && barerun::WaitForAdvance(seeking.Get());
    double elapsed = Now() - start;
    // Closing as the player does: an emptied graph leaves no parser threads behind.
    graph.ResetGraph();
    return advanced ? elapsed : -1;
}

// The bare run in seconds, like the component's.
double BareRun() {
    const double milliseconds = barerun::BareRun(kSample);
    return milliseconds < 0 ? -1 : milliseconds / 1000.0;
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
