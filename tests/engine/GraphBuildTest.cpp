// A media file's graph build against a fake graph manager whose build hangs: the window thread
// keeps dispatching, the build is aborted in time, a graph whose build never returns is left to
// it, and the next open works.

#include "support/FakeGraphFixture.h"

#include "engine/EDirectShowException.h"

#include "forms/TApplication.h"
#include "forms/TTimer.h"

#include <vfwmsgs.h>

#include <functional>

using Microsoft::WRL::ComPtr;
using namespace fakes;
using namespace vireon;
using Strings = std::vector<std::string>;

namespace {

class GraphBuildTest : public FakeGraphTest {
protected:
    void SetUp() override {
        FakeGraphTest::SetUp();
        component->AddGraphMember(&video);
        component->AddEventListener(&listener);
        component->SetActive(true);
        component->SetBuildTimeout(300);
    }

    void TearDown() override {
        component.reset();
        fresh.Reset();
        FakeGraphTest::TearDown();
    }

    // The graph's hanging call ignores the abort; the platform makes a fresh graph from now on.
    void HangForGood() {
        stuckBefore = TBoundedGraphCall::StuckCalls();
        graph->abortIgnored = true;
        fresh = MakeFake<FakeFilterGraph>("fresh");
        platform.Provide(CLSID_FilterGraph, static_cast<IFilterGraph2*>(fresh.Get()));
    }

    // The component goes on with the fresh graph; the hanging call counts as stuck until it returns
    // at last, when its thread lets go of the old graph: only the test's reference and the fake DVD
    // builder's stay.
    void ExpectTheNextOpenWorksAndTheOldGraphGoes() {
        EXPECT_EQ(static_cast<IFilterGraph*>(fresh.Get()), CurrentGraph());
        EXPECT_EQ(stuckBefore + 1, TBoundedGraphCall::StuckCalls());
        component->ResetGraph();
        EXPECT_EQ(S_FALSE, component->RenderMediaFile(L"C:\\good.avi"));
        EXPECT_TRUE(component->Play());
        graph->Unblock();
        EXPECT_TRUE(testsupport::PumpUntil([&] { return graph->Refs() == 2; }, 5000)) << graph->Refs();
        EXPECT_TRUE(testsupport::PumpUntil([&] { return TBoundedGraphCall::StuckCalls() == stuckBefore; }, 5000));
    }

    // Runs Action once from a timer tick, that is from a message dispatched while the build runs.
    void DuringTheBuild(std::function<void()> Action) {
        ticker = std::make_unique<TTimer>(nullptr, TTimer::CreateArgs{.Interval = 20});
        ticker->OnTimer = [this, Action](TObject*) {
            if (!graph->Waiting())
                return;
            ticker->SetEnabled(false);
            Action();
        };
    }

    IFilterGraph* CurrentGraph() {
        ComPtr<IFilterGraph> current;
        component->QueryInterface(current);
        return current.Get();
    }

