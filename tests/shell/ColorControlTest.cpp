// The colour window over a video window whose overlay mixer is a fake with "hardware" values: one
// window for every command, centred over the video, showing and writing the values in effect.
#include "shell/TColorControlForm.h"

#include "forms/TApplication.h"

#include "fakes/FakeOverlay.h"
#include "fakes/FakeVideo.h"
#include "support/FakeGraphFixture.h"

using Microsoft::WRL::ComPtr;
using namespace fakes;
using namespace vireon;

namespace {

class ColorWindowTest : public FakeGraphTest {
protected:
    void SetUp() override {
        FakeGraphTest::SetUp();
        renderer = MakeFake<FakeVideoRenderer>(L"Renderer");
        platform.Provide(CLSID_VideoRenderer, static_cast<IBaseFilter*>(renderer.Get()));
        mixer = MakeFake<FakeOverlayMixer>(2);
        platform.Provide(CLSID_OverlayMixer, static_cast<IBaseFilter*>(mixer.Get()));
        host = new TForm();
        host->SetBounds(60, 40, 640, 480);
        video = new TVideoWindow(host);
        video->SetRendererIsPopup(false);
        video->SetBounds(20, 30, 400, 300);
        video->SetParent(host);
        video->SetFilterGraph(component.get());
        host->Show();
        // A decoder feeding the renderer: the overlay is set up and the device values read.
        component->SetActive(true);
        decoder = MakeFake<FakeFilter>(L"Decoder", 0, 1);
        graph->AddFilter(decoder.Get(), L"Decoder");
        FakePin::Link(decoder->GetPin(0), renderer->GetPin(0));
        component->BroadcastControlEvent(gcFileRendered, 0);
        ASSERT_TRUE(video->OverlayConnected());
        pin = mixer->Config(0);
    }

    void TearDown() override {
        if (ColorControlForm)
            FreeComponent(ColorControlForm);
        EXPECT_EQ(nullptr, ColorControlForm) << "the reference goes with the window";
        FreeComponent(host);
        component.reset();
        decoder.Reset();
        mixer.Reset();
        renderer.Reset();
        FakeGraphTest::TearDown();
    }

    void ExpectCentredOverTheVideo(TColorControlForm* form) {
        const POINT origin = video->ClientOrigin();
        EXPECT_EQ(origin.x + video->Width() / 2 - form->Width() / 2, form->Left());
        EXPECT_EQ(origin.y + video->Height() / 2 - form->Height() / 2, form->Top());
    }

    void ExpectBars(int Brightness, int Contrast, int Hue, int Saturation, bool Colors, int Line) {
        SCOPED_TRACE(testing::Message() << "bars checked at line " << Line);
        ASSERT_TRUE(ColorControlForm);
        EXPECT_EQ(Brightness, ColorControlForm->TrackBar1->Position());
        EXPECT_EQ(Contrast, ColorControlForm->TrackBar2->Position());
        EXPECT_EQ(Hue, ColorControlForm->TrackBar3->Position());
        EXPECT_EQ(Saturation, ColorControlForm->TrackBar4->Position());
        EXPECT_EQ(Colors, ColorControlForm->CheckBox1->Checked());
    }

    void SetHardware(long Brightness, long Contrast, long Hue, long Saturation, long Colors) {
        pin->device.lBrightness = Brightness;
        pin->device.lContrast = Contrast;
        pin->device.lHue = Hue;
        pin->device.lSaturation = Saturation;
        pin->device.lColorEnable = Colors;
    }

