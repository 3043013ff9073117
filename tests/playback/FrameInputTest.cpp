// Input on the video, the aspect modes with the placement of the picture, and the optical drives
// with their eject requests, on the fake kit and the device seam.

#include "FrameFixture.h"

#include "fakes/FakeOverlay.h"

#include <cctype>
#include <cstring>

using namespace vireon;
using Strings = std::vector<std::string>;

namespace {

struct Request {
    std::string device;
    DWORD code;
    std::vector<BYTE> input;
};

// Records every device request; Answer may change the buffer as a device would.
class DeviceRecorder {
public:
    std::vector<Request> requests;
    bool result = true;
    std::function<void(void* Buffer)> answer;

private:
    TScopedSeam<TDeviceRequestSeam> seam_{
        DeviceRequestSeam(), [this](const std::string& Device, DWORD Code, void* Buffer, DWORD Size) {
            const BYTE* bytes = static_cast<const BYTE*>(Buffer);
            requests.push_back({Device, Code, {bytes, bytes + Size}});
            if (answer)
                answer(Buffer);
            return result;
        }};
};

TDosRegisters RegistersOf(const Request& request) {
    TDosRegisters registers;
    EXPECT_EQ(sizeof registers, request.input.size());
    if (request.input.size() == sizeof registers)
        std::memcpy(&registers, request.input.data(), sizeof registers);
    return registers;
}

// Drives D: and F: optical, C: a hard disk.
class FakeDrives {
    TScopedSeam<TLogicalDrivesSeam> mask_{LogicalDrivesSeam(),
                                          [] { return DWORD((1 << 2) | (1 << 3) | (1 << 5)); }};
    TScopedSeam<TDriveTypeSeam> type_{DriveTypeSeam(), [](const std::string& Root) -> UINT {
                                          char letter =
                                              Root.empty() ? 0 : static_cast<char>(tolower(Root[0]));
                                          return letter == 'd' || letter == 'f' ? DRIVE_CDROM
                                                 : letter == 'c'                ? DRIVE_FIXED
                                                                                : DRIVE_NO_ROOT_DIR;
                                      }};
};

} // namespace

TEST(VideoPlacement, SixModes) {
    const RECT bounds{0, 0, 640, 480};
    EXPECT_EQ((TVideoPlacement{20, 0, 600, 480}), ComputeVideoPlacement(1, bounds, 640, 480, 720, 576))
        << "LetterBox: 1.25 is narrower than 1.333";
    EXPECT_EQ((TVideoPlacement{0, 60, 640, 360}), ComputeVideoPlacement(4, bounds, 640, 480, 0, 0)) << "16:9";
    EXPECT_EQ((TVideoPlacement{0, 0, 640, 480}), ComputeVideoPlacement(3, bounds, 640, 480, 0, 0)) << "4:3";
    EXPECT_EQ((TVideoPlacement{0, 104, 640, 272}), ComputeVideoPlacement(5, bounds, 640, 480, 0, 0))
        << "2.35:1";
    EXPECT_EQ((TVideoPlacement{0, 0, 640, 480}), ComputeVideoPlacement(0, bounds, 640, 480, 720, 576))
        << "Fit to screen";
    EXPECT_EQ((TVideoPlacement{0, 0, 640, 480}), ComputeVideoPlacement(1, bounds, 640, 480, 0, 0))
        << "LetterBox without a known size fills the window";
    EXPECT_EQ((TVideoPlacement{-106, 0, 853, 480}), ComputeVideoPlacement(2, bounds, 640, 480, 1280, 720))
        << "Crop: full height, cut at the sides";
    EXPECT_EQ((TVideoPlacement{0, 0, 640, 480}), ComputeVideoPlacement(2, bounds, 640, 480, 0, 0));
    EXPECT_EQ((TVideoPlacement{10, 37, 400, 225}),
              ComputeVideoPlacement(4, {10, 20, 410, 280}, 400, 260, 0, 0))
        << "offset by the window's place in its parent";
    EXPECT_EQ((TVideoPlacement{5, 5, 0, 0}), ComputeVideoPlacement(4, {5, 5, 5, 5}, 0, 0, 0, 0))
        << "an empty window";
}

