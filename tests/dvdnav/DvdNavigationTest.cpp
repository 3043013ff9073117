// What the navigator does between the player's calls and the disc: the audio levels kept across
// every rebuild, honest answers when a stream or a seek fails, stream languages, and the end of a
// title as the disc's post command says.
#include "DvdGraphFixture.h"

#include "dvdnav/TitlePlayback.h"

#include <psapi.h>

using namespace dvdtest;

namespace {

struct TAudioLevels {
    long Volume = 1;
    long Balance = 1;
};

TAudioLevels LevelsOf(IGraphBuilder* Graph) {
    ComPtr<IBasicAudio> Audio;
    TAudioLevels Levels;
    EXPECT_HRESULT_SUCCEEDED(Graph->QueryInterface(IID_PPV_ARGS(&Audio)));
    if (Audio) {
        EXPECT_HRESULT_SUCCEEDED(Audio->get_Volume(&Levels.Volume));
        EXPECT_HRESULT_SUCCEEDED(Audio->get_Balance(&Levels.Balance));
    }
    return Levels;
}

void SetLevels(IGraphBuilder* Graph, long Volume, long Balance) {
    ComPtr<IBasicAudio> Audio;
    ASSERT_HRESULT_SUCCEEDED(Graph->QueryInterface(IID_PPV_ARGS(&Audio)));
    ASSERT_HRESULT_SUCCEEDED(Audio->put_Volume(Volume));
    ASSERT_HRESULT_SUCCEEDED(Audio->put_Balance(Balance));
}

int CountFilters(IGraphBuilder* Graph) {
    int Count = 0;
    ComPtr<IEnumFilters> Filters;
    Graph->EnumFilters(&Filters);
    ComPtr<IBaseFilter> Filter;
    while (Filters->Next(1, &Filter, nullptr) == S_OK) {
        ++Count;
        Filter.Reset();
    }
    return Count;
}

// Empties the graph behind the navigator's back, as the player's reset of the graph does.
void RemoveAllFilters(IGraphBuilder* Graph) {
    std::vector<ComPtr<IBaseFilter>> All;
    ComPtr<IEnumFilters> Filters;
    Graph->EnumFilters(&Filters);
    ComPtr<IBaseFilter> Filter;
    while (Filters->Next(1, &Filter, nullptr) == S_OK)
        All.push_back(std::move(Filter));
    for (const auto& Each : All)
        Graph->RemoveFilter(Each.Get());
}

class DvdNavigation : public DvdGraph {
protected:
    void ExpectLevels(long Volume, long Balance) {
        TAudioLevels Levels = LevelsOf(Graph.Get());
        EXPECT_EQ(Volume, Levels.Volume);
        EXPECT_EQ(Balance, Levels.Balance);
    }
    ULONG CurrentAudio() {
        ULONG Count = 0, Stream = 99;
        EXPECT_HRESULT_SUCCEEDED(Info->GetCurrentAudio(&Count, &Stream));
        return Stream;
    }
    bool Logged(long Code, LONG_PTR Param1) const {
        return std::any_of(Log.begin(), Log.end(),
                           [&](const TEvent& E) { return E.Code == Code && E.Param1 == Param1; });
    }
    // Lets the navigator's clock run for a while, collecting what it posts.
    void Settle(DWORD Ms) {
        WaitFor([](const TEvent&) { return false; }, Ms);
    }
};

TEST_F(DvdNavigation, VolumeAndBalanceSurviveEveryRebuild) {
    ASSERT_NO_FATAL_FAILURE(Open("multi"));
    ASSERT_HRESULT_SUCCEEDED(Control->Run());
    ASSERT_TRUE(WaitForCode(EC_DVD_TITLE_CHANGE, 1));
    ASSERT_NO_FATAL_FAILURE(SetLevels(Graph.Get(), -10000, -2500)); // muted, to the left
    {
        SCOPED_TRACE("audio stream switch");
        ASSERT_HRESULT_SUCCEEDED(Dvd->SelectAudioStream(1, 0, nullptr));
        ExpectLevels(-10000, -2500);
    }
    ASSERT_NO_FATAL_FAILURE(SetLevels(Graph.Get(), -7000, 1200));
    {
        SCOPED_TRACE("jump to a title of another title set");
        ASSERT_HRESULT_SUCCEEDED(Dvd->PlayChapterInTitle(3, 1, 0, nullptr));
        ExpectLevels(-7000, 1200);
    }
    {
        SCOPED_TRACE("chapter jump to another title of the first set");
        ASSERT_HRESULT_SUCCEEDED(Dvd->PlayChapterInTitle(2, 2, 0, nullptr));
        ExpectLevels(-7000, 1200);
        ASSERT_HRESULT_SUCCEEDED(Dvd->SelectAudioStream(0, 0, nullptr));
        ExpectLevels(-7000, 1200);
    }
}

TEST_F(DvdNavigation, AStreamMissingFromTheDataIsRefusedAndTheOldOnePlaysOn) {
    ASSERT_NO_FATAL_FAILURE(Open("langs"));
    ASSERT_HRESULT_SUCCEEDED(Control->Run());
    ASSERT_TRUE(WaitForTime(0));
    int Filters = CountFilters(Graph.Get());
    WINBOOL Enabled = FALSE;
    ASSERT_HRESULT_SUCCEEDED(Info->IsAudioStreamEnabled(2, &Enabled));
    ASSERT_TRUE(Enabled); // the disc offers it, but its VOB carries no such stream
    EXPECT_HRESULT_FAILED(Dvd->SelectAudioStream(2, 0, nullptr));
    EXPECT_EQ(0u, CurrentAudio());
    EXPECT_EQ(Filters, CountFilters(Graph.Get()));
    EXPECT_EQ(1, CountAudioRenderers(Graph.Get()));
    ASSERT_TRUE(WaitForTime(1));
    EXPECT_FALSE(Logged(EC_DVD_AUDIO_STREAM_CHANGE, 2));
}

TEST_F(DvdNavigation, ADecoderFailingDuringTheSwitchLeavesTheOldStream) {
    ASSERT_NO_FATAL_FAILURE(Open("multi"));
    ASSERT_HRESULT_SUCCEEDED(Control->Run());
    ASSERT_TRUE(WaitForTime(0));
    int Filters = CountFilters(Graph.Get());
    int Renders = 0;
    // The decoder goes into the graph, then fails.
    dvdnav::RenderAudioSeam() = [&](IGraphBuilder* Target, IPin* Output) {
        ++Renders;
        Target->Render(Output);
        return VFW_E_CANNOT_RENDER;
    };
    HRESULT Result = Dvd->SelectAudioStream(1, 0, nullptr);
    dvdnav::RenderAudioSeam() = nullptr;
    EXPECT_EQ(1, Renders);
    EXPECT_EQ(VFW_E_CANNOT_RENDER, Result);
    EXPECT_EQ(0u, CurrentAudio());
    EXPECT_EQ(Filters, CountFilters(Graph.Get())); // nothing of the new branch is left
    EXPECT_EQ(1, CountAudioRenderers(Graph.Get()));
    ASSERT_TRUE(WaitForTime(2)); // the old stream kept playing
    EXPECT_FALSE(Logged(EC_DVD_AUDIO_STREAM_CHANGE, 1));
}

TEST_F(DvdNavigation, AFailedJumpAnnouncesNothing) {
    ASSERT_NO_FATAL_FAILURE(Open("twelve"));
    ASSERT_HRESULT_SUCCEEDED(Control->Run());
    ASSERT_TRUE(WaitForCode(EC_DVD_CHAPTER_START, 1));
    Control->Stop();
    RemoveAllFilters(Graph.Get());
    Log.clear();
    EXPECT_HRESULT_FAILED(Dvd->PlayChapter(3, 0, nullptr));
    Settle(600);
    EXPECT_FALSE(Logged(EC_DVD_CHAPTER_START, 3));
    DVD_PLAYBACK_LOCATION2 Location;
    ASSERT_HRESULT_SUCCEEDED(Info->GetCurrentLocation(&Location));
    EXPECT_EQ(1u, Location.ChapterNum);
}

TEST_F(DvdNavigation, UnlabelledAndUnknownStreamsAreNoRealLanguage) {
    ASSERT_NO_FATAL_FAILURE(Open("langs"));
    const char* Expected[] = {"Invariant Language", "Invariant Language", "Welsh", "Basque", "Zulu"};
    for (ULONG Stream = 0; Stream < 5; ++Stream) {
        SCOPED_TRACE(Stream);
        LCID Language = 0;
        ASSERT_HRESULT_SUCCEEDED(Info->GetAudioLanguage(Stream, &Language));
        char Name[260] = {};
        ASSERT_NE(0, GetLocaleInfoA(Language, LOCALE_SENGLANGUAGE, Name, sizeof Name));
        EXPECT_STREQ(Expected[Stream], Name);
    }
}

TEST_F(DvdNavigation, APostCommandContinuesWithTheTitleItNames) {
    ASSERT_NO_FATAL_FAILURE(Open("post"));
    ASSERT_HRESULT_SUCCEEDED(Control->Run());
    ASSERT_TRUE(WaitForCode(EC_DVD_TITLE_CHANGE, 1));
    ASSERT_TRUE(WaitForCode(EC_DVD_TITLE_CHANGE, 2, 8000));
    EXPECT_FALSE(Logged(EC_DVD_DOMAIN_CHANGE, DVD_DOMAIN_Stop)); // went on, did not stop between
    ASSERT_TRUE(WaitForTime(1));
    // Title 2 has no jump: the play ends there, with the graph stopped.
    ASSERT_TRUE(WaitForCode(EC_DVD_DOMAIN_CHANGE, DVD_DOMAIN_Stop, 8000));
    EXPECT_TRUE(Logged(EC_DVD_PLAYBACK_STOPPED, 0));
    OAFilterState State = State_Running;
    ASSERT_HRESULT_SUCCEEDED(Control->GetState(1000, &State));
    EXPECT_EQ(State_Stopped, State);
    DVD_DOMAIN Domain;
    ASSERT_HRESULT_SUCCEEDED(Info->GetCurrentDomain(&Domain));
    EXPECT_EQ(DVD_DOMAIN_Stop, Domain);
}

TEST_F(DvdNavigation, APostCommandToAMissingTitleEndsInTheStopDomain) {
    ASSERT_NO_FATAL_FAILURE(Open("nowhere"));
    ASSERT_HRESULT_SUCCEEDED(Control->Run());
    ASSERT_TRUE(WaitForCode(EC_DVD_DOMAIN_CHANGE, DVD_DOMAIN_Stop, 8000));
    EXPECT_TRUE(Logged(EC_DVD_WARNING, DVD_WARNING_IllegalNavCommand));
    EXPECT_EQ(1, std::count_if(Log.begin(), Log.end(),
                               [](const TEvent& E) { return E.Code == EC_DVD_TITLE_CHANGE; }));
}

// Resources the process holds; a round of the loop must not add to them.
struct TFootprint {
    int Filters;
    DWORD Handles;
    DWORD UserObjects;
    DWORD GdiObjects;
    size_t PrivateBytes;
};

TFootprint FootprintOf(IGraphBuilder* Graph) {
    TFootprint Print{CountFilters(Graph), 0, GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS),
                     GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), 0};
    GetProcessHandleCount(GetCurrentProcess(), &Print.Handles);
    PROCESS_MEMORY_COUNTERS_EX Memory{};
    Memory.cb = sizeof Memory;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&Memory),
                         sizeof Memory);
    Print.PrivateBytes = Memory.PrivateUsage;
    return Print;
}

