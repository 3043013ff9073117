// The bare-DirectShow baseline of the open-to-playing figures: a filter graph manager renders a
// file's source pins, runs, and is polled until the position moves.
#pragma once

#include "BenchTiming.h"

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace barerun {

inline void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

// Polls until the position leaves zero; false after 10 s.
inline bool WaitForAdvance(IMediaSeeking* Seeking) {
    const double start = benchtiming::NowMs();
    LONGLONG position = 0;
    while (benchtiming::NowMs() - start < 10000) {
        PumpMessages();
        if (SUCCEEDED(Seeking->GetCurrentPosition(&position)) && position > 0)
            return true;
        Sleep(1);
    }
    return false;
}

// Takes the filters out of the graph (which disconnects them), the source last added first.
inline void RemoveAllFilters(IFilterGraph* Graph) {
    for (;;) {
        Microsoft::WRL::ComPtr<IEnumFilters> filters;
        Microsoft::WRL::ComPtr<IBaseFilter> filter;
        if (FAILED(Graph->EnumFilters(&filters)) || filters->Next(1, &filter, nullptr) != S_OK)
            return;
        std::vector<Microsoft::WRL::ComPtr<IBaseFilter>> all{filter};
        while (filters->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK)
            all.push_back(filter);
        Graph->RemoveFilter(all.back().Get());
    }
}

// Milliseconds from creating the graph to the first advancing position; -1 when it never moved.
inline double BareRun(const std::wstring& File) {
    const double start = benchtiming::NowMs();
    Microsoft::WRL::ComPtr<IFilterGraph2> graph;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph))))
        return -1;
    Microsoft::WRL::ComPtr<IMediaEventEx> events;
    graph.As(&events);
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    events->SetNotifyWindow(reinterpret_cast<OAHWND>(window), WM_APP + 1, 0);
    Microsoft::WRL::ComPtr<IBaseFilter> source;
    graph->AddSourceFilter(File.c_str(), File.c_str(), &source);
    Microsoft::WRL::ComPtr<IEnumPins> pins;
    if (source)
        source->EnumPins(&pins);
    Microsoft::WRL::ComPtr<IPin> pin;
    while (pins && pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK)
        graph->RenderEx(pin.Get(), 0, nullptr);
    Microsoft::WRL::ComPtr<IMediaControl> control;
    Microsoft::WRL::ComPtr<IMediaSeeking> seeking;
    graph.As(&control);
    graph.As(&seeking);
    control->Run();
    const bool advanced = WaitForAdvance(seeking.Get());
    const double elapsed = benchtiming::NowMs() - start;
    control->Stop();
    RemoveAllFilters(graph.Get());
    events->SetNotifyWindow(0, 0, 0);
    DestroyWindow(window);
    return advanced ? elapsed : -1;
}

} // namespace barerun