TEST_F(FrameTest, PlaceVideoHandsThePlacementToTheRenderer) {
    // The graph of the first media, with the video window's renderer in it.
    frame->FilterGraph->SetActive(true);
    frame->Handle();
    frame->SetBounds(0, 0, 640, 480);
    ASSERT_EQ(640, frame->VideoWindow->ClientWidth());
    ASSERT_EQ(480, frame->VideoWindow->ClientHeight());
    int changes = 0;
    frame->OnAspectRatioChanged = [&](TObject*) { ++changes; };
    fakes::Journal().clear();
    frame->miAspectRatioClick(frame->miAspectRati169);
    EXPECT_EQ(4, frame->AspectMode());
    EXPECT_EQ(1, changes);
    EXPECT_TRUE(frame->miAspectRati169->Checked());
    EXPECT_FALSE(frame->miAspectRatioLetterBox->Checked());
    EXPECT_EQ((TVideoPlacement{0, 60, 640, 360}), frame->LastPlacement());
    EXPECT_EQ(Strings{"filter:Own Renderer.SetWindowPosition(0,60,640,360)"},
              Journaled({"filter:Own Renderer.SetWindowPosition"}));
    EXPECT_EQ(rmStretched, frame->VideoWindow->AspectRatio());

    SCOPED_TRACE("with the Overlay Mixer in the path the mixer keeps the proportions");
    auto mixer = fakes::MakeFake<fakes::FakeOverlayMixer>(2);
    platform.Provide(CLSID_OverlayMixer, static_cast<IBaseFilter*>(mixer.Get()));
    auto decoder = fakes::MakeFake<fakes::FakeFilter>(L"Decoder", 0, 1);
    graph->AddFilter(decoder.Get(), L"Decoder");
    fakes::FakePin::Link(decoder->GetPin(0), renderer->GetPin(0));
    frame->FilterGraph->BroadcastControlEvent(gcFileRendered, 0);
    ASSERT_TRUE(frame->VideoWindow->OverlayCaps()->CanOverlayGraphic());
    frame->SetAspectMode(1);
    EXPECT_EQ((TVideoPlacement{0, 0, 640, 480}), frame->LastPlacement());
    EXPECT_EQ(rmLetterBox, frame->VideoWindow->AspectRatio());
    frame->SetAspectMode(2);
    EXPECT_EQ(rmCrop, frame->VideoWindow->AspectRatio());
    frame->SetAspectMode(5);
    EXPECT_EQ((TVideoPlacement{0, 104, 640, 272}), frame->LastPlacement());
    EXPECT_EQ(rmStretched, frame->VideoWindow->AspectRatio());
    frame->CloseMedia();
}

