// The graph component against fake platform objects: life cycle, delegation, control, rendering.

#include "support/FakeGraphFixture.h"

#include "engine/EDirectShowException.h"

#include <vfwmsgs.h>

using Microsoft::WRL::ComPtr;
using namespace fakes;
using namespace vireon;
using Strings = std::vector<std::string>;

namespace {

TEST_F(FakeGraphTest, ActivationOrder) {
    FakeGraphMember video(L"Video");
    FakeGraphMember overlay(L"Overlay");
    RecordingListener listener("main");
    component->AddGraphMember(&video);
    component->AddGraphMember(&overlay);
    component->AddEventListener(&listener);
    component->OnActivate = [](TObject*) { Journal().push_back("OnActivate"); };

    component->SetActive(true);

    EXPECT_TRUE(component->Active());
    EXPECT_EQ((Strings{"graph.SetNotifyFlags(0)", "graph.SetNotifyWindow(32769)",
                       "member:Video.NotifyMembership(0)", "graph.AddFilter(Video)",
                       "member:Video.NotifyMembership(1)", "member:Overlay.NotifyMembership(0)",
                       "graph.AddFilter(Overlay)", "member:Overlay.NotifyMembership(1)", "OnActivate",
                       "listener:main.Control(7,1)"}),
              Journaled({"graph.Set", "graph.AddFilter", "member:", "OnActivate", "listener:"}));
    EXPECT_EQ(component->NotifyWindow(), graph->NotifyWindow());
    EXPECT_EQ(0x8001u, graph->NotifyMessage());
    EXPECT_EQ(1, platform.Creations(CLSID_FilterGraph));
    EXPECT_EQ(0, platform.Creations(CLSID_DvdGraphBuilder));
    component->SetActive(false);
}

TEST_F(FakeGraphTest, DeactivationOrderReleasesEverything) {
    FakeGraphMember video(L"Video");
    RecordingListener listener("main");
    component->AddGraphMember(&video);
    component->AddEventListener(&listener);
    ULONG graphRefs = graph->Refs();
    component->SetActive(true);
    EXPECT_GT(graph->Refs(), graphRefs);
    Journal().clear();

    component->SetActive(false);

    EXPECT_EQ((Strings{"listener:main.Control(7,0)", "member:Video.NotifyMembership(2)",
                       "graph.RemoveFilter(Video)", "member:Video.NotifyMembership(3)",
                       "graph.SetNotifyFlags(1)", "graph.SetLogFile(0)"}),
              Journaled({"graph.", "member:", "listener:"}));
    EXPECT_FALSE(component->Active());
    EXPECT_EQ(graphRefs, graph->Refs());
    EXPECT_EQ(1u, video.Filter()->Refs());
    EXPECT_FALSE(graph->Contains(video.Filter()));
    // Members stay registered and come back on the next activation.
    component->SetActive(true);
    EXPECT_TRUE(graph->Contains(video.Filter()));
    component->RemoveGraphMember(&video);
    EXPECT_FALSE(graph->Contains(video.Filter()));
    component->RemoveEventListener(&listener);
}

TEST_F(FakeGraphTest, ActivatingTwiceChangesNothing) {
    component->SetActive(true);
    Journal().clear();
    component->SetActive(true);
    EXPECT_TRUE(Journal().empty());
    EXPECT_EQ(1, platform.Creations(CLSID_FilterGraph));
}

TEST_F(FakeGraphTest, QueryInterfaceDelegatesByMode) {
    ComPtr<IMediaControl> control;
    EXPECT_EQ(E_NOINTERFACE, component->QueryInterface(control)); // inactive
    EXPECT_FALSE(control);

    component->SetActive(true);
    EXPECT_HRESULT_SUCCEEDED(component->QueryInterface(control));
    ComPtr<IDvdControl2> dvdControl;
    EXPECT_EQ(E_NOINTERFACE, component->QueryInterface(dvdControl));

    component->SetMode(gmDVD);
    EXPECT_TRUE(component->Active());
    ComPtr<IDvdGraphBuilder> builder;
    ASSERT_HRESULT_SUCCEEDED(component->QueryInterface(builder));
    EXPECT_EQ(static_cast<IDvdGraphBuilder*>(dvdBuilder.Get()), builder.Get());
    ASSERT_HRESULT_SUCCEEDED(component->QueryInterface(dvdControl));
    EXPECT_EQ(static_cast<IDvdControl2*>(dvdBuilder->control.Get()), dvdControl.Get());
    ComPtr<IDvdInfo2> info;
    EXPECT_HRESULT_SUCCEEDED(component->QueryInterface(info));
    EXPECT_HRESULT_SUCCEEDED(component->QueryInterface(control));
    EXPECT_EQ(static_cast<IMediaControl*>(graph.Get()), control.Get());

    component->SetMode(gmCapture);
    ComPtr<ICaptureGraphBuilder2> captureBuilder;
    ASSERT_HRESULT_SUCCEEDED(component->QueryInterface(captureBuilder));
    EXPECT_EQ(static_cast<IGraphBuilder*>(graph.Get()), capture->Graph());
    EXPECT_HRESULT_SUCCEEDED(component->QueryInterface(control));
    EXPECT_EQ(E_NOINTERFACE, component->QueryInterface(dvdControl));
    EXPECT_EQ(E_NOINTERFACE, component->QueryInterface(builder));

    control.Reset();
    captureBuilder.Reset();
    info.Reset();
    dvdControl.Reset();
    builder.Reset();
    component->SetActive(false);
    EXPECT_EQ(2u, capture->Refs()); // ours and the factory's
}

TEST_F(FakeGraphTest, ModeChangeKeepsActiveState) {
    component->SetMode(gmDVD);
    EXPECT_FALSE(component->Active());
    EXPECT_EQ(0, platform.Creations(CLSID_DvdGraphBuilder));

    component->SetActive(true);
    component->SetMode(gmDVD); // unchanged: nothing rebuilt
    EXPECT_EQ(1, platform.Creations(CLSID_DvdGraphBuilder));

    component->SetMode(gmNormal);
    EXPECT_TRUE(component->Active());
    EXPECT_EQ(1, platform.Creations(CLSID_FilterGraph));
    EXPECT_EQ(gmNormal, component->Mode());
}

TEST_F(FakeGraphTest, PlayPauseStopReturnRules) {
    RecordingListener listener("main");
    component->AddEventListener(&listener);
    EXPECT_FALSE(component->Play()); // inactive: no media control
    EXPECT_EQ(0, listener.controlCalls);

    component->SetActive(true);
    Journal().clear();
    graph->runResult = S_FALSE;
    EXPECT_TRUE(component->Play());
    graph->pauseResult = S_FALSE;
    EXPECT_FALSE(component->Pause());
    graph->stopResult = S_FALSE;
    EXPECT_FALSE(component->Stop());
    graph->pauseResult = graph->stopResult = S_OK;
    EXPECT_TRUE(component->Pause());
    EXPECT_TRUE(component->Stop());
    // A stopped graph is paused before it runs.
    EXPECT_EQ((Strings{"listener:main.Control(0,0)", "graph.Pause", "graph.Run", "listener:main.Control(1,0)", "graph.Pause",
                       "listener:main.Control(2,0)", "graph.Stop", "listener:main.Control(1,0)",
                       "graph.Pause", "listener:main.Control(2,0)", "graph.Stop"}),
              Journaled({"graph.Run", "graph.Pause", "graph.Stop", "listener:"}));

    graph->runResult = VFW_E_CANNOT_RENDER;
    try {
        component->Play();
        FAIL() << "no exception";
    } catch (const EDirectShowException& error) {
        EXPECT_EQ(VFW_E_CANNOT_RENDER, error.ErrorCode());
    }
    component->RemoveEventListener(&listener);
}

TEST_F(FakeGraphTest, ControlWithoutMediaControlDoesNothing) {
    graph->Hide(__uuidof(IMediaControl));
    component->SetActive(true);
    RecordingListener listener("main");
    component->AddEventListener(&listener);
    EXPECT_FALSE(component->Play());
    EXPECT_FALSE(component->Pause());
    EXPECT_FALSE(component->Stop());
    EXPECT_EQ(0, listener.controlCalls);
    component->RemoveEventListener(&listener);
}

TEST_F(FakeGraphTest, RenderMediaFileInactiveReturnsSFalseSilently) {
    RecordingListener listener("main");
    component->AddEventListener(&listener);
    EXPECT_EQ(S_FALSE, component->RenderMediaFile(L"C:\\clip.avi"));
    EXPECT_EQ(0, listener.controlCalls);
    EXPECT_EQ(0, graph->Calls("AddSourceFilter"));
    component->RemoveEventListener(&listener);
}

TEST_F(FakeGraphTest, RenderMediaFileRendersEveryPin) {
    component->SetActive(true);
    RecordingListener listener("main");
    component->AddEventListener(&listener);
    Journal().clear();
    graph->sourceOutputs = 2;

    EXPECT_EQ(S_FALSE, component->RenderMediaFile(L"C:\\My Films\\clip.avi"));

    EXPECT_EQ((Strings{"listener:main.Control(3,0)", "graph.AddFilter(C:\\My Films\\clip.avi)",
                       "graph.AddSourceFilter(C:\\My Films\\clip.avi)",
                       "graph.RenderEx(C:\\My Films\\clip.avi Out 0)",
                       "graph.RenderEx(C:\\My Films\\clip.avi Out 1)", "listener:main.Control(4,0)"}),
              Journaled({"listener:", "graph.AddSource", "graph.RenderEx", "graph.AddFilter(C:"}));
    component->RemoveEventListener(&listener);
}

TEST_F(FakeGraphTest, RenderMediaFileFailureRaisesAndComponentStaysUsable) {
    component->SetActive(true);
    RecordingListener listener("main");
    component->AddEventListener(&listener);
    graph->addSourceResult = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    try {
        component->RenderMediaFile(L"C:\\missing.avi");
        FAIL() << "no exception";
    } catch (const EDirectShowException& error) {
        EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), error.ErrorCode());
    }
    graph->addSourceResult = S_OK;
    graph->renderResult = VFW_E_UNSUPPORTED_STREAM;
    EXPECT_THROW(component->RenderMediaFile(L"C:\\random.avi"), EDirectShowException);
    EXPECT_EQ(1, graph->Calls("RenderEx")); // the remaining pin is skipped
    EXPECT_EQ(2, listener.controlCalls);    // gcFileRendering twice, no gcFileRendered

    graph->renderResult = S_OK;
    component->ResetGraph();
    EXPECT_EQ(S_FALSE, component->RenderMediaFile(L"C:\\good.avi"));
    EXPECT_EQ(Strings{"listener:main.Control(4,0)"}, Journaled({"listener:main.Control(4"}));
    component->RemoveEventListener(&listener);
}

