// The video window against fake platform objects: graph membership and registration, the overlay
// set-up with its undo list, colour control, capabilities, zoom, aspect and painting.

#include "support/FakeGraphFixture.h"

#include "engine/TVideoWindow.h"

#include "fakes/FakeOverlay.h"
#include "fakes/FakeVideo.h"

#include <stdexcept>

using Microsoft::WRL::ComPtr;
using namespace fakes;
using namespace vireon;
using Strings = std::vector<std::string>;

namespace {

IPin* PeerOf(FakeFilter* filter, int pin) {
    return filter->GetPin(pin)->Peer();
}

class VideoWindowTest : public FakeGraphTest {
protected:
    void SetUp() override {
        FakeGraphTest::SetUp();
        ownRenderer = MakeFake<FakeVideoRenderer>(L"Own Renderer");
        platform.Provide(CLSID_VideoRenderer, static_cast<IBaseFilter*>(ownRenderer.Get()));
        video = std::make_unique<TVideoWindow>();
        video->SetName("Video");
        video->SetRendererIsPopup(false);
        video->SetFilterGraph(component.get());
    }

    void TearDown() override {
        video.reset();
        component.reset();
        mixer.Reset();
        ownRenderer.Reset();
        decoder.Reset();
        FakeGraphTest::TearDown();
    }

    void ProvideMixer(int inputs) {
        mixer = MakeFake<FakeOverlayMixer>(inputs);
        platform.Provide(CLSID_OverlayMixer, static_cast<IBaseFilter*>(mixer.Get()));
    }

    // A decoder feeding the own renderer directly, as a rendered file leaves the graph.
    void RenderDecoderToOwnRenderer() {
        component->SetActive(true);
        decoder = MakeFake<FakeFilter>(L"Decoder", 0, 1);
        graph->AddFilter(decoder.Get(), L"Decoder");
        FakePin::Link(decoder->GetPin(0), ownRenderer->GetPin(0));
    }