    FakeGraphMember video{L"Video"};
    RecordingListener listener{"main"};
    std::unique_ptr<TTimer> ticker;
    ComPtr<FakeFilterGraph> fresh;
    long stuckBefore = 0;
};

TEST_F(GraphBuildTest, HangingBuildIsAbortedWhileTheWindowStaysResponsive) {
    graph->renderBlocks = true;
    int ticks = 0;
    HRESULT nested = S_OK, query = S_OK;
    DuringTheBuild([&] {
        ++ticks;
        // Nothing reaches the busy graph meanwhile.
        nested = component->RenderMediaFile(L"C:\\other.avi");
        ComPtr<IMediaControl> control;
        query = component->QueryInterface(control);
        EXPECT_FALSE(component->Play());
        component->ResetGraph();
    });
    Journal().clear();
    DWORD start = GetTickCount();

    EXPECT_EQ(VFW_E_TIMEOUT, component->RenderMediaFile(L"C:\\broken.avi"));

    EXPECT_GE(GetTickCount() - start, 300u);
    EXPECT_EQ(1, ticks) << "messages were dispatched during the build";
    EXPECT_EQ(VFW_E_WRONG_STATE, nested);
    EXPECT_EQ(E_NOINTERFACE, query);
    EXPECT_EQ(1, graph->Calls("Abort"));
    EXPECT_EQ(
        (Strings{"listener:main.Control(3,0)", "graph.RenderEx(C:\\broken.avi Out 0 waits)", "graph.Abort"}),
        Journaled({"listener:", "graph.RenderEx", "graph.Abort", "graph.Run", "graph.Stop", "graph.Remove"}))
        << "no gcFileRendered, and no call reached the graph during the build";
    EXPECT_FALSE(component->Building());

    // The build obeyed the abort: the graph is the same and the next open works.
    EXPECT_EQ(static_cast<IFilterGraph*>(graph.Get()), CurrentGraph());
    graph->renderBlocks = false;
    component->ResetGraph();
    EXPECT_EQ(S_FALSE, component->RenderMediaFile(L"C:\\good.avi"));
    EXPECT_TRUE(component->Play());
}

TEST_F(GraphBuildTest, BuildThatIgnoresTheAbortIsLeftWithItsGraph) {
    graph->renderBlocks = true;
    HangForGood();
    Journal().clear();

    EXPECT_EQ(VFW_E_TIMEOUT, component->RenderMediaFile(L"C:\\broken.avi"));

    EXPECT_EQ(1, graph->Calls("Abort"));
    EXPECT_TRUE(graph->Waiting()) << "the build still hangs";
    // The members left the hanging graph without a call into it, and joined a new one.
    EXPECT_EQ(
        (Strings{"listener:main.Control(3,0)", "graph.AddSourceFilter(C:\\broken.avi)",
                 "graph.RenderEx(C:\\broken.avi Out 0 waits)", "graph.Abort", "listener:main.Control(7,0)",
                 "member:Video.NotifyMembership(2,1)", "member:Video.NotifyMembership(3,1)",
                 "member:Video.NotifyMembership(0)", "fresh.AddFilter(Video)",
                 "member:Video.NotifyMembership(1)", "listener:main.Control(7,1)"}),
        Journaled({"listener:", "member:", "graph.AddSource", "graph.R", "graph.Abort", "graph.Set",
                   "fresh.AddFilter"}));
    EXPECT_TRUE(component->Active());
    ExpectTheNextOpenWorksAndTheOldGraphGoes();
}

TEST_F(GraphBuildTest, DeactivatingDuringTheBuildCancelsIt) {
    graph->renderBlocks = true;
    DuringTheBuild([&] { component->SetActive(false); });
    Journal().clear();

    EXPECT_EQ(E_ABORT, component->RenderMediaFile(L"C:\\broken.avi"));

    EXPECT_FALSE(component->Active());
    EXPECT_EQ(1, graph->Calls("Abort"));
    EXPECT_EQ(0, graph->Calls("RemoveFilter")) << "the busy graph was left as it was";
    EXPECT_EQ((Strings{"member:Video.NotifyMembership(2,1)", "member:Video.NotifyMembership(3,1)"}),
              Journaled({"member:"}));
    graph->renderBlocks = false;
    component->SetActive(true);
    EXPECT_EQ(S_FALSE, component->RenderMediaFile(L"C:\\good.avi"));
}

TEST_F(GraphBuildTest, DestroyingTheComponentDuringTheBuild) {
    graph->renderBlocks = true;
    DuringTheBuild([&] { component.reset(); });
    TFilterGraph* building = component.get();

    EXPECT_EQ(E_ABORT, building->RenderMediaFile(L"C:\\broken.avi"));

    EXPECT_EQ(nullptr, component);
    EXPECT_EQ(1, graph->Calls("Abort"));
    EXPECT_TRUE(testsupport::PumpUntil([&] { return !graph->Waiting(); }, 5000));
}

TEST_F(GraphBuildTest, StopThatHangsLeavesTheGraph) {
    ASSERT_EQ(S_FALSE, component->RenderMediaFile(L"C:\\clip.avi"));
    ASSERT_TRUE(component->Play());
    graph->stopBlocks = true;
    HangForGood();

    EXPECT_FALSE(component->Stop());

    EXPECT_EQ(1, graph->Calls("Abort"));
    EXPECT_EQ(State_Stopped, fresh->state) << "a new graph, stopped and empty";
    ExpectTheNextOpenWorksAndTheOldGraphGoes();
}

// A DVD volume whose render hangs is bounded like a file's build: the window keeps dispatching, the
// render is aborted and then left with its builder and graph, the caller's status stays as it was,
// and the component goes on with a new builder whose volume plays.
TEST_F(GraphBuildTest, DvdRenderThatHangsIsLeftAndTheNextVolumePlays) {
    component->SetMode(gmDVD);
    dvdBuilder->renderBlocks = true;
    HangForGood();
    auto freshBuilder = MakeFake<FakeDvdGraphBuilder>(fresh.Get());
    platform.Provide(CLSID_DvdGraphBuilder, freshBuilder.Get());
    int ticks = 0;
    HRESULT nested = S_OK;
    DuringTheBuild([&] {
        ++ticks;
        AM_DVD_RENDERSTATUS other{};
        nested = component->RenderDvdVolume(other, L"E:\\VIDEO_TS", 1);
    });
    Journal().clear();
    AM_DVD_RENDERSTATUS status{};
    status.iNumStreams = 7;
    dvdBuilder->renderStatus.iNumStreams = 2;

    EXPECT_EQ(VFW_E_TIMEOUT, component->RenderDvdVolume(status, L"D:\\VIDEO_TS", 1));

    EXPECT_EQ(1, ticks) << "messages were dispatched during the render";
    EXPECT_EQ(VFW_E_WRONG_STATE, nested);
    EXPECT_EQ(7, status.iNumStreams) << "the status belongs to the render given up on";
    EXPECT_EQ(1, dvdBuilder->Calls("RenderDvdVideoVolume"));
    EXPECT_EQ(1, graph->Calls("Abort"));
    EXPECT_EQ((Strings{"listener:main.Control(5,1)", "dvdbuilder.RenderDvdVideoVolume(D:\\VIDEO_TS waits)",
                       "graph.Abort", "listener:main.Control(7,0)", "listener:main.Control(7,1)"}),
              Journaled({"listener:", "dvdbuilder.Render", "graph."}))
        << "no gcDvdRendered, and no call reached the busy graph";
    EXPECT_TRUE(component->Active());
    EXPECT_EQ(static_cast<IFilterGraph*>(fresh.Get()), CurrentGraph());
    EXPECT_EQ(2u, dvdBuilder->Refs()) << "the test's and the render's, given up on while it hangs";
    EXPECT_EQ(stuckBefore + 1, TBoundedGraphCall::StuckCalls());

    AM_DVD_RENDERSTATUS next{};
    EXPECT_EQ(S_OK, component->RenderDvdVolume(next, L"D:\\VIDEO_TS", 1));
    EXPECT_EQ(1, freshBuilder->Calls("RenderDvdVideoVolume"));
    EXPECT_TRUE(component->Play());
    graph->Unblock();
    EXPECT_TRUE(testsupport::PumpUntil([&] { return dvdBuilder->Refs() == 1; }, 5000)) << dvdBuilder->Refs();
    EXPECT_TRUE(testsupport::PumpUntil([&] { return TBoundedGraphCall::StuckCalls() == stuckBefore; }, 5000));
}

TEST_F(GraphBuildTest, FailuresOfTheBuildStillRaise) {
    graph->renderResult = VFW_E_UNSUPPORTED_STREAM;
    try {
        component->RenderMediaFile(L"C:\\random.avi");
        FAIL() << "no exception";
    } catch (const EDirectShowException& error) {
        EXPECT_EQ(VFW_E_UNSUPPORTED_STREAM, error.ErrorCode());
    }
    EXPECT_FALSE(component->Building());
    EXPECT_EQ(0, graph->Calls("Abort"));
}

} // namespace