TEST_F(FakeGraphTest, ResetGraphKeepsMembersUnconnected) {
    FakeGraphMember video(L"Video");
    component->AddGraphMember(&video);
    component->SetActive(true);
    component->RenderMediaFile(L"clip.avi");
    // Connect the member's filter too, as a renderer would be.
    auto* source = dynamic_cast<FakeFilter*>(graph->GetFilter(1));
    ASSERT_NE(nullptr, source);
    FakePin::Link(source->AddPin(PINDIR_OUTPUT), video.Filter()->GetPin(0));
    ASSERT_EQ(4, graph->FilterCount()); // member, source, two renderers
    Journal().clear();

    component->ResetGraph();

    EXPECT_EQ(State_Stopped, graph->state);
    ASSERT_EQ(1, graph->FilterCount());
    EXPECT_EQ(static_cast<IBaseFilter*>(video.Filter()), graph->GetFilter(0));
    EXPECT_EQ(nullptr, video.Filter()->GetPin(0)->Peer());
    // From the source downstream, both ends of each connection, output first.
    EXPECT_EQ((Strings{"pin:clip.avi Out 0.Disconnect", "pin:Renderer 1 In 0.Disconnect",
                       "pin:clip.avi Out 1.Disconnect", "pin:Renderer 2 In 0.Disconnect",
                       "pin:clip.avi Out 2.Disconnect", "pin:Video In 0.Disconnect"}),
              Journaled({"pin:"}));
    component->RemoveGraphMember(&video);
}

