// The graph component in DVD mode on Wine: our own DVD graph builder plays an authored disc, and
// its events come out typed through the component's notify window.

#include "engine/TFilterGraph.h"
#include "engine/TFilterList.h"

#include "common/Win32Handles.h"
#include "fakes/FakeGraphCompanions.h"
#include "support/MessagePump.h"

#include <gtest/gtest.h>

#include <dvdevcod.h>

using Microsoft::WRL::ComPtr;
using namespace vireon;

namespace {

const std::wstring kMultiDisc = L"" VIREON_BUILD_DIR "/dvd/multi/VIDEO_TS";
const std::wstring kPostDisc = L"" VIREON_BUILD_DIR "/dvd/post/VIDEO_TS";
const std::wstring kNowhereDisc = L"" VIREON_BUILD_DIR "/dvd/nowhere/VIDEO_TS";

// Runs the message loop until Done or 10 s have passed.
template <typename Condition> bool PumpUntil(const Condition& Done) {
    return testsupport::PumpUntil(Done, 10000);
}

TEST(DvdGraph, PlaysAnAuthoredDiscWithTypedEvents) {
    ComInitialization com;
    TFilterGraph graph;
    fakes::RecordingListener listener("main");
    graph.AddEventListener(&listener);
    int title = 0, chapter = 0, hmsfEvents = 0;
    bool inTitle = false;
    std::string audioLanguage;
    graph.OnDVDDomainTitle = [&](TObject*) { inTitle = true; };
    graph.OnDVDTitleChange = [&](TObject*, int value) { title = value; };
    graph.OnDVDChapterStart = [&](TObject*, int value) { chapter = value; };
    graph.OnDVDCurrentHMSFTime = [&](TObject*, DVD_HMSF_TIMECODE, TDVDTimeCode) { ++hmsfEvents; };
    graph.OnDVDAudioStreamChange = [&](TObject*, int, LCID, const std::string& lang) {
        audioLanguage = lang;
    };

    graph.SetMode(gmDVD);
    graph.SetActive(true);
    AM_DVD_RENDERSTATUS status{};
    fakes::Journal().clear();
    ASSERT_EQ(S_OK, graph.RenderDvdVolume(status, kMultiDisc, AM_DVD_HWDEC_PREFER));
    EXPECT_EQ((std::vector<std::string>{"listener:main.Control(5,1)", "listener:main.Control(6,1)"}),
              fakes::JournalOf({"listener:"}));

    ComPtr<IDvdControl2> control;
    ASSERT_HRESULT_SUCCEEDED(graph.QueryInterface(control));
    ASSERT_HRESULT_SUCCEEDED(control->SetOption(DVD_HMSF_TimeCodeEvents, TRUE));
    EXPECT_TRUE(graph.Play());
    EXPECT_TRUE(PumpUntil([&] { return inTitle && title == 1 && chapter == 1 && hmsfEvents > 0; }))
        << "title " << title << ", chapter " << chapter << ", time events " << hmsfEvents;

    // The stream language comes from the navigator's IDvdInfo2 and the locale's English name.
    ASSERT_HRESULT_SUCCEEDED(control->SelectAudioStream(1, 0, nullptr));
    EXPECT_TRUE(PumpUntil([&] { return !audioLanguage.empty(); }));
    EXPECT_EQ("French", audioLanguage);

    ComPtr<IFilterGraph> filterGraph;
    ASSERT_HRESULT_SUCCEEDED(graph.QueryInterface(filterGraph));
    ComPtr<IDvdGraphBuilder> builder;
    ASSERT_HRESULT_SUCCEEDED(graph.QueryInterface(builder));
    control.Reset();
    // Closing as the player does.
    graph.ResetGraph();
    EXPECT_EQ(0, TFilterList(filterGraph.Get()).Count());
    graph.SetActive(false);
    // The component kept no reference to the builder.
    builder->AddRef();
    EXPECT_EQ(1u, builder->Release());
    graph.RemoveEventListener(&listener);
}

// A graph member contributing a real video renderer, as the video window does; its renderer window
// is placed over a host window once, like the player's video area.
class RendererMember : public IGraphMember {
public:
    ComPtr<IBaseFilter> GetMemberFilter() override { return renderer; }
    std::wstring GetMemberName() override { return L"Member renderer"; }
    void NotifyMembership(TMembershipStep step, int) override {
        if (step == msAdding)
            CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&renderer));
        else if (step == msAdded)
            renderer.As(&window);
        else if (step == msRemoved) {
            window.Reset();
            renderer.Reset();
        }
    }
    bool Connected() const {
        ComPtr<IEnumPins> pins;
        ComPtr<IPin> pin, peer;
        return renderer && SUCCEEDED(renderer->EnumPins(&pins)) && pins->Next(1, &pin, nullptr) == S_OK &&
               SUCCEEDED(pin->ConnectedTo(&peer));
    }

    ComPtr<IBaseFilter> renderer;
    ComPtr<IVideoWindow> window;
};

