// Our DVD graph builder and navigator on dvdauthor discs, in a real filter graph under Wine: the
// render status, the interfaces handed out, and the DVD events read back from the graph's queue.
#include "DvdGraphFixture.h"

using namespace dvdtest;

namespace {

TEST_F(DvdGraph, HandsOutItsGraphAndNoNavigatorBeforeAVolume) {
    EXPECT_EQ(1u, RefCount(Builder.Get()));
    ComPtr<IGraphBuilder> Again;
    ASSERT_HRESULT_SUCCEEDED(Builder->GetFiltergraph(&Again));
    EXPECT_EQ(Graph.Get(), Again.Get());
    ComPtr<IDvdControl2> Control2;
    EXPECT_EQ(E_NOINTERFACE, Builder->GetDvdInterface(IID_PPV_ARGS(&Control2)));
    EXPECT_EQ(nullptr, Control2.Get());
    EXPECT_EQ(E_POINTER, Builder->GetFiltergraph(nullptr));
    EXPECT_EQ(E_POINTER, dvdnav::CreateOwnDvdGraphBuilder(nullptr));
}

TEST_F(DvdGraph, ReportsMissingAndEmptyVolumesAsInvalid) {
    EXPECT_EQ(S_FALSE, Render(Discs / "missing"));
    EXPECT_TRUE(Status.bDvdVolInvalid);
    EXPECT_FALSE(Status.bDvdVolUnknown);

    fs::path Empty = fs::path(VIREON_BUILD_DIR) / "testtmp" / "empty" / "VIDEO_TS";
    fs::create_directories(Empty);
    EXPECT_EQ(S_FALSE, Render(Empty));
    EXPECT_TRUE(Status.bDvdVolInvalid);

    ComPtr<IDvdInfo2> Navigator;
    EXPECT_EQ(E_NOINTERFACE, Builder->GetDvdInterface(IID_PPV_ARGS(&Navigator)));
    EXPECT_EQ(E_INVALIDARG,
              Builder->RenderDvdVideoVolume(nullptr, AM_DVD_HWDEC_PREFER | AM_DVD_SWDEC_ONLY, &Status));
    EXPECT_EQ(VFW_E_DVD_DECNOTENOUGH, Builder->RenderDvdVideoVolume(nullptr, AM_DVD_HWDEC_ONLY, &Status));
}

TEST_F(DvdGraph, WithoutAPathSearchesTheOpticalDrives) {
    HRESULT Result = Builder->RenderDvdVideoVolume(nullptr, AM_DVD_HWDEC_PREFER, &Status);
    // The test prefix may map a disc folder as a drive; either way the answer is consistent.
    if (dvdnav::FindVolumeOnOpticalDrives())
        EXPECT_HRESULT_SUCCEEDED(Result);
    else {
        EXPECT_EQ(S_FALSE, Result);
        EXPECT_TRUE(Status.bDvdVolUnknown);
        EXPECT_FALSE(Status.bDvdVolInvalid);
    }
}

TEST_F(DvdGraph, RendersAGoodDiscAndAnswersForTheVolume) {
    ASSERT_NO_FATAL_FAILURE(Open("multi"));
    EXPECT_EQ(3u, RefCount(Dvd.Get())); // ours twice and the builder's
    EXPECT_EQ(2, Status.iNumStreams);
    EXPECT_EQ(0, Status.iNumStreamsFailed);
    EXPECT_FALSE(Status.bDvdVolInvalid);

    ULONG Volumes, Current, Titles, Chapters;
    DVD_DISC_SIDE Side;
    ASSERT_HRESULT_SUCCEEDED(Info->GetDVDVolumeInfo(&Volumes, &Current, &Side, &Titles));
    EXPECT_EQ(3u, Titles);
    ASSERT_HRESULT_SUCCEEDED(Info->GetNumberOfChapters(3, &Chapters));
    EXPECT_EQ(4u, Chapters);
    EXPECT_EQ(E_INVALIDARG, Info->GetNumberOfChapters(4, &Chapters));

    DVD_DOMAIN Domain;
    ASSERT_HRESULT_SUCCEEDED(Info->GetCurrentDomain(&Domain));
    EXPECT_EQ(DVD_DOMAIN_Title, Domain);
    DVD_HMSF_TIMECODE Total;
    ULONG Flags;
    ASSERT_HRESULT_SUCCEEDED(Info->GetTotalTitleTime(&Total, &Flags));
    EXPECT_EQ(4, Total.bSeconds);
    EXPECT_EQ(ULONG{DVD_TC_FLAG_25fps}, Flags);

    ULONG Count, Stream;
    WINBOOL Disabled, Enabled;
    LCID Language;
    ASSERT_HRESULT_SUCCEEDED(Info->GetCurrentAudio(&Count, &Stream));
    EXPECT_EQ(2u, Count);
    ASSERT_HRESULT_SUCCEEDED(Info->GetAudioLanguage(1, &Language));
    EXPECT_EQ(LCID{0x040C}, Language); // French
    ASSERT_HRESULT_SUCCEEDED(Info->GetCurrentSubpicture(&Count, &Stream, &Disabled));
    EXPECT_EQ(2u, Count);
    EXPECT_TRUE(Disabled);
    ASSERT_HRESULT_SUCCEEDED(Info->GetSubpictureLanguage(0, &Language));
    char Name[260];
    GetLocaleInfoA(Language, LOCALE_SENGLANGUAGE, Name, sizeof Name);
    EXPECT_STREQ("German", Name);
    ASSERT_HRESULT_SUCCEEDED(Info->IsSubpictureStreamEnabled(1, &Enabled));
    EXPECT_TRUE(Enabled);
    EXPECT_EQ(E_INVALIDARG, Info->IsAudioStreamEnabled(2, &Enabled));

    ULONG Buttons = 9, Button = 9;
    ASSERT_HRESULT_SUCCEEDED(Info->GetCurrentButton(&Buttons, &Button));
    EXPECT_EQ(0u, Buttons);
    EXPECT_EQ(VFW_E_DVD_INVALIDDOMAIN, Dvd->ShowMenu(DVD_MENU_Root, DVD_CMD_FLAG_Flush, nullptr));
    EXPECT_EQ(VFW_E_DVD_INVALIDDOMAIN, Dvd->ActivateAtPosition({10, 10}));
    EXPECT_EQ(VFW_E_DVD_INVALIDDOMAIN, Dvd->SelectAtPosition({10, 10}));
    EXPECT_EQ(E_NOTIMPL, Dvd->SelectAngle(1, 0, nullptr));

    ComPtr<IVideoWindow> Window;
    EXPECT_HRESULT_SUCCEEDED(Builder->GetDvdInterface(IID_PPV_ARGS(&Window)));
}

TEST_F(DvdGraph, ASecondVolumeRetiresTheFirstNavigator) {
    ASSERT_NO_FATAL_FAILURE(Open("multi"));
    ComPtr<IDvdControl2> First = Dvd;
    ASSERT_NO_FATAL_FAILURE(Open("twelve"));
    EXPECT_EQ(VFW_E_DVD_GRAPHNOTREADY, First->PlayChapterInTitle(3, 1, 0, nullptr));
    EXPECT_EQ(VFW_E_DVD_GRAPHNOTREADY, First->PlayForwards(8.0, 0, nullptr));
    ULONG Titles, Volumes, Current;
    DVD_DISC_SIDE Side;
    ASSERT_HRESULT_SUCCEEDED(Info->GetDVDVolumeInfo(&Volumes, &Current, &Side, &Titles));
    EXPECT_EQ(1u, Titles);
    EXPECT_EQ(1u, RefCount(First.Get())); // only ours: the builder let it go
}

TEST_F(DvdGraph, PostsStartEventsAndTimeThatAdvances) {
    ASSERT_NO_FATAL_FAILURE(Open("twelve"));
    ASSERT_HRESULT_SUCCEEDED(Control->Run());
    ASSERT_TRUE(WaitForCode(EC_DVD_DOMAIN_CHANGE, DVD_DOMAIN_Title));
    ASSERT_TRUE(WaitForCode(EC_DVD_TITLE_CHANGE, 1));
    ASSERT_TRUE(WaitForCode(EC_DVD_CHAPTER_START, 1));
    ASSERT_TRUE(WaitForTime(0));
    ASSERT_TRUE(WaitForTime(2));
    EXPECT_TRUE(WaitForCode(EC_DVD_CHAPTER_START, 3));

    DVD_PLAYBACK_LOCATION2 Location;
    ASSERT_HRESULT_SUCCEEDED(Info->GetCurrentLocation(&Location));
    EXPECT_EQ(1u, Location.TitleNum);
    EXPECT_GE(Location.TimeCode.bSeconds, 2);
}

TEST_F(DvdGraph, WithoutHmsfEventsPostsThePackedBcdTime) {
    ASSERT_NO_FATAL_FAILURE(Open("twelve"));
    ASSERT_HRESULT_SUCCEEDED(Dvd->SetOption(DVD_HMSF_TimeCodeEvents, FALSE));
    ASSERT_HRESULT_SUCCEEDED(Dvd->PlayChapter(11, 0, nullptr));
    ASSERT_HRESULT_SUCCEEDED(Control->Run());
    // 0:00:10 at 25 frames per second: seconds digits 1 and 0, frame-rate code 1 in the top bits.
    ASSERT_TRUE(WaitFor([](const TEvent& E) {
        return E.Code == EC_DVD_CURRENT_TIME && (E.Param1 & 0x00FF0000) == 0x00100000;
    }));
    EXPECT_EQ(1u, static_cast<DWORD>(Log.back().Param1) >> 30);
    EXPECT_EQ(E_NOTIMPL, Dvd->SetOption(static_cast<DVD_OPTION_FLAG>(19), TRUE));
}

TEST_F(DvdGraph, AChapterJumpPostsTheChapterAndMovesThePosition) {
    ASSERT_NO_FATAL_FAILURE(Open("twelve"));
    ASSERT_HRESULT_SUCCEEDED(Control->Run());
    ASSERT_TRUE(WaitForCode(EC_DVD_CHAPTER_START, 1));
    ASSERT_HRESULT_SUCCEEDED(Dvd->PlayChapter(10, 0, nullptr));
    ASSERT_TRUE(WaitForCode(EC_DVD_CHAPTER_START, 10));
    ASSERT_TRUE(WaitForTime(8));
    EXPECT_LE(LastTime(), 10);

    DVD_PLAYBACK_LOCATION2 Location;
    ASSERT_HRESULT_SUCCEEDED(Info->GetCurrentLocation(&Location));
    EXPECT_EQ(10u, Location.ChapterNum);
    EXPECT_GE(Location.TimeCode.bSeconds, 8);

    ASSERT_HRESULT_SUCCEEDED(Dvd->PlayPrevChapter(0, nullptr));
    EXPECT_TRUE(WaitForCode(EC_DVD_CHAPTER_START, 9));
    DVD_HMSF_TIMECODE At{0, 0, 3, 0};
    ASSERT_HRESULT_SUCCEEDED(Dvd->PlayAtTime(&At, DVD_CMD_FLAG_Flush, nullptr));
    EXPECT_TRUE(WaitForCode(EC_DVD_CHAPTER_START, 4));
    EXPECT_EQ(E_INVALIDARG, Dvd->PlayChapter(13, 0, nullptr));
    DVD_HMSF_TIMECODE Beyond{0, 1, 0, 0};
    EXPECT_EQ(E_INVALIDARG, Dvd->PlayAtTime(&Beyond, 0, nullptr));
}

TEST_F(DvdGraph, ScanningStepsToTheEndOfTheTitleAndStops) {
    ASSERT_NO_FATAL_FAILURE(Open("twelve"));
    ASSERT_HRESULT_SUCCEEDED(Control->Run());
    ASSERT_TRUE(WaitForTime(0));
    DWORD Start = GetTickCount();
    ASSERT_HRESULT_SUCCEEDED(Dvd->PlayForwards(8.0, 0, nullptr));
    ASSERT_TRUE(WaitForCode(EC_DVD_PLAYBACK_RATE_CHANGE, 80000));
    ASSERT_TRUE(WaitForTime(6, 4000));
    EXPECT_LT(GetTickCount() - Start, 4000u); // far quicker than the six seconds of playing
    ASSERT_TRUE(WaitForCode(EC_DVD_PLAYBACK_STOPPED, 0));
    EXPECT_TRUE(WaitForCode(EC_DVD_DOMAIN_CHANGE, DVD_DOMAIN_Stop));

    // A playback command brings the title back.
    Log.clear();
    ASSERT_HRESULT_SUCCEEDED(Dvd->PlayChapter(2, 0, nullptr));
    EXPECT_TRUE(WaitForCode(EC_DVD_DOMAIN_CHANGE, DVD_DOMAIN_Title));
    EXPECT_TRUE(WaitForCode(EC_DVD_CHAPTER_START, 2));
    EXPECT_EQ(VFW_E_DVD_WRONG_SPEED, Dvd->PlayBackwards(0, 0, nullptr));
}

TEST_F(DvdGraph, ScanningBackwardsEndsAtTheStartOfTheTitle) {
    ASSERT_NO_FATAL_FAILURE(Open("twelve"));
    ASSERT_HRESULT_SUCCEEDED(Control->Run());
    ASSERT_HRESULT_SUCCEEDED(Dvd->PlayChapter(6, 0, nullptr));
    ASSERT_TRUE(WaitForTime(5));
    Log.clear();
    ASSERT_HRESULT_SUCCEEDED(Dvd->PlayBackwards(8.0, 0, nullptr));
    ASSERT_TRUE(WaitForCode(EC_DVD_PLAYBACK_RATE_CHANGE, 10000, 4000)); // scan over at the start
    EXPECT_TRUE(WaitForCode(EC_DVD_CHAPTER_START, 1));
}

TEST_F(DvdGraph, SwitchingTitleSetsRebuildsPlaybackAndStreams) {
    ASSERT_NO_FATAL_FAILURE(Open("multi"));
    ASSERT_HRESULT_SUCCEEDED(Control->Run());
    ASSERT_TRUE(WaitForCode(EC_DVD_TITLE_CHANGE, 1));
    EXPECT_EQ(1, CountAudioRenderers(Graph.Get())); // one language heard, not both mixed
    ASSERT_HRESULT_SUCCEEDED(Dvd->SelectAudioStream(1, 0, nullptr));
    EXPECT_TRUE(WaitForCode(EC_DVD_AUDIO_STREAM_CHANGE, 1));
    EXPECT_EQ(1, CountAudioRenderers(Graph.Get()));
    ULONG Count, Stream;
    ASSERT_HRESULT_SUCCEEDED(Info->GetCurrentAudio(&Count, &Stream));
    EXPECT_EQ(1u, Stream);
    ASSERT_HRESULT_SUCCEEDED(Dvd->SelectSubpictureStream(1, 0, nullptr));
    ASSERT_HRESULT_SUCCEEDED(Dvd->SetSubpictureState(TRUE, 0, nullptr));
    WINBOOL Disabled;
    ASSERT_HRESULT_SUCCEEDED(Info->GetCurrentSubpicture(&Count, &Stream, &Disabled));
    EXPECT_EQ(1u, Stream);
    EXPECT_FALSE(Disabled);

    ASSERT_HRESULT_SUCCEEDED(Dvd->PlayChapterInTitle(3, 2, 0, nullptr));
    ASSERT_TRUE(WaitForCode(EC_DVD_TITLE_CHANGE, 3));
    ASSERT_TRUE(WaitForCode(EC_DVD_CHAPTER_START, 2));
    ASSERT_TRUE(WaitForTime(1));
    ASSERT_HRESULT_SUCCEEDED(Info->GetCurrentAudio(&Count, &Stream));
    EXPECT_EQ(1u, Count);
    LCID Language;
    ASSERT_HRESULT_SUCCEEDED(Info->GetAudioLanguage(0, &Language));
    EXPECT_EQ(LCID{0x0410}, Language); // Italian
    EXPECT_EQ(E_INVALIDARG, Dvd->SelectAudioStream(1, 0, nullptr));
    EXPECT_EQ(E_INVALIDARG, Dvd->PlayChapterInTitle(4, 1, 0, nullptr));
}

TEST_F(DvdGraph, ASecondTitleInTheSameVobPlaysOnItsOwnTimeline) {
    ASSERT_NO_FATAL_FAILURE(Open("multi"));
    ASSERT_HRESULT_SUCCEEDED(Dvd->PlayChapterInTitle(2, 2, 0, nullptr));
    ASSERT_HRESULT_SUCCEEDED(Control->Run());
    ASSERT_TRUE(WaitForCode(EC_DVD_TITLE_CHANGE, 2));
    ASSERT_TRUE(WaitForCode(EC_DVD_CHAPTER_START, 2));
    ASSERT_TRUE(WaitForTime(1));
    EXPECT_TRUE(WaitForCode(EC_DVD_CHAPTER_START, 3));
    ASSERT_TRUE(WaitForCode(EC_DVD_PLAYBACK_STOPPED, 0, 6000)); // the 3 s title ends, not the VOB
    EXPECT_LE(LastTime(), 3);
    DVD_PLAYBACK_LOCATION2 Location;
    ASSERT_HRESULT_SUCCEEDED(Info->GetCurrentLocation(&Location));
    EXPECT_EQ(2u, Location.TitleNum);
}

} // namespace