TEST_F(FakeGraphTest, ResetGraphWithoutGraphDoesNothing) {
    component->ResetGraph();
    EXPECT_TRUE(Journal().empty());
}

TEST_F(FakeGraphTest, VolumeLevels) {
    EXPECT_EQ(0, component->GetVolumeLevel()); // inactive
    component->SetActive(true);
    graph->volume = -2500;
    EXPECT_EQ(7500, component->GetVolumeLevel());
    component->SetVolumeLevel(10000);
    EXPECT_EQ(0, graph->volume);
    component->SetVolumeLevel(0);
    EXPECT_EQ(-10000, graph->volume);
    graph->putVolumeResult = E_FAIL; // failures are ignored
    component->SetVolumeLevel(5000);
    graph->getVolumeResult = E_FAIL; // no audio renderer behind the graph's IBasicAudio
    EXPECT_EQ(0, component->GetVolumeLevel());
}

TEST_F(FakeGraphTest, VolumeWithoutAudioRenderer) {
    graph->Hide(__uuidof(IBasicAudio));
    component->SetActive(true);
    EXPECT_EQ(0, component->GetVolumeLevel());
    component->SetVolumeLevel(5000);
    EXPECT_EQ(0, graph->Calls("put_Volume"));
}

TEST_F(FakeGraphTest, MembersAddedAndRemovedWhileActive) {
    component->SetActive(true);
    FakeGraphMember video(L"Video");
    Journal().clear();
    component->AddGraphMember(&video);
    component->RemoveGraphMember(&video);
    component->RemoveGraphMember(&video); // not a member any more: nothing
    EXPECT_EQ((Strings{"member:Video.NotifyMembership(0)", "graph.AddFilter(Video)",
                       "member:Video.NotifyMembership(1)", "member:Video.NotifyMembership(2)",
                       "graph.RemoveFilter(Video)", "member:Video.NotifyMembership(3)"}),
              Journaled({"member:", "graph."}));
}