TEST_F(DvdNavigation, TitlesJumpingToEachOtherGoRoundWithoutGrowing) {
    ASSERT_NO_FATAL_FAILURE(Open("loop"));
    ASSERT_HRESULT_SUCCEEDED(Control->Run());
    std::vector<TFootprint> Rounds;
    for (int Round = 0; Round < 4; ++Round) {
        SCOPED_TRACE(Round);
        // Each round is title 2, then title 1 again.
        size_t Seen = Log.size();
        auto TitleAfter = [&](LONG_PTR Title) {
            return WaitFor(
                [&](const TEvent& E) {
                    return &E >= Log.data() + Seen && E.Code == EC_DVD_TITLE_CHANGE && E.Param1 == Title;
                },
                8000);
        };
        ASSERT_TRUE(TitleAfter(2));
        Seen = Log.size();
        ASSERT_TRUE(TitleAfter(1));
        Rounds.push_back(FootprintOf(Graph.Get()));
    }
    EXPECT_FALSE(Logged(EC_DVD_DOMAIN_CHANGE, DVD_DOMAIN_Stop));
    // The first round settles caches of the platform; later ones must match it.
    for (size_t Round = 2; Round < Rounds.size(); ++Round) {
        SCOPED_TRACE(Round);
        EXPECT_EQ(Rounds[1].Filters, Rounds[Round].Filters);
        EXPECT_LE(Rounds[Round].UserObjects, Rounds[1].UserObjects);
        EXPECT_LE(Rounds[Round].GdiObjects, Rounds[1].GdiObjects + 4);
        EXPECT_LE(Rounds[Round].Handles, Rounds[1].Handles + 16);
        EXPECT_LE(Rounds[Round].PrivateBytes, Rounds[1].PrivateBytes + (8u << 20));
    }
}

} // namespace
