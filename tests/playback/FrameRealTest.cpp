// The video frame on real folders and Wine's real DirectShow under the virtual screen: a DVD
// folder authored by dvdauthor (played by our DVD stand-in), title sets without a video manager,
// a Video CD made by ffmpeg, files chosen in the open dialog, a folder mapped as a CD-ROM drive,
// and bad input.

#include "WineCdDrive.h"

#include "playback/TVideoFrame.h"

#include "common/TextConversion.h"
#include "common/Win32Handles.h"
#include "forms/MessageBoxSeam.h"
#include "forms/TApplication.h"
#include "forms/TForm.h"
#include "util/xFileUtil.h"
#include "util/xUtils.h"

#include "../util/TempFolder.h"

#include <gtest/gtest.h>

using Microsoft::WRL::ComPtr;
using namespace vireon;
using Strings = std::vector<std::string>;

namespace {

const std::string kBuild = VIREON_BUILD_DIR;
const std::string kSample = kBuild + "\\samples\\sample.avi";
const std::string kTwelveDisc = kBuild + "\\dvd\\twelve";
const std::string kVideoCd = kBuild + "\\playback\\vcd";

template <typename Condition> bool PumpUntil(Condition condition, DWORD milliseconds = 10000) {
    DWORD start = GetTickCount();
    while (!condition() && GetTickCount() - start < milliseconds) {
        Application().ProcessMessages();
        Sleep(10);
    }
    return condition();
}

std::string NameOf(const std::string& path) {
    return path.substr(path.find_last_of("\\/") + 1);
}

bool Copy(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

class RealFrame : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(com.result());
        Application().Initialize();
        form = std::make_unique<TForm>();
        form->SetBounds(40, 40, 480, 360);
        frame = new TVideoFrame(form.get());
        frame->SetAlign(alClient);
        frame->SetParent(form.get());
        form->Show();
    }

    void TearDown() override {
        frame->CloseMedia();
        form.reset();
        Application().ProcessMessages();
    }

    // Waits until the graph's position has moved on (files) or a DVD time event came.
    bool Advances() {
        return PumpUntil([&] { return frame->GetPosition() > 0; });
    }

    std::wstring DvdDirectory() {
        ComPtr<IDvdInfo2> info;
        if (FAILED(frame->FilterGraph->QueryInterface(info)))
            return {};
        wchar_t path[MAX_PATH] = {};
        ULONG size = 0;
        info->GetDVDDirectory(path, MAX_PATH, &size);
        return path;
    }

    ComInitialization com;
    std::unique_ptr<TForm> form;
    TVideoFrame* frame = nullptr;
    Strings shown;
    TScopedSeam<TMessageBoxSeam> boxes{MessageBoxSeam(),
                                       [this](HWND, const std::string& Text, const std::string&, UINT) {
                                           shown.push_back(Text);
                                           return IDOK;
                                       }};
    TScopedSeam<TCodecMessageSeam> decoders{CodecMessageSeam(), [this] { shown.push_back("decoders"); }};
};

} // namespace

TEST_F(RealFrame, DriveLikeFolderPlaysItsDvd) {
    ASSERT_TRUE(frame->OpenSource(kTwelveDisc)) << "the sub-folder pass finds VIDEO_TS";
    EXPECT_TRUE(frame->IsDVD());
    EXPECT_TRUE(frame->Playing());
    std::string directory = AnsiFromWide(DvdDirectory());
    EXPECT_NE(std::string::npos, AsciiUpperCase(directory).find("TWELVE")) << directory;
    EXPECT_TRUE(Advances()) << "the navigator's time events arrive";
    frame->UpdateChapters();
    EXPECT_EQ(12, frame->miChapters->Count());
    EXPECT_EQ("DVD: Chapter", frame->GetTitleText().substr(0, 12));
    EXPECT_TRUE(shown.empty());
}

TEST_F(RealFrame, TitleSetsWithoutVideoManagerPlayTheLargerSet) {
    TempFolder root;
    const std::string videoTs = root.MakeFolder("VIDEO_TS");
    ASSERT_TRUE(Copy(kTwelveDisc + "\\VIDEO_TS\\VTS_01_1.VOB", videoTs + "\\VTS_01_1.VOB"));
    ASSERT_TRUE(Copy(kBuild + "\\dvd\\ntsc\\VIDEO_TS\\VTS_01_1.VOB", videoTs + "\\VTS_01_2.VOB"));
    ASSERT_TRUE(Copy(kBuild + "\\dvd\\multi\\VIDEO_TS\\VTS_01_1.VOB", videoTs + "\\VTS_02_1.VOB"));
    ASSERT_TRUE(Copy(kTwelveDisc + "\\VIDEO_TS\\VTS_01_0.IFO", videoTs + "\\VTS_01_0.IFO"));
    Strings listed;
    ListFiles(videoTs, listed, false);
    Strings expected;
    for (const std::string& file : listed)
        if (NameOf(file).starts_with("VTS_01_") && file.ends_with(".VOB"))
            expected.push_back(file);
    ASSERT_EQ(2u, expected.size());

    ASSERT_TRUE(frame->OpenSource(videoTs));
    EXPECT_EQ(expected, frame->Playlist()) << "the 01 files only, in enumeration order";
    EXPECT_EQ(expected.front(), frame->FileName());
    EXPECT_FALSE(frame->IsDVD());
    EXPECT_TRUE(Advances());

    SCOPED_TRACE("given the drive-like parent instead, the sub-folder pass gets there");
    frame->CloseMedia();
    ASSERT_TRUE(frame->OpenSource(root.path()));
    EXPECT_EQ(expected, frame->Playlist());
    frame->CloseMedia();
}