TEST_F(FakeGraphTest, ListenersChangingDuringBroadcast) {
    RecordingListener first("first"), second("second"), third("third"), added("added");
    first.onControl = [&](TGraphControlEvent, int) {
        component->RemoveEventListener(&first);
        component->AddEventListener(&added);
    };
    second.onControl = [&](TGraphControlEvent, int) { component->RemoveEventListener(&second); };
    component->AddEventListener(&first);
    component->AddEventListener(&second);
    component->AddEventListener(&third);

    component->BroadcastControlEvent(gcPlay, 0);
    EXPECT_EQ((Strings{"listener:first.Control(0,0)", "listener:second.Control(0,0)",
                       "listener:third.Control(0,0)"}),
              Journaled({"listener:"}));

    Journal().clear();
    component->BroadcastControlEvent(gcStop, 0);
    EXPECT_EQ((Strings{"listener:third.Control(2,0)", "listener:added.Control(2,0)"}),
              Journaled({"listener:"}));

    // A listener removed by an earlier one before its turn is not called.
    third.onControl = [&](TGraphControlEvent, int) { component->RemoveEventListener(&added); };
    Journal().clear();
    component->BroadcastControlEvent(gcPause, 0);
    EXPECT_EQ((Strings{"listener:third.Control(1,0)"}), Journaled({"listener:"}));
    component->RemoveEventListener(&third);
}

TEST_F(FakeGraphTest, LogFileFollowsTheActiveGraph) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string log = std::string(folder) + "vireon-engine-test.log";
    component->SetLogFile(log);
    EXPECT_EQ(0, graph->Calls("SetLogFile"));
    component->SetActive(true);
    EXPECT_NE(0u, graph->LogFile());

    component->SetLogFile(std::string(folder) + "no such folder\\x.log");
    EXPECT_EQ(log, component->LogFile()); // kept
    EXPECT_EQ(0u, graph->LogFile());

    component->SetLogFile("");
    EXPECT_EQ("", component->LogFile());
    component->SetActive(false);
    EXPECT_EQ(0u, graph->LogFile());
    DeleteFileA(log.c_str());
}

TEST_F(FakeGraphTest, DvdBuilderWithoutGraphFallsBackToOurOwn) {
    // The platform's builder answers E_NOTIMPL for its graph, as on Wine.
    auto stub = MakeFake<FakeDvdGraphBuilder>(nullptr);
    platform.Provide(CLSID_DvdGraphBuilder, stub.Get());
    platform.ProvideOwnDvdBuilder(dvdBuilder.Get());
    component->SetMode(gmDVD);
    component->SetActive(true);

    EXPECT_EQ(1, platform.OwnDvdBuilderCreations());
    ComPtr<IDvdGraphBuilder> builder;
    ASSERT_HRESULT_SUCCEEDED(component->QueryInterface(builder));
    EXPECT_EQ(static_cast<IDvdGraphBuilder*>(dvdBuilder.Get()), builder.Get());
    builder.Reset();
    component->SetActive(false);
    EXPECT_EQ(2u, stub->Refs()); // ours and the factory's
}

