// The fixture of the DVD graph tests: our DVD graph builder on a dvdauthor disc in a real filter
// graph under Wine, with the DVD events read back from the graph's queue.
#pragma once

#include "common/DirectShowUuids.h"
#include "common/Win32Handles.h"
#include "dvdnav/OwnDvdGraphBuilder.h"
#include "support/MessagePump.h"

#include <gtest/gtest.h>

#include <dvdevcod.h>
#include <wrl/client.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <vector>

namespace dvdtest {

using Microsoft::WRL::ComPtr;
namespace fs = std::filesystem;

inline const fs::path Discs = fs::path(VIREON_BUILD_DIR) / "dvd";

struct TEvent {
    long Code;
    LONG_PTR Param1;
    LONG_PTR Param2;
};

inline ULONG RefCount(IUnknown* Object) {
    Object->AddRef();
    return Object->Release();
}

inline int HmsfSeconds(LONG_PTR Param) {
    DVD_HMSF_TIMECODE Time;
    DWORD Packed = static_cast<DWORD>(Param);
    std::memcpy(&Time, &Packed, sizeof Time);
    return Time.bHours * 3600 + Time.bMinutes * 60 + Time.bSeconds;
}

// Renderers (filters without outputs) fed with audio. A running graph is paused while its filters
// are listed: the platform's graph manager reorders its filter list when it completes a run in the
// background, under any enumeration of it.
inline int CountAudioRenderers(IGraphBuilder* Graph) {
    ComPtr<IMediaControl> Control;
    OAFilterState State = State_Stopped;
    if (FAILED(Graph->QueryInterface(IID_PPV_ARGS(&Control))) || FAILED(Control->GetState(0, &State)))
        State = State_Stopped;
    if (State == State_Running)
        Control->Pause();
    int Count = 0;
    ComPtr<IEnumFilters> Filters;
    Graph->EnumFilters(&Filters);
    ComPtr<IBaseFilter> Filter;
    while (Filters->Next(1, &Filter, nullptr) == S_OK) {
        ComPtr<IEnumPins> Pins;
        Filter->EnumPins(&Pins);
        ComPtr<IPin> Pin;
        bool Output = false, Audio = false;
        while (Pins->Next(1, &Pin, nullptr) == S_OK) {
            PIN_DIRECTION Direction;
            Pin->QueryDirection(&Direction);
            AM_MEDIA_TYPE Type{};
            Output |= Direction == PINDIR_OUTPUT;
            if (Direction == PINDIR_INPUT && SUCCEEDED(Pin->ConnectionMediaType(&Type))) {
                Audio |= Type.majortype == MEDIATYPE_Audio;
                CoTaskMemFree(Type.pbFormat);
            }
            Pin.Reset();
        }
        Count += !Output && Audio;
        Filter.Reset();
    }
    if (State == State_Running)
        Control->Run();
    return Count;
}

class DvdGraph : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(dvdnav::CreateOwnDvdGraphBuilder(&Builder));
        ASSERT_HRESULT_SUCCEEDED(Builder->GetFiltergraph(&Graph));
        ASSERT_HRESULT_SUCCEEDED(Graph.As(&Events));
        ASSERT_HRESULT_SUCCEEDED(Graph.As(&Control));
    }
    void TearDown() override {
        if (Control)
            Control->Stop();
        // Nothing of the builder or navigator may keep the graph alive.
        Dvd.Reset();
        Info.Reset();
        Events.Reset();
        Control.Reset();
        Builder.Reset();
        if (Graph) {
            EXPECT_EQ(1u, RefCount(Graph.Get()));
        }
    }

    HRESULT Render(const fs::path& Path) {
        return Builder->RenderDvdVideoVolume(Path.wstring().c_str(), AM_DVD_HWDEC_PREFER, &Status);
    }

    void Open(const char* Disc) {
        ASSERT_EQ(S_OK, Render(Discs / Disc));
        ASSERT_HRESULT_SUCCEEDED(Builder->GetDvdInterface(IID_PPV_ARGS(&Dvd)));
        ASSERT_HRESULT_SUCCEEDED(Builder->GetDvdInterface(IID_PPV_ARGS(&Info)));
        ASSERT_HRESULT_SUCCEEDED(Dvd->SetOption(DVD_HMSF_TimeCodeEvents, TRUE));
    }

    // Runs the message loop (the navigator's clock lives there) and collects the graph's events
    // until one satisfies Match, also one logged before; false after TimeoutMs.
    bool WaitFor(const std::function<bool(const TEvent&)>& Match, DWORD TimeoutMs = 5000) {
        for (const TEvent& Event : Log)
            if (Match(Event))
                return true;
        DWORD Start = GetTickCount();
        while (GetTickCount() - Start < TimeoutMs) {
            testsupport::PumpMessages();
            long Code;
            LONG_PTR P1, P2;
            while (Events->GetEvent(&Code, &P1, &P2, 0) == S_OK) {
                Events->FreeEventParams(Code, P1, P2);
                Log.push_back({Code, P1, P2});
                if (Match(Log.back()))
                    return true;
            }
            Sleep(10);
        }
        return false;
    }
    bool WaitForCode(long Code, LONG_PTR Param1, DWORD TimeoutMs = 5000) {
        return WaitFor([&](const TEvent& E) { return E.Code == Code && E.Param1 == Param1; }, TimeoutMs);
    }
    // The next time event at or after Seconds.
    bool WaitForTime(int Seconds, DWORD TimeoutMs = 5000) {
        return WaitFor(
            [&](const TEvent& E) {
                return E.Code == EC_DVD_CURRENT_HMSF_TIME && HmsfSeconds(E.Param1) >= Seconds;
            },
            TimeoutMs);
    }
    int LastTime() const {
        for (auto It = Log.rbegin(); It != Log.rend(); ++It)
            if (It->Code == EC_DVD_CURRENT_HMSF_TIME)
                return HmsfSeconds(It->Param1);
        return -1;
    }

    vireon::ComInitialization Com;
    ComPtr<IDvdGraphBuilder> Builder;
    ComPtr<IGraphBuilder> Graph;
    ComPtr<IMediaEventEx> Events;
    ComPtr<IMediaControl> Control;
    ComPtr<IDvdControl2> Dvd;
    ComPtr<IDvdInfo2> Info;
    AM_DVD_RENDERSTATUS Status{};
    std::vector<TEvent> Log;
};

} // namespace dvdtest
