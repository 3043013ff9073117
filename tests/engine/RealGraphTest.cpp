// The graph component on Wine's real DirectShow, playing the generated sample clip.

#include "engine/EDirectShowException.h"
#include "engine/TFilterGraph.h"
#include "engine/TFilterList.h"

#include "common/TextConversion.h"
#include "dvdnav/OwnDvdGraphBuilder.h"
#include "fakes/FakeFilter.h"
#include "support/MessagePump.h"

#include <gtest/gtest.h>

#include <evcode.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>

using Microsoft::WRL::ComPtr;
using namespace vireon;

namespace {

const std::wstring kSample = L"" VIREON_BUILD_DIR "/samples/sample.avi";
const std::string kScratch = VIREON_BUILD_DIR "/engine-scratch";

void PumpMessages(DWORD milliseconds) {
    testsupport::PumpMessagesFor(milliseconds);
}

std::wstring Wide(const std::string& text) {
    return vireon::WideFromUtf8(text);
}

class RealGraph : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(com.result());
        CreateDirectoryA(kScratch.c_str(), nullptr);
    }

    LONGLONG Position() {
        ComPtr<IMediaSeeking> seeking;
        LONGLONG position = -1;
        if (SUCCEEDED(graph.QueryInterface(seeking)))
            seeking->GetCurrentPosition(&position);
        return position;
    }

    std::vector<std::wstring> RunningObjectNames() {
        std::vector<std::wstring> names;
        ComPtr<IRunningObjectTable> table;
        ComPtr<IEnumMoniker> monikers;
        ComPtr<IBindCtx> context;
        if (FAILED(GetRunningObjectTable(0, &table)) || FAILED(table->EnumRunning(&monikers)) ||
            FAILED(CreateBindCtx(0, &context)))
            return names;
        ComPtr<IMoniker> moniker;
        while (monikers->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
            LPOLESTR name = nullptr;
            if (SUCCEEDED(moniker->GetDisplayName(context.Get(), nullptr, &name))) {
                names.emplace_back(name);
                CoTaskMemFree(name);
            }
        }
        return names;
    }

    ComInitialization com;
    TFilterGraph graph;
};

TEST_F(RealGraph, RendersAndPlaysTheSample) {
    graph.SetActive(true);
    std::vector<long> events;
    graph.OnDSEvent = [&](TComponent*, long code, LONG_PTR, LONG_PTR) { events.push_back(code); };

    EXPECT_EQ(S_FALSE, graph.RenderMediaFile(kSample));
    ComPtr<IFilterGraph> filterGraph;
    ASSERT_HRESULT_SUCCEEDED(graph.QueryInterface(filterGraph));
    EXPECT_GE(TFilterList(filterGraph.Get()).Count(), 3); // source, splitter or decoder, renderers

    EXPECT_TRUE(graph.Play());
    LONGLONG position = 0;
    for (int attempt = 0; attempt < 50 && position < 3000000; ++attempt) {
        PumpMessages(100);
        position = Position();
    }
    EXPECT_GE(position, 3000000) << "position advances while playing";
    // The graph's events arrive through the notify window (the clock is set at the first run).
    EXPECT_NE(events.end(), std::find(events.begin(), events.end(), EC_CLOCK_CHANGED));

    graph.Pause();
    PumpMessages(200);
    LONGLONG paused = Position();
    PumpMessages(300);
    EXPECT_NEAR(static_cast<double>(paused), static_cast<double>(Position()), 1000000.0);
    EXPECT_TRUE(graph.Stop());
    // Closing as the player does: the graph is emptied, then released.
    graph.ResetGraph();
    EXPECT_EQ(0, TFilterList(filterGraph.Get()).Count());
    graph.SetActive(false);
    // Nothing but our reference keeps the graph.
    filterGraph->AddRef();
    EXPECT_EQ(1u, filterGraph->Release());
}