TEST_F(RealFrame, VideoCdPlaysItsStreamsInTurn) {
    ASSERT_TRUE(frame->OpenSource(kVideoCd));
    ASSERT_EQ(2u, frame->Playlist().size());
    EXPECT_EQ("AVSEQ01.DAT", NameOf(frame->FileName()));
    EXPECT_EQ("AVSEQ01", frame->GetTitleText());
    EXPECT_EQ(0, frame->PlaylistIndex());
    EXPECT_TRUE(PumpUntil([&] { return NameOf(frame->FileName()) == "AVSEQ02.DAT"; }, 20000))
        << "the end of the first stream plays the second";
    EXPECT_TRUE(frame->Playing());
    EXPECT_TRUE(shown.empty());
}

TEST_F(RealFrame, OpenDialogKeepsOnlyPlayableFiles) {
    TempFolder folder;
    const std::string asf = folder / "talk.asf";
    const std::string avi = folder / "clip.avi";
    ASSERT_TRUE(Copy(kSample, asf));
    ASSERT_TRUE(Copy(kSample, avi));
    TScopedSeam<TOpenDialogSeam> dialog(OpenDialogSeam(), [&](OPENFILENAMEW& Dialog) {
        std::wstring answer =
            WideFromAnsi(folder.path()) + L'\0' + L"talk.asf" + L'\0' + L"clip.avi" + L'\0' + L'\0';
        std::copy(answer.begin(), answer.end(), Dialog.lpstrFile);
        return TRUE;
    });
    ASSERT_TRUE(frame->OpenFiles());
    EXPECT_EQ(Strings{avi}, frame->Playlist());
    EXPECT_TRUE(frame->Playing());
    EXPECT_EQ(320, frame->VideoWidth());
    EXPECT_EQ(240, frame->VideoHeight());
    EXPECT_TRUE(Advances());
    EXPECT_TRUE(shown.empty());

    SCOPED_TRACE("the renderer window lies where the aspect mode places the picture");
    frame->SetAspectMode(4);
    TVideoPlacement placement = frame->LastPlacement();
    const TVideoWindow& video = *frame->VideoWindow;
    EXPECT_EQ(
        ComputeVideoPlacement(4, video.BoundsRect(), video.ClientWidth(), video.ClientHeight(), 320, 240),
        placement);
    HWND renderer = frame->VideoWindow->RendererHandle();
    if (video.RendererIsPopup()) { // the placement on Wine
        ASSERT_NE(nullptr, renderer);
        POINT origin = frame->VideoWindow->ClientToScreen(
            {placement.Left - video.BoundsRect().left, placement.Top - video.BoundsRect().top});
        EXPECT_TRUE(PumpUntil([&] {
            RECT area{};
            GetWindowRect(renderer, &area);
            return area.left == origin.x && area.top == origin.y &&
                   area.right - area.left == placement.Width && area.bottom - area.top == placement.Height;
        }));
    }
}

TEST_F(RealFrame, PlayDiskFromAFolderMappedAsCdRom) {
    TDriveList before;
    before.Refresh();
    {
        WineCdDrive first('r', kTwelveDisc);
        WineCdDrive second('p', kVideoCd);
        ASSERT_TRUE(first.Mapped() && second.Mapped());
        TDriveList drives;
        drives.Refresh();
        ASSERT_EQ(before.Count() + 2, drives.Count());
        Strings roots;
        for (int i = 0; i < drives.Count(); ++i)
            roots.push_back(drives.Items(i).Root);
        EXPECT_TRUE(std::is_sorted(roots.begin(), roots.end())) << "ordered by letter";
        EXPECT_NE(roots.end(), std::find(roots.begin(), roots.end(), "P:\\")) << "upper case";
        EXPECT_NE(roots.end(), std::find(roots.begin(), roots.end(), "R:\\"));
        for (int i = 0; i < drives.Count(); ++i)
            EXPECT_FALSE(drives.Items(i).DisplayName.empty());

        EXPECT_TRUE(frame->OpenSource("P:\\")) << "the Video CD from its drive root";
        EXPECT_EQ("P:\\MPEGAV\\AVSEQ01.DAT", frame->FileName());
        frame->CloseMedia();
        if (before.Count() == 0) {
            EXPECT_TRUE(frame->PlayDisk()) << "the first optical drive holding media";
            EXPECT_FALSE(frame->IsDVD()) << "P comes before R";
            EXPECT_TRUE(SameTextLower("P:\\MPEGAV\\AVSEQ01.DAT", frame->FileName())) << frame->FileName();
        }
        frame->CloseMedia();
    }
    SCOPED_TRACE("the drives gone");
    TDriveList after;
    after.Refresh();
    EXPECT_EQ(before.Count(), after.Count());
    if (after.Count() == 0) {
        TMenuItem playDisk;
        after.FillMenu(&playDisk, nullptr);
        ASSERT_EQ(1, playDisk.Count());
        EXPECT_EQ("No drives", playDisk.Items(0)->Caption());
        EXPECT_FALSE(playDisk.Enabled());
        playDisk.Clear();
        EXPECT_FALSE(frame->PlayDisk());
    }
    EXPECT_FALSE(frame->OpenSource("R:\\")) << "a drive that disappeared";
    EXPECT_TRUE(shown.empty());
}