    ComPtr<FakeVideoRenderer> renderer;
    ComPtr<FakeOverlayMixer> mixer;
    ComPtr<FakeFilter> decoder;
    FakeMixerPinConfig* pin = nullptr;
    TForm* host = nullptr;
    TVideoWindow* video = nullptr;
};

TEST_F(ColorWindowTest, DesignOfTheWindow) {
    // The mixer tells the window its key colour, as the overlay hardware does.
    COLORKEY key{CK_RGB, 0, RGB(16, 0, 16), RGB(16, 0, 16)};
    ASSERT_TRUE(mixer->Callback());
    mixer->Callback()->OnUpdateColorKey(&key, 0);
    ASSERT_EQ(RGB(16, 0, 16), video->OverlayColorKey());
    TColorControlForm* form = ShowColorControl(video);
    EXPECT_EQ("ColorControlForm", form->Name());
    EXPECT_EQ(bsNone, form->BorderStyle());
    EXPECT_EQ(fsStayOnTop, form->FormStyle());
    EXPECT_EQ(166, form->ClientWidth());
    EXPECT_EQ(226, form->ClientHeight());
    EXPECT_EQ(stRoundRect, form->Shape1->Shape());
    EXPECT_EQ(3, form->Shape1->Pen().Width);
    EXPECT_EQ(15060116, form->Shape1->Pen().Color);
    EXPECT_EQ(RGB(148, 204, 229), COLORREF(form->Font().Color()));
    struct TBar {
        TTrackBar* Bar;
        int Min, Max, Frequency;
    };
    for (const TBar& bar : {TBar{form->TrackBar1, 0, 10000, 1000}, TBar{form->TrackBar2, 0, 20000, 2000},
                            TBar{form->TrackBar3, -180, 180, 36}, TBar{form->TrackBar4, 0, 20000, 2000}}) {
        SCOPED_TRACE(bar.Bar->Name());
        EXPECT_EQ(bar.Min, bar.Bar->Min());
        EXPECT_EQ(bar.Max, bar.Bar->Max());
        EXPECT_EQ(bar.Frequency, bar.Bar->Frequency());
        EXPECT_EQ(150, bar.Bar->Width());
        EXPECT_EQ(10, bar.Bar->ThumbLength());
        EXPECT_EQ(tmBottomRight, bar.Bar->TickMarks());
    }
    EXPECT_EQ("Utilized colors", form->CheckBox1->Caption());
    EXPECT_EQ("Reset to Default", form->SpeedButton1->Caption());
    // Over the overlay the window takes the key colour, so the picture shows through it.
    EXPECT_EQ(video->OverlayColorKey(), COLORREF(form->Color()));
    EXPECT_EQ(TColor(video->OverlayColorKey()), form->Shape1->Brush().Color);
}

TEST_F(ColorWindowTest, OneWindowCentredOverTheVideoWithTheValuesInEffect) {
    SetHardware(1234, 15000, -90, 5000, 0);
    TColorControlForm* first = ShowColorControl(video);
    EXPECT_TRUE(first->Visible());
    ExpectCentredOverTheVideo(first);
    ExpectBars(1234, 15000, -90, 5000, false, __LINE__);

    // Moving a bar writes its value at once; the check box too.
    first->TrackBar2->SetPosition(12000);
    EXPECT_EQ(12000, pin->written.lContrast);
    first->CheckBox1->SetChecked(true);
    EXPECT_EQ(1, pin->written.lColorEnable);

    // Losing the focus hides it; the next command shows the same window, where the video is now.
    first->Perform(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(first->Visible());
    video->SetBounds(100, 80, 320, 240);
    SetHardware(2222, 3000, 170, 100, 1);
    TColorControlForm* second = ShowColorControl(video);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, ColorControlForm);
    ExpectCentredOverTheVideo(second);
    ExpectBars(2222, 3000, 170, 100, true, __LINE__);

    // Shown still, a command centres and reads again all the same.
    video->SetBounds(0, 0, 200, 100);
    SetHardware(10, 20, 30, 40, 1);
    EXPECT_EQ(first, ShowColorControl(video));
    ExpectCentredOverTheVideo(first);
    ExpectBars(10, 20, 30, 40, true, __LINE__);
}

TEST_F(ColorWindowTest, ResetToDefaultSendsTheDeviceValuesAndShowsWhatIsInEffect) {
    TColorControlForm* form = ShowColorControl(video);
    form->TrackBar1->SetPosition(9000);
    form->TrackBar3->SetPosition(-100);
    ASSERT_EQ(9000, pin->written.lBrightness);
    fakes::Journal().clear();
    SetHardware(601, 9001, 13, 8001, 1); // what the hardware answers after the reset
    form->SpeedButton1->Click();
    // The values read from the device when the overlay was set up (the fake's 600, 9000, 12, 8000).
    EXPECT_EQ(600, pin->written.lBrightness);
    EXPECT_EQ(9000, pin->written.lContrast);
    EXPECT_EQ(12, pin->written.lHue);
    EXPECT_EQ(8000, pin->written.lSaturation);
    EXPECT_EQ(1, pin->written.lColorEnable);
    ExpectBars(601, 9001, 13, 8001, true, __LINE__);
    const std::vector<std::string> journal = fakes::JournalOf({"config:0.Set"});
    EXPECT_EQ(1u, journal.size()) << "showing the values read does not write them back";
}

TEST_F(ColorWindowTest, HardwareValuesOffTheScaleAreShownAtItsEnds) {
    SetHardware(20000, -5, 500, 99999, 7);
    const int writes = pin->Calls("SetOverlaySurfaceColorControls");
    ASSERT_NO_THROW(ShowColorControl(video));
    ExpectBars(10000, 0, 180, 20000, true, __LINE__);
    EXPECT_EQ(writes, pin->Calls("SetOverlaySurfaceColorControls")) << "nothing written by showing";
    SetHardware(-1, 0, -181, 0, 0);
    ASSERT_NO_THROW(ShowColorControl(video));
    ExpectBars(0, 0, -180, 0, false, __LINE__);
}

TEST_F(ColorWindowTest, WithoutAnOverlayKeyTheWindowHasAPlainFace) {
    // A second video window that never had an overlay: no key colour.
    auto* plain = new TVideoWindow(host);
    plain->SetBounds(0, 0, 160, 120);
    plain->SetParent(host);
    ASSERT_EQ(COLORREF(clNone), plain->OverlayColorKey());
    TColorControlForm* form = ShowColorControl(plain);
    EXPECT_EQ(TColorControlForm::kPlainFace, form->Color());
    EXPECT_EQ(TColorControlForm::kPlainFace, form->Shape1->Brush().Color);
    FreeComponent(form);
}

} // namespace
