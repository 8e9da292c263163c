// The build progress as the dialog shows it: the bar follows the builder's steps within its range, and Cancel is
// seen at the builder's next poll, which also gives the window its repaint.

#include "app/build/build_status.h"

#include <gtest/gtest.h>

namespace {

class CountingStatus : public CBuildStatus
{
public:
    int refreshes = 0;

protected:
    void Refresh() override { ++refreshes; }
};

TEST(BuildStatus, TheBarFollowsStepsAndPositionsWithinItsRange)
{
    struct Case
    {
        int pos;
        int step;
        int steps;
        int position;
        int percent;
    };
    const Case cases[] = {
        {0, 0, 3, 0, 0},
        {100000, 250000, 2, 600000, 60},
        {900000, 50000, 5, kBuildProgressEnd, 100}, // steps beyond the end leave the bar full
        {-5, 1, 0, 0, 0},
        {kBuildProgressEnd * 2, 1, 0, kBuildProgressEnd, 100},
        {kBuildProgressEnd - 1, 0x7fffffff, 1, kBuildProgressEnd, 100}, // no overflow on a huge step
        {kBuildProgressEnd - 1, 0, 0, kBuildProgressEnd - 1, 99},
    };
    for (const Case& c : cases) {
        CBuildStatus status;
        status.SetPos(c.pos);
        status.SetStep(c.step);
        for (int i = 0; i < c.steps; ++i)
            status.StepIt();
        EXPECT_EQ(status.GetPosition(), c.position) << c.pos << " + " << c.steps << " x " << c.step;
        EXPECT_EQ(status.GetPercent(), c.percent) << c.pos << " + " << c.steps << " x " << c.step;
    }
}

TEST(BuildStatus, CancelIsSeenAtTheNextPollAndEveryPollRepaints)
{
    CountingStatus status;
    status.SetPhase("Building page:");
    status.SetPageName("Home");
    EXPECT_FALSE(status.IsCancelRequested());
    EXPECT_EQ(status.refreshes, 1);
    status.Repaint();
    EXPECT_EQ(status.refreshes, 2);
    status.Cancel();
    EXPECT_TRUE(status.IsCancelRequested());
    EXPECT_TRUE(status.IsCancelRequested()) << "a cancel stays";
    EXPECT_EQ(status.GetPhase(), "Building page:");
    EXPECT_EQ(status.GetPageName(), "Home");
}

} // namespace