// Wine's parser hangs at the stop that follows a seek in a running or paused graph; seeking
// through the component must leave the state as it was and the next stop must return.
TEST_F(RealGraph, SeeksKeepTheStateAndTheNextStopReturns) {
    graph.SetBuildTimeout(5000);
    graph.SetActive(true);
    ASSERT_HRESULT_SUCCEEDED(graph.RenderMediaFile(kSample));
    ComPtr<IMediaControl> control;
    ASSERT_HRESULT_SUCCEEDED(graph.QueryInterface(control));
    auto expectState = [&](OAFilterState expected, const char* what) {
        SCOPED_TRACE(what);
        OAFilterState state = -1;
        control->GetState(2000, &state);
        EXPECT_EQ(expected, state);
    };

    ASSERT_TRUE(graph.Play());
    PumpMessages(800);
    EXPECT_HRESULT_SUCCEEDED(graph.SeekTo(50000000));
    expectState(State_Running, "seek while running");
    PumpMessages(500);
    EXPECT_GE(Position(), 50000000) << "playback goes on from the new place";
    EXPECT_HRESULT_SUCCEEDED(graph.SeekTo(20000000));
    PumpMessages(300);
    graph.Pause();
    PumpMessages(300);
    EXPECT_HRESULT_SUCCEEDED(graph.SeekTo(10000000));
    expectState(State_Paused, "seek while paused");
    EXPECT_NEAR(10000000.0, static_cast<double>(Position()), 1000000.0);
    EXPECT_TRUE(graph.Stop()) << "the stop after the seeks returns";
    EXPECT_HRESULT_SUCCEEDED(graph.SeekTo(0));
    expectState(State_Stopped, "seek while stopped");
    graph.ResetGraph();
}

TEST_F(RealGraph, VolumeRoundTrip) {
    graph.SetActive(true);
    EXPECT_EQ(0, graph.GetVolumeLevel()); // no audio renderer yet
    graph.RenderMediaFile(kSample);
    graph.SetVolumeLevel(7000);
    EXPECT_EQ(7000, graph.GetVolumeLevel());
    graph.SetVolumeLevel(10000);
    EXPECT_EQ(10000, graph.GetVolumeLevel());
}

TEST_F(RealGraph, GraphEditRegistrationFollowsActivation) {
    char pid[16];
    snprintf(pid, sizeof pid, "pid %lx", GetCurrentProcessId());
    std::wstring ours = L"FilterGraph ";
    auto registered = [&] {
        for (const std::wstring& name : RunningObjectNames())
            if (name.find(ours) != std::wstring::npos && name.find(Wide(pid)) != std::wstring::npos)
                return true;
        return false;
    };
    graph.SetGraphEdit(true);
    EXPECT_FALSE(registered());
    graph.SetActive(true);
    EXPECT_TRUE(registered());
    graph.SetActive(false);
    EXPECT_FALSE(registered());
    graph.SetActive(true);
    EXPECT_TRUE(registered());
    graph.SetGraphEdit(false);
    EXPECT_FALSE(registered());
}

TEST_F(RealGraph, LogFileCreatedAfresh) {
    std::string log = kScratch + "/graph.log";
    std::ofstream(log) << "old content that must go";
    graph.SetLogFile(log);
    graph.SetActive(true);
    graph.RenderMediaFile(kSample);
    graph.SetActive(false);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExA(log.c_str(), GetFileExInfoStandard, &data));
    std::ifstream in(log);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(std::string::npos, first.find("old content"));
}

TEST_F(RealGraph, BadFilesRaiseAndTheComponentStaysUsable) {
    std::string zero = kScratch + "/empty.avi", noise = kScratch + "/noise.avi";
    std::ofstream(zero).close();
    {
        std::ofstream out(noise, std::ios::binary);
        std::mt19937 random(5);
        for (int i = 0; i < 65536; ++i)
            out.put(static_cast<char>(random()));
    }
    std::vector<std::wstring> bad = {Wide(kScratch + "/missing.avi"), Wide(kScratch), Wide(zero), Wide(noise),
                                     Wide(kScratch + "/Mes vidéos été/absent clip.avi")};
    graph.SetActive(true);
    for (const std::wstring& file : bad) {
        SCOPED_TRACE(std::string(file.begin(), file.end()));
        try {
            graph.RenderMediaFile(file);
            ADD_FAILURE() << "no exception";
        } catch (const EDirectShowException& error) {
            EXPECT_TRUE(FAILED(error.ErrorCode()));
            EXPECT_NE(std::string::npos, std::string(error.what()).find(" ($"));
        }
        graph.ResetGraph();
        ComPtr<IFilterGraph> filterGraph;
        ASSERT_HRESULT_SUCCEEDED(graph.QueryInterface(filterGraph));
        EXPECT_EQ(0, TFilterList(filterGraph.Get()).Count());
    }
    // A good clip in a folder with spaces and non-ASCII letters plays.
    std::string folder = kScratch + "/Mes vidéos";
    CreateDirectoryW(Wide(folder).c_str(), nullptr);
    std::wstring copy = Wide(folder + "/clip été.avi");
    ASSERT_TRUE(CopyFileW(kSample.c_str(), copy.c_str(), FALSE));
    EXPECT_EQ(S_FALSE, graph.RenderMediaFile(copy));
    EXPECT_TRUE(graph.Play());
    EXPECT_TRUE(graph.Stop());
}

