// Placement arithmetic that needs no window: where the minimised window draws
// its icon, and where a dialog is centred.

#include <gtest/gtest.h>

#include "Centering.h"
#include "IconPlacement.h"

namespace {

TEST(MinimisedIcon, CentredWithSignedTruncatingArithmetic) {
    EXPECT_EQ(MinimisedIconOffset(36, 32), 2);
    EXPECT_EQ(MinimisedIconOffset(35, 32), 2);  // (35 - 32 + 1) / 2
    EXPECT_EQ(MinimisedIconOffset(37, 32), 3);
    EXPECT_EQ(MinimisedIconOffset(0, 32), -15);  // -31 / 2 truncates towards zero
    EXPECT_EQ(MinimisedIconOffset(1, 32), -15);
    EXPECT_EQ(MinimisedIconOffset(160, 32), 64);
}

TEST(Centring, CentredThenKeptInsideTheArea) {
    EXPECT_EQ(CenteredStart(0, 1024, 100, 0, 1024), 462);
    EXPECT_EQ(CenteredStart(0, 1023, 101, 0, 1023), 461);
    EXPECT_EQ(CenteredStart(-3, 0, 2, -10, 10), -2);         // (-3 + 0) / 2 truncates to -1
    EXPECT_EQ(CenteredStart(0, 100, 300, 0, 100), 0);        // larger than the area: its start
    EXPECT_EQ(CenteredStart(900, 1100, 100, 0, 1024), 924);  // past the end: moved back
    EXPECT_EQ(CenteredStart(-200, 0, 100, 0, 1024), 0);      // before the start: raised
    EXPECT_EQ(CenteredStart(0, 768, 768, 0, 768), 0);
}

}  // namespace