// The graph in DVD mode, active, with a disc rendered; the navigator sends HMSF time events.
class DvdDisc : public testing::Test {
protected:
    void Render(const std::wstring& disc) {
        graph.SetMode(gmDVD);
        graph.SetActive(true);
        AM_DVD_RENDERSTATUS status{};
        ASSERT_EQ(S_OK, graph.RenderDvdVolume(status, disc, AM_DVD_HWDEC_PREFER));
        ASSERT_HRESULT_SUCCEEDED(graph.QueryInterface(control));
        ASSERT_HRESULT_SUCCEEDED(control->SetOption(DVD_HMSF_TimeCodeEvents, TRUE));
    }
    void TearDown() override {
        control.Reset();
        graph.ResetGraph();
        graph.SetActive(false);
        graph.RemoveGraphMember(&member);
    }

    ComInitialization com;
    RendererMember member; // outlives the graph, which may hold it
    TFilterGraph graph;
    ComPtr<IDvdControl2> control;
};

TEST_F(DvdDisc, VolumeLevelSurvivesStreamAndTitleSwitches) {
    int title = 0;
    graph.OnDVDTitleChange = [&](TObject*, int value) { title = value; };
    ASSERT_NO_FATAL_FAILURE(Render(kMultiDisc));
    EXPECT_TRUE(graph.Play());
    ASSERT_TRUE(PumpUntil([&] { return title == 1; }));
    graph.SetVolumeLevel(0);
    ASSERT_HRESULT_SUCCEEDED(control->SelectAudioStream(1, 0, nullptr));
    EXPECT_EQ(0, graph.GetVolumeLevel());
    graph.SetVolumeLevel(3000);
    ASSERT_HRESULT_SUCCEEDED(control->PlayChapterInTitle(3, 1, 0, nullptr));
    EXPECT_EQ(3000, graph.GetVolumeLevel());
    ASSERT_TRUE(PumpUntil([&] { return title == 3; }));
    EXPECT_EQ(3000, graph.GetVolumeLevel());
}

TEST_F(DvdDisc, TheEndOfThePlayStopsThePlayer) {
    fakes::RecordingListener listener("main");
    graph.AddEventListener(&listener);
    std::vector<TGraphControlEvent> controls;
    listener.onControl = [&](TGraphControlEvent event, int) { controls.push_back(event); };
    bool stopDomain = false;
    graph.OnDVDDomainStop = [&](TObject*) { stopDomain = true; };
    // The title's post command names a title the disc does not have: the play ends there.
    ASSERT_NO_FATAL_FAILURE(Render(kNowhereDisc));
    EXPECT_TRUE(graph.Play());
    controls.clear();
    EXPECT_TRUE(PumpUntil([&] { return stopDomain; }));
    EXPECT_EQ(std::vector<TGraphControlEvent>{gcStop}, controls);
    graph.RemoveEventListener(&listener);
}

// The colour on the screen at the middle of Area.
COLORREF ScreenColour(const RECT& area) {
    WindowDC screen(nullptr);
    UniqueMemoryDC memory(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 1, 1));
    SelectedObject selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, 1, 1, screen.get(), (area.left + area.right) / 2, (area.top + area.bottom) / 2,
           SRCCOPY);
    return GetPixel(memory.get(), 0, 0);
}

bool IsMostly(COLORREF colour, int red, int green, int blue) {
    auto close = [](int value, int wanted) { return wanted ? value > 150 : value < 90; };
    return close(GetRValue(colour), red) && close(GetGValue(colour), green) && close(GetBValue(colour), blue);
}

BOOL CALLBACK CountRendererWindow(HWND window, LPARAM counter) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    bool renderer = !strcmp(name, "wine_quartz_window") || !strcmp(name, "VideoRenderer");
    *reinterpret_cast<int*>(counter) += renderer && IsWindowVisible(window);
    return TRUE;
}

int VisibleRendererWindows() {
    int count = 0;
    EnumWindows(CountRendererWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST_F(DvdDisc, TheMembersRendererShowsTheNextTitleInTheSamePlace) {
    graph.AddGraphMember(&member);
    int title = 0;
    graph.OnDVDTitleChange = [&](TObject*, int value) { title = value; };
    // Title 1 is red; its post command goes on with title 2, which is blue.
    ASSERT_NO_FATAL_FAILURE(Render(kPostDisc));
    ASSERT_TRUE(member.Connected()); // the disc plays into the member's renderer
    ComPtr<IBaseFilter> first = member.renderer;
    const RECT area{60, 60, 380, 300};
    ASSERT_HRESULT_SUCCEEDED(member.window->SetWindowPosition(area.left, area.top, area.right - area.left,
                                                              area.bottom - area.top));
    EXPECT_TRUE(graph.Play());
    EXPECT_TRUE(PumpUntil([&] { return IsMostly(ScreenColour(area), 1, 0, 0); })) << "no red title";
    ASSERT_TRUE(PumpUntil([&] { return title == 2; }));
    EXPECT_TRUE(PumpUntil([&] { return IsMostly(ScreenColour(area), 0, 0, 1); })) << "no blue title";
    EXPECT_EQ(first.Get(), member.renderer.Get());
    EXPECT_TRUE(member.Connected());
    EXPECT_EQ(1, VisibleRendererWindows());
    ComPtr<IFilterGraph> filterGraph;
    ASSERT_HRESULT_SUCCEEDED(graph.QueryInterface(filterGraph));
    FILTER_INFO info{};
    ASSERT_HRESULT_SUCCEEDED(member.renderer->QueryFilterInfo(&info));
    EXPECT_EQ(filterGraph.Get(), info.pGraph);
    if (info.pGraph)
        info.pGraph->Release();
}

} // namespace