TEST_F(FakeGraphTest, NoDvdBuilderLeavesAnEmptyGraph) {
    auto stub = MakeFake<FakeDvdGraphBuilder>(nullptr);
    platform.Provide(CLSID_DvdGraphBuilder, stub.Get());
    component->SetMode(gmDVD);
    EXPECT_NO_THROW(component->SetActive(true));
    EXPECT_TRUE(component->Active());
    ComPtr<IMediaControl> control;
    EXPECT_EQ(E_NOINTERFACE, component->QueryInterface(control));
    EXPECT_FALSE(component->Play());
    EXPECT_EQ(S_FALSE, component->RenderMediaFile(L"clip.avi"));
    AM_DVD_RENDERSTATUS status{};
    EXPECT_EQ(VFW_E_DVD_RENDERFAIL, component->RenderDvdVolume(status, L"", 1));
    EXPECT_NO_THROW(component->SetActive(false));
}

TEST_F(FakeGraphTest, RenderDvdVolumeResults) {
    RecordingListener listener("main");
    component->AddEventListener(&listener);
    AM_DVD_RENDERSTATUS status{};
    component->SetActive(true); // gmNormal: no DVD builder
    Journal().clear();
    EXPECT_EQ(VFW_E_DVD_RENDERFAIL, component->RenderDvdVolume(status, L"D:\\VIDEO_TS", 1));
    EXPECT_TRUE(Journaled({"listener:"}).empty());

    component->SetMode(gmDVD);
    Journal().clear();
    dvdBuilder->renderResult = S_FALSE;
    dvdBuilder->renderStatus.bDvdVolUnknown = TRUE;
    dvdBuilder->renderStatus.iNumStreamsFailed = 2;
    EXPECT_EQ(S_FALSE, component->RenderDvdVolume(status, L"", AM_DVD_HWDEC_PREFER));
    EXPECT_TRUE(dvdBuilder->renderedNullPath);
    EXPECT_EQ(static_cast<DWORD>(AM_DVD_HWDEC_PREFER), dvdBuilder->renderedFlags);
    EXPECT_TRUE(status.bDvdVolUnknown);
    EXPECT_EQ(2, status.iNumStreamsFailed);
    EXPECT_EQ((Strings{"listener:main.Control(5,1)", "dvdbuilder.RenderDvdVideoVolume(null)",
                       "listener:main.Control(6,1)"}),
              Journaled({"listener:", "dvdbuilder.Render"}));

    Journal().clear();
    dvdBuilder->renderResult = VFW_E_DVD_DECNOTENOUGH;
    try {
        component->RenderDvdVolume(status, L"D:\\VIDEO_TS\\VIDEO_TS.IFO", 1);
        FAIL() << "no exception";
    } catch (const EDirectShowException& error) {
        EXPECT_EQ(VFW_E_DVD_DECNOTENOUGH, error.ErrorCode());
    }
    EXPECT_EQ(L"D:\\VIDEO_TS\\VIDEO_TS.IFO", dvdBuilder->renderedPath);
    EXPECT_EQ((Strings{"listener:main.Control(5,1)"}), Journaled({"listener:"}));
    component->RemoveEventListener(&listener);
}

TEST_F(FakeGraphTest, DestructorDeactivates) {
    RecordingListener listener("main");
    component->AddEventListener(&listener);
    component->SetActive(true);
    component.reset();
    EXPECT_EQ((Strings{"listener:main.Control(7,1)", "listener:main.Control(7,0)"}),
              Journaled({"listener:"}));
}

TEST_F(FakeGraphTest, AutoCreateActivatesOnLoad) {
    component->Loaded();
    EXPECT_FALSE(component->Active());
    component->SetAutoCreate(true);
    component->Loaded();
    EXPECT_TRUE(component->Active());
}

} // namespace
