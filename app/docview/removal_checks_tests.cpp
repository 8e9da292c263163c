#include "app/docview/removal_checks.h"

#include <gtest/gtest.h>

namespace {

struct Buttons
{
    bool remove, checkAll, clearAll;
    bool operator==(const Buttons&) const = default;
};

Buttons Enabled(const CRemovalChecks& checks)
{
    return {checks.CanRemove(), checks.CanCheckAll(), checks.CanClearAll()};
}

TEST(RemovalChecks, ButtonsFollowTheCheckedCount)
{
    CRemovalChecks checks(3);
    EXPECT_EQ(Enabled(checks), (Buttons{false, true, false}));
    checks.SetCheck(1, true);
    checks.SetCheck(1, true); // the same state again counts once
    EXPECT_EQ(checks.GetCheckedCount(), 1);
    EXPECT_EQ(Enabled(checks), (Buttons{true, true, true}));
    // Checking the last unchecked item leaves nothing to check.
    checks.SetCheck(0, true);
    checks.SetCheck(2, true);
    EXPECT_EQ(Enabled(checks), (Buttons{true, false, true}));
    checks.ClearAll();
    EXPECT_EQ(checks.GetStates(), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(Enabled(checks), (Buttons{false, true, false}));
    checks.CheckAll();
    checks.SetCheck(0, false);
    checks.SetCheck(7, true);
    checks.SetCheck(-1, false);
    EXPECT_EQ(checks.GetStates(), (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(checks.GetCheckedCount(), 2);

    CRemovalChecks none(0);
    EXPECT_EQ(Enabled(none), (Buttons{false, false, false}));
}

} // namespace
