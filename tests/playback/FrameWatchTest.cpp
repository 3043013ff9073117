// Playback that stops moving, and broken files the graph builds but cannot run, on the fake
// DirectShow kit: the watch on the position, what the frame then shows, and that the next file plays.

#include "FrameFixture.h"

#include "forms/TApplication.h"

using namespace vireon;
using Strings = std::vector<std::string>;

namespace {

constexpr DWORD kStart = 1000;
constexpr LONGLONG kSecond = 10000000;

} // namespace

TEST(StallWatch, ReportsAPositionStandingStillOnceAndStartsAgainWhenItMoves) {
    TStallWatch watch;
    EXPECT_FALSE(watch.Stalled(5, kStart)) << "the first position only starts the watch";
    EXPECT_FALSE(watch.Stalled(5, kStart + TStallWatch::kLimitMs - 1));
    EXPECT_TRUE(watch.Stalled(5, kStart + TStallWatch::kLimitMs));
    EXPECT_FALSE(watch.Stalled(5, kStart + 3 * TStallWatch::kLimitMs)) << "once per stall";

    EXPECT_FALSE(watch.Stalled(6, kStart + 4 * TStallWatch::kLimitMs)) << "moving again starts a new watch";
    EXPECT_TRUE(watch.Stalled(6, kStart + 5 * TStallWatch::kLimitMs));

    watch.Restart();
    EXPECT_FALSE(watch.Stalled(6, kStart + 9 * TStallWatch::kLimitMs))
        << "time before a restart does not count";
    EXPECT_TRUE(watch.Stalled(6, kStart + 10 * TStallWatch::kLimitMs));

    SCOPED_TRACE("across the wrap of the tick count");
    watch.Restart();
    EXPECT_FALSE(watch.Stalled(7, 0xFFFFFF00u));
    EXPECT_FALSE(watch.Stalled(7, 0xFFFFFF00u + 100));
    EXPECT_TRUE(watch.Stalled(7, 0xFFFFFF00u + TStallWatch::kLimitMs));
}

class FrameWatch : public FrameTest {
protected:
    // The position timer's calls over Milliseconds, every half second from Now on.
    void Watch(DWORD Milliseconds) {
        for (DWORD passed = 0; passed <= Milliseconds; passed += 500)
            frame->WatchProgress(now + passed);
        now += Milliseconds + 500;
    }
    void OpenPlaying() {
        ASSERT_TRUE(frame->OpenMedia("Z:\\media\\clip.avi", false));
        ASSERT_TRUE(frame->Playing());
        graph->duration = 100 * kSecond;
        graph->position = 10 * kSecond;
    }
    const std::string kShownCannotPlay = Application().Title() + ": " + kCannotPlayMessage;
    DWORD now = kStart;
};

TEST_F(FrameWatch, PositionStandingStillMidwayStopsWithTheMessage) {
    OpenPlaying();
    Watch(TStallWatch::kLimitMs - 500);
    EXPECT_TRUE(frame->Playing()) << "not yet";
    EXPECT_TRUE(shown.empty());
    Watch(500);
    EXPECT_FALSE(frame->Playing());
    EXPECT_EQ(State_Stopped, graph->state);
    EXPECT_EQ(Strings{kShownCannotPlay}, shown);
    Watch(2 * TStallWatch::kLimitMs);
    EXPECT_EQ(1u, shown.size()) << "a stopped file is not watched";

    shown.clear();
    OpenPlaying();
    EXPECT_EQ(State_Running, graph->state) << "the next file plays";
}

TEST_F(FrameWatch, MovingPausedAndDvdPlaybackIsLeftAlone) {
    OpenPlaying();
    for (int step = 0; step < 20; ++step) {
        graph->position += kSecond / 2;
        Watch(0);
    }
    EXPECT_TRUE(frame->Playing()) << "a moving position";

    frame->PlayPause();
    ASSERT_FALSE(frame->Playing());
    // The position timer does not run while paused.
    now += 3 * TStallWatch::kLimitMs;
    frame->PlayPause();
    ASSERT_TRUE(frame->Playing());
    Watch(TStallWatch::kLimitMs - 500);
    EXPECT_TRUE(frame->Playing()) << "the time paused does not count";

    ASSERT_TRUE(frame->OpenDVD(L"Z:\\disc\\VIDEO_TS"));
    Watch(3 * TStallWatch::kLimitMs);
    EXPECT_TRUE(frame->Playing()) << "a DVD menu stands still by design";
    EXPECT_TRUE(shown.empty());
}

TEST_F(FrameWatch, AtTheEndPlaybackStopsQuietly) {
    {
        SCOPED_TRACE("the position at the duration");
        OpenPlaying();
        graph->position = graph->duration;
        Watch(TStallWatch::kLimitMs);
        EXPECT_FALSE(frame->Playing());
        EXPECT_TRUE(shown.empty());
    }
    {
        SCOPED_TRACE("the graph reported the end short of the duration");
        OpenPlaying();
        graph->QueueEvent(EC_COMPLETE, S_OK, 0);
        PumpMessages();
        Watch(TStallWatch::kLimitMs);
        EXPECT_FALSE(frame->Playing());
        EXPECT_TRUE(shown.empty());
    }
    {
        SCOPED_TRACE("an end reported for the previous file does not count for the next");
        OpenPlaying();
        Watch(TStallWatch::kLimitMs);
        EXPECT_EQ(Strings{kShownCannotPlay}, shown);
    }
}

TEST_F(FrameWatch, AGraphThatRefusesToRunOrToStopLeavesTheFrameUsable) {
    {
        SCOPED_TRACE("built, but it does not run: the message, not an error escaping");
        graph->runResult = E_FAIL;
        EXPECT_NO_THROW(EXPECT_FALSE(frame->OpenMedia("Z:\\media\\broken.avi", false)));
        EXPECT_EQ(Strings{kShownCannotPlay}, shown);
        EXPECT_FALSE(frame->Playing());
        EXPECT_EQ(0, graph->FilterCount() - 1) << "only the renderer stays";
    }
    {
        SCOPED_TRACE("silently, as a folder's files are tried");
        shown.clear();
        EXPECT_NO_THROW(EXPECT_FALSE(frame->OpenMedia("Z:\\media\\broken.avi", true)));
        EXPECT_TRUE(shown.empty());
    }
    {
        SCOPED_TRACE("the old graph refuses to stop: the next file still opens");
        graph->runResult = S_OK;
        ASSERT_TRUE(frame->OpenMedia("Z:\\media\\clip.avi", false));
        graph->stopResult = E_FAIL;
        EXPECT_NO_THROW(EXPECT_TRUE(frame->OpenMedia("Z:\\media\\clip.avi", false)));
        EXPECT_TRUE(frame->Playing());
        graph->stopResult = S_OK;
    }
}