    std::unique_ptr<TVideoWindow> video;
    ComPtr<FakeVideoRenderer> ownRenderer;
    ComPtr<FakeOverlayMixer> mixer;
    ComPtr<FakeFilter> decoder;
};

TEST_F(VideoWindowTest, RegistrationEndsWithEitherSide) {
    EXPECT_EQ(component.get(), video->FilterGraph());
    component->SetActive(true);
    EXPECT_TRUE(graph->Contains(ownRenderer.Get())) << "added under its name";
    EXPECT_EQ(L"Video", graph->FilterName(0));

    video->SetFilterGraph(component.get()); // the same graph: nothing happens
    EXPECT_EQ(1, graph->Calls("AddFilter"));

    {
        SCOPED_TRACE("a registration that goes takes its member out");
        RecordingListener listener("scoped");
        FakeGraphMember member(L"Scoped");
        {
            TGraphRegistration registration = component->Join(&member, &listener);
            TGraphRegistration moved = std::move(registration);
            EXPECT_FALSE(registration);
            EXPECT_TRUE(moved);
            EXPECT_TRUE(graph->Contains(member.Filter()));
        }
        EXPECT_FALSE(graph->Contains(member.Filter()));
        component->BroadcastControlEvent(gcPlay, 0);
        EXPECT_EQ(0, listener.controlCalls);
    }

    video->SetFilterGraph(nullptr);
    EXPECT_FALSE(graph->Contains(ownRenderer.Get()));
    EXPECT_EQ(nullptr, video->RendererWindow());
    video->SetFilterGraph(component.get());
    EXPECT_TRUE(graph->Contains(ownRenderer.Get()));

    // The graph going first leaves the control without one, and nothing dangling.
    component.reset();
    EXPECT_EQ(nullptr, video->FilterGraph());
    video->SetFilterGraph(nullptr);
}

TEST_F(VideoWindowTest, UpdateVideoWindowAttachesTheChildRenderer) {
    TForm form;
    video->SetParent(&form);
    video->SetBounds(8, 16, 320, 240);
    component->SetActive(true);
    Journal().clear();
    video->UpdateVideoWindow();
    EXPECT_EQ(reinterpret_cast<OAHWND>(form.Handle()), ownRenderer->owner);
    EXPECT_EQ(reinterpret_cast<OAHWND>(video->Handle()), ownRenderer->drain);
    EXPECT_TRUE(ownRenderer->style & WS_CHILD);
    EXPECT_EQ((Strings{"filter:Own Renderer.put_Owner", "filter:Own Renderer.put_WindowStyle(" +
                                                             std::to_string(ownRenderer->style) + ")",
                       "filter:Own Renderer.put_WindowStyleEx(0)",
                       "filter:Own Renderer.SetWindowPosition(8,16,320,240)",
                       "filter:Own Renderer.put_Caption(Video)", "filter:Own Renderer.put_MessageDrain",
                       "filter:Own Renderer.put_AutoShow(-1)"}),
              JournalOf({"filter:Own Renderer"}));
    video->SetParent(nullptr);
}

TEST_F(VideoWindowTest, DecoderFeedingTheRendererGoesThroughTheMixer) {
    ProvideMixer(2);
    RenderDecoderToOwnRenderer();
    Journal().clear();
    component->BroadcastControlEvent(gcFileRendered, 0);

    EXPECT_TRUE(video->OverlayConnected());
    EXPECT_TRUE(video->OverlayCaps()->CanOverlayGraphic());
    EXPECT_TRUE(graph->Contains(mixer.Get()));
    EXPECT_EQ(mixer->GetPin(0), PeerOf(decoder.Get(), 0));
    EXPECT_EQ(mixer->Output(), PeerOf(ownRenderer.Get(), 0));
    EXPECT_EQ((Strings{"graph.AddFilter(Overlay Mixer)", "graph.Connect(Decoder Out 0->Overlay Mixer In 0)",
                       "graph.Connect(Output->Own Renderer In 0)"}),
              JournalOf({"graph.AddFilter", "graph.Connect"}));
    EXPECT_NE(nullptr, mixer->Callback());
    // The hardware's colour values were read and the stored ones sent back.
    EXPECT_EQ(1, mixer->Config(0)->Calls("SetOverlaySurfaceColorControls"));

    // Leaving the graph undoes the callback and the connections.
    ComPtr<IDDrawExclModeVideoCallback> callback = mixer->Callback();
    component->SetActive(false);
    EXPECT_EQ(nullptr, mixer->Callback());
    EXPECT_EQ(nullptr, PeerOf(ownRenderer.Get(), 0));
    EXPECT_FALSE(video->OverlayConnected());
    callback->AddRef();
    EXPECT_EQ(1u, callback->Release()) << "only our reference is left";
    callback.Reset();
}

class DvdOverlayTest : public VideoWindowTest {
protected:
    // The builder's DVD graph: decoder -> VMR 0, navigator -> second-generation line-21 -> VMR 1.
    void BuildVmrGraph() {
        component->SetActive(true);
        decoder = MakeFake<FakeFilter>(L"Decoder", 0, 1);
        navigator = MakeFake<FakeFilter>(L"Navigator", 0, 1);
        line21v2 = MakeFake<FakeFilter>(L"Line21 v2", 1, 1);
        line21v2->classId = CLSID_Line21Decoder2;
        vmr = MakeFake<FakeFilter>(L"VMR", 3, 0);
        vmr->classId = CLSID_VideoMixingRenderer;
        graph->AddFilter(decoder.Get(), L"Decoder");
        graph->AddFilter(navigator.Get(), L"Navigator");
        graph->AddFilter(line21v2.Get(), L"Line21 v2");
        graph->AddFilter(vmr.Get(), L"VMR");
        FakePin::Link(decoder->GetPin(0), vmr->GetPin(0));
        FakePin::Link(navigator->GetPin(0), line21v2->GetPin(0));
        FakePin::Link(line21v2->GetPin(1), vmr->GetPin(1));
        line21 = MakeFake<FakeFilter>(L"Line21", 1, 1);
        line21->classId = CLSID_Line21Decoder;
        platform.Provide(CLSID_Line21Decoder, static_cast<IBaseFilter*>(line21.Get()));
    }

    void TearDown() override {
        video.reset();
        component.reset();
        navigator.Reset();
        line21v2.Reset();
        vmr.Reset();
        line21.Reset();
        VideoWindowTest::TearDown();
    }