TEST_F(FrameTest, MouseUpFollowsTheNavigatorsAnswer) {
    ASSERT_TRUE(frame->OpenDVD(L"Z:\\disc\\VIDEO_TS"));
    ASSERT_TRUE(frame->Playing());
    auto click = [&](TMouseButton button = mbLeft) { frame->VideoWindowMouseUp(nullptr, button, 0, 30, 40); };
    {
        SCOPED_TRACE("not in a menu: the click toggles");
        Navigator().results["ActivateAtPosition"] = VFW_E_DVD_INVALIDDOMAIN;
        click();
        EXPECT_FALSE(frame->Playing());
        EXPECT_EQ(2, graph->Calls("Pause")) << "one on the way to the start, one for the click";
        click();
        EXPECT_TRUE(frame->Playing());
    }
    {
        SCOPED_TRACE("a menu without buttons toggles, a menu with buttons does not");
        Navigator().results["ActivateAtPosition"] = VFW_E_DVD_NO_BUTTON;
        NavigatorInfo().buttonsAvailable = 0;
        click();
        EXPECT_FALSE(frame->Playing());
        NavigatorInfo().buttonsAvailable = 3;
        click();
        EXPECT_FALSE(frame->Playing());
    }
    {
        SCOPED_TRACE("a button was activated; the right button never acts");
        Navigator().results["ActivateAtPosition"] = S_OK;
        click();
        click(mbRight);
        EXPECT_FALSE(frame->Playing());
        EXPECT_EQ(5, Navigator().Calls("ActivateAtPosition"));
        EXPECT_EQ(Strings{"dvdcontrol.ActivateAtPosition(30,40)"},
                  Strings{Journaled({"dvdcontrol.ActivateAtPosition"}).back()});
    }
    {
        SCOPED_TRACE("no navigator: play/pause");
        frame->CloseMedia();
        click();
        EXPECT_TRUE(frame->Playing()) << "a DVD was opened: the media is there";
    }
}

TEST_F(FrameTest, MouseMoveShowsTheHandOverButtons) {
    ASSERT_TRUE(frame->OpenDVD(L"Z:\\disc\\VIDEO_TS"));
    frame->VideoWindowMouseMove(nullptr, 0, 5, 6);
    EXPECT_EQ(crHandPoint, frame->VideoWindow->Cursor());
    Navigator().results["SelectAtPosition"] = VFW_E_DVD_NO_BUTTON;
    frame->VideoWindowMouseMove(nullptr, 0, 5, 6);
    EXPECT_EQ(crDefault, frame->VideoWindow->Cursor());
    EXPECT_EQ(Strings{"dvdcontrol.SelectAtPosition(5,6)"},
              Strings{Journaled({"dvdcontrol.SelectAtPosition"}).back()});
}

TEST(DriveEject, RequestsByPlatformFamily) {
    DeviceRecorder device;
    {
        SCOPED_TRACE("NT family: the disk eject request to the drive");
        EXPECT_TRUE(TDriveList::EjectOnPlatform('e', VER_PLATFORM_WIN32_NT));
        ASSERT_EQ(1u, device.requests.size());
        EXPECT_EQ("\\\\.\\E:", device.requests[0].device);
        EXPECT_EQ(0x74808u, device.requests[0].code);
        EXPECT_TRUE(device.requests[0].input.empty());
    }
    {
        SCOPED_TRACE("95/98 family: the DOS request through vwin32");
        device.requests.clear();
        EXPECT_TRUE(TDriveList::EjectOnPlatform('F', VER_PLATFORM_WIN32_WINDOWS));
        ASSERT_EQ(1u, device.requests.size());
        EXPECT_EQ("\\\\.\\vwin32", device.requests[0].device);
        EXPECT_EQ(1u, device.requests[0].code);
        TDosRegisters sent = RegistersOf(device.requests[0]);
        EXPECT_EQ(6u, sent.EBX) << "drive number, A being 1";
        EXPECT_EQ(0u, sent.EDX);
        EXPECT_EQ(0x0849u, sent.ECX);
        EXPECT_EQ(0x440Du, sent.EAX);
        EXPECT_EQ(0u, sent.EDI);
        EXPECT_EQ(0u, sent.ESI);
        EXPECT_EQ(0x8000u, sent.Flags);
        const BYTE expected[28] = {6, 0, 0, 0, 0, 0, 0, 0, 0x49, 0x08, 0,    0,    0x0D, 0x44,
                                   0, 0, 0, 0, 0, 0, 0, 0, 0,    0,    0x00, 0x80, 0,    0};
        EXPECT_EQ(std::vector<BYTE>(expected, expected + 28), device.requests[0].input) << "register order";
    }
    {
        SCOPED_TRACE("the carry flag reports a failure");
        device.answer = [](void* Buffer) { static_cast<TDosRegisters*>(Buffer)->Flags |= 1; };
        EXPECT_FALSE(TDriveList::EjectOnPlatform('F', VER_PLATFORM_WIN32_WINDOWS));
        device.answer = nullptr;
    }
    {
        SCOPED_TRACE("failures and other platforms");
        device.requests.clear();
        device.result = false;
        EXPECT_FALSE(TDriveList::EjectOnPlatform('e', VER_PLATFORM_WIN32_NT));
        EXPECT_FALSE(TDriveList::EjectOnPlatform('e', VER_PLATFORM_WIN32s));
        EXPECT_FALSE(TDriveList::EjectOnPlatform('?', VER_PLATFORM_WIN32_NT));
        EXPECT_EQ(1u, device.requests.size());
    }
    {
        SCOPED_TRACE("this platform is of the NT family");
        device.requests.clear();
        TDriveList::Eject('g');
        ASSERT_EQ(1u, device.requests.size());
        EXPECT_EQ("\\\\.\\G:", device.requests[0].device);
    }
}