// A copy of the sample: cut after Bytes (0 = whole), the video stream's frame rate set to 0.
std::wstring BrokenSample(const std::string& name, std::streamsize bytes, bool zeroRate) {
    std::ifstream in(kScratch.substr(0, kScratch.rfind('/')) + "/samples/sample.avi", std::ios::binary);
    std::string data = bytes ? std::string(static_cast<size_t>(bytes), '\0') : std::string();
    if (bytes)
        in.read(data.data(), bytes);
    else
        data.assign(std::istreambuf_iterator<char>(in), {});
    if (zeroRate) {
        size_t avih = data.find("avih"), strh = data.find("strh");
        std::fill_n(data.begin() + avih + 8, 4, '\0');      // microseconds per frame
        std::fill_n(data.begin() + strh + 8 + 24, 4, '\0'); // the video stream's rate
    }
    std::string path = kScratch + "/" + name;
    std::ofstream(path, std::ios::binary).write(data.data(), static_cast<std::streamsize>(data.size()));
    return Wide(path);
}

TEST_F(RealGraph, BuildNotDoneInTimeIsLeftAndTheNextOpenPlays) {
    graph.SetActive(true);
    ComPtr<IFilterGraph> first;
    ASSERT_HRESULT_SUCCEEDED(graph.QueryInterface(first));
    graph.SetBuildTimeout(1);
    EXPECT_EQ(VFW_E_TIMEOUT, graph.RenderMediaFile(kSample));
    EXPECT_TRUE(graph.Active());
    ComPtr<IFilterGraph> second;
    ASSERT_HRESULT_SUCCEEDED(graph.QueryInterface(second));
    EXPECT_NE(first.Get(), second.Get()) << "Wine's abort does nothing: the graph is left to its build";
    first.Reset();
    second.Reset();

    // As the player opens: reset, a new graph, the file.
    graph.SetBuildTimeout(15000);
    graph.ResetGraph();
    graph.SetActive(false);
    graph.SetActive(true);
    EXPECT_EQ(S_FALSE, graph.RenderMediaFile(kSample));
    EXPECT_TRUE(graph.Play());
    EXPECT_TRUE(testsupport::PumpUntil([&] { return Position() >= 2000000; }, 10000)) << "the sample plays";
    graph.ResetGraph();
}

// A file that stops delivering frames ends where the user sees it (its build fails, or playing it
// ends with the end reaching the graph's listeners) and can be left: stopping it returns, at the
// latest when the graph is given up, and the next file plays.
// The stop given up here stays stuck in the platform's parser for the rest of the process.
TEST_F(RealGraph, FileThatStopsDeliveringEndsVisiblyAndCanBeLeft) {
    graph.SetActive(true);
    std::vector<long> ends;
    graph.OnDSEvent = [&](TComponent*, long code, LONG_PTR, LONG_PTR) {
        if (code == EC_COMPLETE || code == EC_ERRORABORT || code == EC_USERABORT ||
            code == EC_STREAM_ERROR_STOPPED)
            ends.push_back(code);
    };
    {
        SCOPED_TRACE("cut short");
        ASSERT_EQ(S_FALSE, graph.RenderMediaFile(BrokenSample("truncated.avi", 3000000, false)));
        EXPECT_TRUE(graph.Play());
        EXPECT_TRUE(testsupport::PumpUntil([&] { return !ends.empty(); }, 20000))
            << "at position " << Position();
        graph.ResetGraph();
    }
    {
        SCOPED_TRACE("frame rate 0");
        // Wine's parser then starves the audio stream once its sound has played (10 s), and a stop
        // waits for that stream for good.
        ASSERT_EQ(S_FALSE, graph.RenderMediaFile(BrokenSample("zero-rate.avi", 0, true)));
        EXPECT_TRUE(graph.Play());
        testsupport::PumpMessagesFor(12000);
        DWORD stopping = GetTickCount();
        graph.SetBuildTimeout(3000);
        long stuck = TBoundedGraphCall::StuckCalls();
        bool stopped = graph.Stop();
        EXPECT_LT(GetTickCount() - stopping, 60000u) << "the stop returned";
        if (!stopped) {
            EXPECT_LE(stuck + 1, TBoundedGraphCall::StuckCalls()) << "the stop given up on counts as stuck";
        }
        graph.ResetGraph();
        graph.SetActive(false);
        graph.SetActive(true);
        ComPtr<IMediaControl> control;
        OAFilterState state = State_Running;
        ASSERT_HRESULT_SUCCEEDED(graph.QueryInterface(control));
        EXPECT_HRESULT_SUCCEEDED(control->GetState(0, &state));
        EXPECT_EQ(State_Stopped, state);
    }
    graph.OnDSEvent = nullptr;
    ASSERT_EQ(S_FALSE, graph.RenderMediaFile(kSample));
    EXPECT_TRUE(graph.Play());
    EXPECT_TRUE(testsupport::PumpUntil([&] { return Position() >= 2000000; }, 10000)) << "the sample plays";
    graph.ResetGraph();
}

