// The progress line: quiet for the first second, then the step with its percentage and time, redrawn at
// most ten times a second.
#include "app/ProgressLine.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

TEST(ProgressLine, ShowsNothingInTheFirstSecondThenStepPercentAndTime) {
    ProgressLine line;
    line.Start(72);
    line.Step("Checking for horizontal word data...");
    for (int i = 0; i < 18; ++i)
        line.Advance();
    EXPECT_FALSE(line.Due(0.0));
    EXPECT_FALSE(line.Due(0.99));
    EXPECT_FALSE(line.Drawn());
    EXPECT_EQ(line.Due(1.25).value_or(""), "Checking for horizontal word data...   25%  1.2 s");
    EXPECT_TRUE(line.Drawn());
    // Not again within a tenth of a second; then with the new step.
    line.Step("Checking for vertical map...");
    EXPECT_FALSE(line.Due(1.3));
    EXPECT_EQ(line.Due(1.36).value_or(""), "Checking for vertical map...   25%  1.4 s");
}

TEST(ProgressLine, PercentStopsAtTheEndAndRestartsWithTheNextStart) {
    ProgressLine line;
    line.Start(3);
    for (int i = 0; i < 10; ++i)
        line.Advance();
    EXPECT_NE(line.Due(2).value_or("").find("100%"), std::string::npos);
    line.Start(0); // a job without steps shows 0%
    EXPECT_NE(line.Due(3).value_or("").find("  0%"), std::string::npos);
}

} // namespace
} // namespace tavrik
