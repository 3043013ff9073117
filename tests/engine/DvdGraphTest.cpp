// The graph component in DVD mode on Wine: our own DVD graph builder plays an authored disc, and
// its events come out typed through the component's notify window.

#include "engine/TFilterGraph.h"
#include "engine/TFilterList.h"

#include "fakes/FakeGraphCompanions.h"
#include "support/MessagePump.h"

#include <gtest/gtest.h>

using Microsoft::WRL::ComPtr;
using namespace vireon;

namespace {

const std::wstring kMultiDisc = L"" VIREON_BUILD_DIR "/dvd/multi/VIDEO_TS";

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

} // namespace