// Code on the window thread lists the filters of a graph that has just started (menus, colour
// controls, the video window); the platform must not be re-linking that list on a thread of its own.
TEST_F(RealGraph, PlayStartsEveryFilterOnTheCallingThreadWhileOneIsStillCueing) {
    graph.SetActive(true);
    ComPtr<IFilterGraph> filters;
    ASSERT_HRESULT_SUCCEEDED(graph.QueryInterface(filters));
    auto renderer = fakes::MakeFake<fakes::FakeFilter>(L"renderer", 1, 0);
    renderer->cueing = true;
    ASSERT_HRESULT_SUCCEEDED(filters->AddFilter(renderer.Get(), L"renderer"));

    EXPECT_TRUE(graph.Play());
    EXPECT_EQ(1, renderer->Calls("Pause"));
    EXPECT_EQ(1, renderer->Calls("Run")) << "started before Play returned";

    renderer->cueing = false;
    EXPECT_TRUE(graph.Stop());
    EXPECT_EQ(1, renderer->Calls("Run"));
    EXPECT_HRESULT_SUCCEEDED(filters->RemoveFilter(renderer.Get()));
    filters.Reset();
    graph.SetActive(false);
    EXPECT_EQ(1u, renderer->Refs()) << "only the test holds the filter";
}

// Graphs are let go of on several threads (a given-up call lets go of its graph when it returns),
// and each audio renderer opens and closes the platform's sound device.
TEST_F(RealGraph, AudioRenderersComeAndGoOnSeveralThreadsWhileAGraphIsActive) {
    graph.SetActive(true);
    struct TChurn {
        static DWORD WINAPI Run(void* Created) {
            ComInitialization threadCom(COINIT_MULTITHREADED);
            for (int i = 0; i < 150; ++i) {
                ComPtr<IBaseFilter> renderer;
                if (SUCCEEDED(CoCreateInstance(CLSID_DSoundRender, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_PPV_ARGS(&renderer))))
                    ++*static_cast<std::atomic<int>*>(Created);
                Sleep(i % 3);
            }
            return 0;
        }
    };
    std::atomic<int> created{0};
    std::vector<UniqueHandle> threads;
    for (int i = 0; i < 3; ++i)
        threads.emplace_back(CreateThread(nullptr, 0, &TChurn::Run, &created, 0, nullptr));
    for (const UniqueHandle& thread : threads)
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread.get(), 120000));
    EXPECT_EQ(450, created.load());
    graph.SetActive(false);
}

TEST_F(RealGraph, DvdModeOnWineWithoutAnException) {
    ComPtr<IDvdGraphBuilder> own;
    bool ownBuilderReady = SUCCEEDED(dvdnav::CreateOwnDvdGraphBuilder(&own));
    own.Reset();
    graph.SetMode(gmDVD);
    ASSERT_NO_THROW(graph.SetActive(true));
    ComPtr<IMediaControl> control;
    if (!ownBuilderReady) {
        // Wine's builder cannot supply a graph and ours is not there: the graph stays empty.
        EXPECT_EQ(E_NOINTERFACE, graph.QueryInterface(control));
        EXPECT_EQ(S_FALSE, graph.RenderMediaFile(kSample));
        AM_DVD_RENDERSTATUS status{};
        EXPECT_EQ(VFW_E_DVD_RENDERFAIL, graph.RenderDvdVolume(status, L"", AM_DVD_HWDEC_PREFER));
    } else {
        // Our own builder supplies a real graph that plays files.
        EXPECT_HRESULT_SUCCEEDED(graph.QueryInterface(control));
        EXPECT_EQ(S_FALSE, graph.RenderMediaFile(kSample));
        EXPECT_TRUE(graph.Play());
        EXPECT_TRUE(graph.Stop());
    }
    EXPECT_NO_THROW(graph.SetActive(false));
}

} // namespace

// The stop given up on purpose above stays stuck inside the platform's parser: the program ends as
// the player does.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    TBoundedGraphCall::EndProcessIfCallsAreStuck(static_cast<UINT>(result));
    return result;
}
