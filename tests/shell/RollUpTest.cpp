// The roll-up window's arithmetic, tick by tick: 4 pixels a tick, the number of ticks for a height,
// the requests that do nothing, and a reversal from where the window stands.
#include "shell/TCustomRollUpForm.h"

#include "forms/TApplication.h"

#include <gtest/gtest.h>

using namespace vireon;

namespace {

class RollUpTest : public testing::Test {
protected:
    // Runs the timer's ticks by hand until the animation stops; answers how many there were.
    int TicksUntilFinished(int Limit = 1000) {
        int ticks = 0;
        while (form->Timer->Enabled() && ticks < Limit) {
            form->TimerTimer(form->Timer);
            ++ticks;
        }
        return ticks;
    }

    void ExpectUp() {
        EXPECT_TRUE(form->Finished());
        EXPECT_TRUE(form->Visible());
        EXPECT_FALSE(form->Timer->Enabled());
        EXPECT_EQ(form->ScreenHeight() - form->Height(), form->Top()) << "standing on the bottom edge";
    }

    int ScreenHeight() const { return form->ScreenHeight(); }

    TCustomRollUpForm* form = new TCustomRollUpForm(&Application(), nullptr, "RollUpForm");

    void TearDown() override { FreeComponent(form); }
};

TEST_F(RollUpTest, DesignAndTimer) {
    EXPECT_EQ(TCustomRollUpForm::kDesignWidth, form->Width());
    EXPECT_EQ(177, form->Height());
    EXPECT_EQ(3u, form->Timer->Interval());
    EXPECT_FALSE(form->Timer->Enabled());
    EXPECT_FALSE(form->Finished());
    EXPECT_EQ(bsNone, form->BorderStyle());
    EXPECT_EQ(fsStayOnTop, form->FormStyle());
}

TEST_F(RollUpTest, A177PixelWindowNeeds45TicksEachWay) {
    form->RollUp();
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(form->RollingUp());
    EXPECT_TRUE(form->Timer->Enabled());
    EXPECT_EQ(ScreenHeight(), form->Top()) << "starts just below the screen";
    form->TimerTimer(form->Timer);
    EXPECT_EQ(ScreenHeight() - 4, form->Top());
    EXPECT_EQ(44, TicksUntilFinished());
    ExpectUp();
    EXPECT_TRUE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    form->RollDown();
    EXPECT_FALSE(form->RollingUp());
    EXPECT_EQ(45, TicksUntilFinished());
    EXPECT_TRUE(form->Finished());
    EXPECT_FALSE(form->Visible());
    EXPECT_GE(form->Top(), ScreenHeight());
}

TEST_F(RollUpTest, RequestsInTheDirectionReachedDoNothing) {
    form->RollUp();
    TicksUntilFinished();
    form->RollDown();
    TicksUntilFinished();
    ASSERT_TRUE(form->Finished());
    ASSERT_FALSE(form->Visible());
    const int hiddenTop = form->Top();
    form->RollDown();
    EXPECT_FALSE(form->Timer->Enabled()) << "down already";
    EXPECT_EQ(hiddenTop, form->Top());

    form->RollUp();
    TicksUntilFinished();
    ExpectUp();
    form->RollUp();
    EXPECT_FALSE(form->Timer->Enabled()) << "up already";
    ExpectUp();
}

TEST_F(RollUpTest, AReversalStartsFromWhereTheWindowIs) {
    form->RollUp();
    for (int i = 0; i < 10; ++i)
        form->TimerTimer(form->Timer);
    ASSERT_EQ(ScreenHeight() - 40, form->Top());

    form->RollDown();
    form->TimerTimer(form->Timer);
    EXPECT_EQ(ScreenHeight() - 36, form->Top());
    EXPECT_EQ(9, TicksUntilFinished());
    EXPECT_FALSE(form->Visible());

    form->RollUp();
    for (int i = 0; i < 20; ++i)
        form->TimerTimer(form->Timer);
    form->RollDown();
    for (int i = 0; i < 5; ++i)
        form->TimerTimer(form->Timer);
    ASSERT_EQ(ScreenHeight() - 60, form->Top());
    form->RollUp(); // back up, from 60 pixels: (177 - 60) / 4 rounded up
    EXPECT_TRUE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) << "stays over the video";
    EXPECT_EQ(30, TicksUntilFinished());
    ExpectUp();
}

TEST_F(RollUpTest, HiddenAtOnceWithoutAnimation) {
    form->RollUp();
    TicksUntilFinished();
    form->HideAtOnce();
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->Timer->Enabled());
    EXPECT_TRUE(form->Finished());
    form->RollDown();
    EXPECT_FALSE(form->Timer->Enabled());
    form->RollUp();
    EXPECT_EQ(ScreenHeight(), form->Top()) << "rolls up from below the screen again";
}

} // namespace