    ComPtr<FakeFilter> navigator, line21v2, vmr, line21;
};

TEST_F(DvdOverlayTest, VmrIsReplacedByTheMixerAndTheOwnRenderer) {
    ProvideMixer(2);
    BuildVmrGraph();
    component->BroadcastControlEvent(gcFileRendered, 0);

    EXPECT_TRUE(video->OverlayConnected());
    EXPECT_FALSE(graph->Contains(vmr.Get()));
    EXPECT_FALSE(graph->Contains(line21v2.Get()));
    EXPECT_TRUE(graph->Contains(line21.Get()));
    EXPECT_EQ(mixer->GetPin(0), PeerOf(decoder.Get(), 0));
    EXPECT_EQ(line21->GetPin(0), PeerOf(navigator.Get(), 0)) << "output to input";
    EXPECT_EQ(mixer->GetPin(1), PeerOf(line21.Get(), 1));
    EXPECT_EQ(mixer->Output(), PeerOf(ownRenderer.Get(), 0));
    EXPECT_EQ(ownRenderer.Get(), static_cast<FakeVideoRenderer*>(video->RendererWindow()));
}

TEST_F(DvdOverlayTest, NoFreeMixerInputUndoesEverything) {
    ProvideMixer(1);
    BuildVmrGraph();
    component->BroadcastControlEvent(gcFileRendered, 0);

    EXPECT_FALSE(video->OverlayConnected());
    EXPECT_FALSE(video->OverlayCaps()->CanOverlayGraphic());
    EXPECT_FALSE(graph->Contains(mixer.Get()));
    EXPECT_TRUE(graph->Contains(vmr.Get()));
    EXPECT_TRUE(graph->Contains(line21v2.Get()));
    EXPECT_FALSE(graph->Contains(line21.Get()));
    EXPECT_FALSE(graph->Contains(ownRenderer.Get())) << "the VMR stays the renderer";
    EXPECT_EQ(vmr->GetPin(0), PeerOf(decoder.Get(), 0));
    EXPECT_EQ(vmr->GetPin(1), PeerOf(line21v2.Get(), 1));
    EXPECT_EQ(line21v2->GetPin(0), PeerOf(navigator.Get(), 0));
    EXPECT_EQ(nullptr, mixer->GetPin(0)->Peer());
}

TEST_F(VideoWindowTest, DvdRenderedAdoptsTheBuildersOwnRenderer) {
    ProvideMixer(2);
    component->SetActive(true);
    graph->RemoveFilter(ownRenderer.Get()); // the builder did not use ours
    auto builderRenderer = MakeFake<FakeVideoRenderer>(L"Builder Renderer");
    decoder = MakeFake<FakeFilter>(L"Decoder", 0, 1);
    graph->AddFilter(decoder.Get(), L"Decoder");
    graph->AddFilter(builderRenderer.Get(), L"Builder Renderer");
    FakePin::Link(decoder->GetPin(0), builderRenderer->GetPin(0));

    component->BroadcastControlEvent(gcDvdRendered, 0);

    EXPECT_EQ(static_cast<IVideoWindow*>(builderRenderer.Get()), video->RendererWindow());
    EXPECT_TRUE(video->OverlayConnected());
    EXPECT_EQ(mixer->Output(), PeerOf(builderRenderer.Get(), 0));
    EXPECT_EQ(builderRenderer.Get(), static_cast<FakeVideoRenderer*>(video->GetMemberFilter().Get()));
    video.reset();
    component.reset();
    builderRenderer.Reset();
}

TEST_F(VideoWindowTest, ColorControlRanges) {
    TColorControl& colors = *video->ColorControl();
    auto refused = [&](auto set, int value, const std::string& message) {
        SCOPED_TRACE(message);
        try {
            set(value);
            ADD_FAILURE() << "accepted " << value;
        } catch (const std::out_of_range& error) {
            EXPECT_EQ(message, error.what());
        }
    };
    colors.SetHue(-180);
    colors.SetHue(180);
    refused([&](int v) { colors.SetHue(v); }, 181, "Value 181 out of range. Value must bee between -180 -> 180");
    refused([&](int v) { colors.SetHue(v); }, -181, "Value -181 out of range. Value must bee between -180 -> 180");
    EXPECT_EQ(180, colors.Hue()) << "the old value stays";
    refused([&](int v) { colors.SetGamma(v); }, 0, "Value 0 out of range. Value must bee between 1 -> 500");
    refused([&](int v) { colors.SetSharpness(v); }, 11, "Value 11 out of range. Value must bee between 0 -> 10");
    refused([&](int v) { colors.SetBrightness(v); }, 10001,
            "Value 10001 out of range. Value must bee between 0 -> 10.000");
    refused([&](int v) { colors.SetSaturation(v); }, -1,
            "Value -1 out of range. Value must bee between 0 -> 20.000");
    colors.SetContrast(20000);
    EXPECT_EQ(20000, colors.Contrast());
}

TEST_F(VideoWindowTest, CapabilitiesAndDeviceValues) {
    TVideoWindowCaps& caps = *video->OverlayCaps();
    EXPECT_FALSE(caps.CanOverlayGraphic());
    for (bool can : {caps.CanControlBrigtness(), caps.CanControlContrast(), caps.CanControlHue(),
                     caps.CanControlSaturation(), caps.CanControlSharpness(), caps.CanControlGamma(),
                     caps.CanControlColorEnabled()})
        EXPECT_TRUE(can);

    // Active without a mixer: values are only stored.
    component->SetActive(true);
    video->ColorControl()->SetBrightness(900);
    EXPECT_EQ(900, video->ColorControl()->Brightness());

    ProvideMixer(2);
    RenderDecoderToOwnRenderer();
    component->BroadcastControlEvent(gcFileRendered, 0);
    ASSERT_TRUE(video->OverlayConnected());
    FakeMixerPinConfig& pin = *mixer->Config(0);
    EXPECT_TRUE(caps.CanControlHue());
    EXPECT_FALSE(caps.CanControlSaturation()) << "the hardware's flags after set-up";
    EXPECT_EQ(900, pin.written.lBrightness) << "stored values applied at set-up";

    TColorControl& colors = *video->ColorControl();
    pin.device.lBrightness = 1234;
    EXPECT_EQ(1234, colors.Brightness()) << "read from the hardware";
    colors.SetBrightness(4000);
    EXPECT_EQ(4000, pin.written.lBrightness);
    colors.RestoreDefaults();
    EXPECT_EQ(600, pin.written.lBrightness) << "the values read at set-up go back";
    EXPECT_EQ(9000, pin.written.lContrast);

    pin.getColorsResult = E_FAIL;
    colors.SetHue(90);
    EXPECT_EQ(0, colors.Hue()) << "a failed read resets the defaults";
    EXPECT_EQ(750, colors.Brightness());
}

TEST_F(VideoWindowTest, DigitalZoomCutsTheSourceCentred) {
    RenderDecoderToOwnRenderer();
    component->BroadcastControlEvent(gcFileRendered, 0); // no mixer here: the renderer is still found
    EXPECT_FALSE(video->OverlayConnected());
    Journal().clear();
    video->SetDigitalZoom(10);
    EXPECT_EQ((Strings{"filter:Own Renderer.SetDefaultSourcePosition", "filter:Own Renderer.put_SourceWidth(648)",
                       "filter:Own Renderer.put_SourceHeight(518)", "filter:Own Renderer.put_SourceLeft(36)",
                       "filter:Own Renderer.put_SourceTop(28)"}),
              JournalOf({"filter:Own Renderer"}));
    try {
        video->SetDigitalZoom(100);
        ADD_FAILURE() << "zoom 100 accepted";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ("Value 100 out of range. Value must bee between 0 -> 99", error.what());
    }
    EXPECT_EQ(10, video->DigitalZoom());
    EXPECT_THROW(video->SetDigitalZoom(-1), std::out_of_range);
}

TEST_F(VideoWindowTest, AspectRatioGoesThroughTheMixer) {
    RenderDecoderToOwnRenderer();
    video->SetAspectRatio(rmCrop);
    EXPECT_EQ(rmCrop, video->AspectRatio()) << "without overlay only stored";

    component->SetActive(false);
    ProvideMixer(2);
    RenderDecoderToOwnRenderer();
    component->BroadcastControlEvent(gcFileRendered, 0);
    ASSERT_TRUE(video->OverlayConnected());
    video->SetAspectRatio(rmStretched);
    EXPECT_EQ(AM_ARMODE_STRETCHED, mixer->Config(0)->aspectMode);
    EXPECT_EQ(rmStretched, video->AspectRatio());
    mixer->Config(0)->aspectResult = E_FAIL;
    video->SetAspectRatio(rmLetterBox);
    EXPECT_EQ(rmStretched, video->AspectRatio()) << "a refused mode keeps the old one";
}

TEST_F(VideoWindowTest, PaintFillsTheClientWithTheColour) {
    TForm form;
    form.SetBounds(0, 0, 300, 200);
    form.Handle();
    video->SetParent(&form);
    video->SetBounds(0, 0, 160, 90);
    video->SetColor(RGB(25, 80, 140));
    std::vector<COLORREF> seen;
    video->OnPaint = [&](TObject*, HDC dc) {
        for (POINT at : {POINT{0, 0}, POINT{159, 89}, POINT{80, 45}})
            seen.push_back(GetPixel(dc, at.x, at.y));
    };
    video->PaintVideoArea();
    EXPECT_EQ((std::vector<COLORREF>(3, RGB(25, 80, 140))), seen);

    // With the overlay showing, the picture's rectangle is the colour key, letter-boxed.
    ProvideMixer(2);
    RenderDecoderToOwnRenderer();
    component->BroadcastControlEvent(gcFileRendered, 0);
    component->BroadcastControlEvent(gcPlay, 0);
    video->ColorKeyChanged(RGB(16, 0, 16));
    seen.clear();
    video->PaintVideoArea();
    RECT picture = video->VideoRect();
    EXPECT_EQ(20, picture.left);
    EXPECT_EQ(140, picture.right);
    EXPECT_EQ(90, picture.bottom);
    EXPECT_EQ((std::vector<COLORREF>{RGB(25, 80, 140), RGB(25, 80, 140), RGB(16, 0, 16)}), seen)
        << "bars beside the 4:3 picture in the colour, the picture in the colour key";
    video->SetParent(nullptr);
}

TEST_F(VideoWindowTest, LateMixerCallbackAfterDestructionDoesNothing) {
    ProvideMixer(2);
    RenderDecoderToOwnRenderer();
    component->BroadcastControlEvent(gcFileRendered, 0);
    ComPtr<IDDrawExclModeVideoCallback> callback = mixer->Callback();
    ASSERT_TRUE(callback);
    int keys = 0;
    video->OnColorKeyChanged = [&](TObject*) { ++keys; };
    COLORKEY key{CK_RGB, 0, RGB(1, 2, 3), RGB(1, 2, 3)};
    EXPECT_EQ(S_OK, callback->OnUpdateColorKey(&key, 0));
    EXPECT_EQ(RGB(1, 2, 3), video->OverlayColorKey());
    EXPECT_EQ(1, keys);

    video.reset();
    EXPECT_EQ(nullptr, mixer->Callback());
    EXPECT_EQ(S_OK, callback->OnUpdateColorKey(&key, 0));
    EXPECT_EQ(S_OK, callback->OnUpdateSize(720, 576, 4, 3));
    EXPECT_EQ(1, keys);
    EXPECT_FALSE(graph->Contains(ownRenderer.Get())) << "the renderer left with the control";
}

TEST_F(VideoWindowTest, AnotherGraphWhilePlaying) {
    ProvideMixer(2);
    RenderDecoderToOwnRenderer();
    component->BroadcastControlEvent(gcFileRendered, 0);
    component->Play();
    TFilterGraph other;
    video->SetFilterGraph(&other);
    EXPECT_EQ(&other, video->FilterGraph());
    EXPECT_FALSE(graph->Contains(ownRenderer.Get()));
    EXPECT_EQ(nullptr, mixer->Callback());
    EXPECT_EQ(nullptr, video->RendererWindow());
    EXPECT_FALSE(video->OverlayCaps()->CanOverlayGraphic());
    video->SetFilterGraph(nullptr);
}

} // namespace