TEST_F(RealFrame, BadInputLeavesTheFrameUsable) {
    TempFolder folder;
    {
        SCOPED_TRACE("a path that does not exist");
        EXPECT_FALSE(frame->OpenSource(folder / "missing"));
        EXPECT_FALSE(frame->OpenMedia(folder / "missing.avi", false));
        EXPECT_EQ(Strings{kCannotPlayMessage}, shown);
    }
    {
        SCOPED_TRACE("a folder given as a file");
        shown.clear();
        EXPECT_FALSE(frame->OpenMedia(folder.path(), false));
        EXPECT_EQ(Strings{kCannotPlayMessage}, shown);
    }
    {
        SCOPED_TRACE("an empty playlist and an empty folder");
        shown.clear();
        frame->PlayCurrentItem();
        frame->PlayNextItem();
        frame->PlayPrevItem();
        EXPECT_FALSE(frame->OpenSource(folder.path()));
        EXPECT_TRUE(shown.empty());
    }
    {
        SCOPED_TRACE("VOBs of size 0 and title sets without a number");
        const std::string videoTs = folder.MakeFolder("VIDEO_TS");
        folder.MakeFile("VIDEO_TS\\VTS_01_1.VOB");
        folder.MakeFile("VIDEO_TS\\VTS_AB_1.VOB");
        folder.MakeFile("VIDEO_TS\\VTS.VOB");
        EXPECT_FALSE(frame->OpenSource(videoTs));
        EXPECT_FALSE(frame->Playing());
    }
    {
        SCOPED_TRACE("files that vanish between listing and opening");
        shown.clear();
        const std::string first = folder / "a.avi";
        const std::string second = folder / "b.avi";
        ASSERT_TRUE(Copy(kSample, first));
        ASSERT_TRUE(Copy(kSample, second));
        TScopedSeam<TOpenDialogSeam> dialog(OpenDialogSeam(), [&](OPENFILENAMEW& Dialog) {
            std::wstring answer =
                WideFromAnsi(folder.path()) + L'\0' + L"a.avi" + L'\0' + L"b.avi" + L'\0' + L'\0';
            std::copy(answer.begin(), answer.end(), Dialog.lpstrFile);
            DeleteFileA(first.c_str());
            return TRUE;
        });
        EXPECT_TRUE(frame->OpenFiles());
        EXPECT_EQ(Strings{kCannotPlayMessage}, shown);
        frame->PlayNextItem();
        EXPECT_EQ(second, frame->FileName());
        EXPECT_TRUE(Advances()) << "the next one still plays";
    }
}

namespace {

// A copy of the sample in Folder, cut after Bytes.
std::string CutSample(const TempFolder& Folder, const std::string& Name, size_t Bytes) {
    std::string data;
    {
        UniqueFile in(
            CreateFileA(kSample.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        data.resize(Bytes);
        DWORD read = 0;
        ReadFile(in.get(), data.data(), static_cast<DWORD>(data.size()), &read, nullptr);
        data.resize(read);
    }
    const std::string path = Folder / Name;
    UniqueFile out(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(out.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    return path;
}

} // namespace

// A file cut short does not stay shown as playing: Wine gives it the duration of what is there and
// its position stands at that end, with or without an end event; the position timer's watch stops
// it there quietly, and the next file plays.
TEST_F(RealFrame, FileThatStopsMovingEndsStopped) {
    TempFolder folder;
    // The position timer's calls, until the frame stops.
    auto watchUntilStopped = [&](DWORD milliseconds) {
        return PumpUntil(
            [&] {
                frame->WatchProgress(GetTickCount());
                return !frame->Playing();
            },
            milliseconds);
    };
    {
        SCOPED_TRACE("cut short");
        ASSERT_TRUE(frame->OpenMedia(CutSample(folder, "cut.avi", 3000000), false));
        EXPECT_TRUE(watchUntilStopped(30000));
        EXPECT_EQ(Strings{}, shown);
    }
    {
        SCOPED_TRACE("cut inside its first frame");
        shown.clear();
        ASSERT_TRUE(frame->OpenMedia(CutSample(folder, "cut1.avi", 120000), false));
        EXPECT_TRUE(watchUntilStopped(30000));
        EXPECT_EQ(Strings{}, shown);
    }
    ASSERT_TRUE(frame->OpenMedia(kSample, false));
    EXPECT_TRUE(Advances());
}