TEST_F(FrameTest, DriveListMenuAndTheEjectCommand) {
    FakeDrives drives;
    DeviceRecorder device;
    frame->Drives().Refresh();
    ASSERT_EQ(2, frame->Drives().Count());
    EXPECT_EQ("D:\\", frame->Drives().Items(0).Root);
    EXPECT_EQ("F:\\", frame->Drives().Items(1).Root);

    TMenuItem playDisk;
    int clicks = 0;
    frame->Drives().FillMenu(&playDisk, [&](TObject*) { ++clicks; });
    ASSERT_EQ(2, playDisk.Count());
    EXPECT_EQ('D', playDisk.Items(0)->Tag());
    EXPECT_EQ('F', playDisk.Items(1)->Tag());
    EXPECT_TRUE(playDisk.Enabled());
    playDisk.Items(1)->Click();
    EXPECT_EQ(1, clicks);

    auto ejected = [&] { return device.requests.empty() ? std::string() : device.requests.back().device; };
    frame->EjectDisk();
    EXPECT_EQ("\\\\.\\D:", ejected()) << "no media: the first drive";
    ASSERT_TRUE(frame->OpenMedia("F:\\MPEGAV\\AVSEQ01.DAT", true));
    frame->EjectDisk();
    EXPECT_EQ("\\\\.\\F:", ejected()) << "the drive the media plays from";
    ASSERT_TRUE(frame->OpenMedia("C:\\films\\clip.avi", true));
    frame->EjectDisk();
    EXPECT_EQ("\\\\.\\D:", ejected()) << "media on a hard disk: the first drive";

    SCOPED_TRACE("no optical drive");
    frame->Drives().Clear();
    frame->Drives().FillMenu(&playDisk, nullptr);
    ASSERT_EQ(1, playDisk.Count());
    EXPECT_EQ("No drives", playDisk.Items(0)->Caption());
    EXPECT_FALSE(playDisk.Items(0)->Enabled());
    EXPECT_FALSE(playDisk.Enabled());
    device.requests.clear();
    ASSERT_TRUE(frame->OpenMedia("C:\\films\\clip.avi", true));
    frame->EjectDisk();
    EXPECT_TRUE(device.requests.empty());
    playDisk.Clear();
}

TEST_F(FrameTest, FullScreenSwitch) {
    int changes = 0;
    frame->OnFullScreenChanged = [&](TObject*) { ++changes; };
    frame->miFullScreenClick(nullptr);
    EXPECT_TRUE(frame->VideoWindow->IsFullScreen());
    EXPECT_TRUE(frame->miFullScreen->Checked());
    frame->miFullScreenClick(nullptr);
    EXPECT_FALSE(frame->VideoWindow->IsFullScreen());
    EXPECT_FALSE(frame->miFullScreen->Checked());
    EXPECT_EQ(2, changes);
}
