// Text helpers: splitting at a delimiter or into lines, file name extensions.
#include "app/TextHelpers.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

TEST(SplitAt, TakesTheHeadAndLeavesTheTail) {
    std::string source = "16 x 16";
    EXPECT_EQ(SplitAt(source, "x"), "16 ");
    EXPECT_EQ(source, " 16");
}

TEST(SplitAt, OnlyTheFirstDelimiterCounts) {
    std::string source = "a,b,c";
    EXPECT_EQ(SplitAt(source, ","), "a");
    EXPECT_EQ(source, "b,c");
    std::string longer = "1<->2<->3";
    EXPECT_EQ(SplitAt(longer, "<->"), "1");
    EXPECT_EQ(longer, "2<->3");
}

TEST(SplitAt, WithoutTheDelimiterTheWholeTextIsTakenAndSourceEmptied) {
    std::string source = "320";
    EXPECT_EQ(SplitAt(source, "x"), "320");
    EXPECT_EQ(source, "");
    EXPECT_EQ(SplitAt(source, "x"), "");
    EXPECT_EQ(source, "");
}

TEST(SplitAt, DelimiterAtTheEnds) {
    std::string source = "x16";
    EXPECT_EQ(SplitAt(source, "x"), "");
    EXPECT_EQ(source, "16");
    source = "16x";
    EXPECT_EQ(SplitAt(source, "x"), "16");
    EXPECT_EQ(source, "");
}

TEST(Extensions, LowerCaseExtensionAndReplacement) {
    EXPECT_EQ(LowerExtension("level.PNG"), ".png");
    EXPECT_EQ(LowerExtension("/data/x.y/state"), "");
    EXPECT_EQ(LowerExtension("pic.Pi1"), ".pi1");
    EXPECT_EQ(ReplaceExtension("maps/level.bmp", ".png"), "maps/level.png");
    EXPECT_EQ(ReplaceExtension("level", ".png"), "level.png");
}

} // namespace
} // namespace tavrik
