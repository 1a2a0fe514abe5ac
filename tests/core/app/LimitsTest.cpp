// The size limits at their edges, and running out of memory told as what needed how much.
#include "app/Limits.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

std::string Refusal(const std::function<void()>& check) {
    try {
        check();
    } catch (const Error& refused) {
        return refused.what();
    }
    return "";
}

TEST(Limits, RipsUpToTheLimitsPassAndOneMorePixelIsRefusedNamingTheLimit) {
    EXPECT_EQ(Refusal([] { CheckRipSize(RipSideLimit, RipPixelLimit / RipSideLimit); }), "");
    EXPECT_EQ(Refusal([] { CheckRipSize(1, RipSideLimit); }), "");
    const std::string wide = Refusal([] { CheckRipSize(RipSideLimit + 1, 1); });
    EXPECT_NE(wide.find(std::to_string(RipSideLimit + 1) + " x 1"), std::string::npos) << wide;
    EXPECT_NE(wide.find(std::to_string(RipSideLimit)), std::string::npos) << wide;
    // Within the side limit, but one row too many pixels in all.
    const std::string many = Refusal([] { CheckRipSize(RipSideLimit, RipPixelLimit / RipSideLimit + 1); });
    EXPECT_NE(many.find(std::to_string(RipPixelLimit)), std::string::npos) << many;
    EXPECT_NE(Refusal([] { CheckRipSize(23170, 23170); }), "");
}

TEST(Limits, MatchingNeedsTilesOfSomeSizeAndAtMostAWordOfThem) {
    EXPECT_EQ(Refusal([] { CheckMatchTiles(MatchTileSideMinimum, MatchTileSideMinimum, 1024, 1024); }), "");
    EXPECT_NE(Refusal([] { CheckMatchTiles(MatchTileSideMinimum - 1, 16, 320, 80); }), "");
    EXPECT_NE(Refusal([] { CheckMatchTiles(16, MatchTileSideMinimum - 1, 320, 80); }), "");
    // 1024 x 1024 in 4 x 4 tiles is exactly the limit; one more column of tiles is over it.
    const std::string over = Refusal([] { CheckMatchTiles(4, 4, 1028, 1024); });
    EXPECT_NE(over.find(std::to_string(MatchTileLimit)), std::string::npos) << over;
    EXPECT_NE(over.find("65792 tiles"), std::string::npos) << over;
    // Parts of a tile at the sheet's edges are no tiles.
    EXPECT_EQ(Refusal([] { CheckMatchTiles(4, 4, 1027, 1027); }), "");
}

TEST(Limits, RunningOutOfMemorySaysWhatNeededHowMuch) {
    const std::string told = Refusal([] {
        Allocating("a picture of 23170 x 23170 pixels", uint64_t{23170} * 23170 * 3,
                   []() -> int { throw std::bad_alloc(); });
    });
    EXPECT_EQ(told, "Not enough memory: a picture of 23170 x 23170 pixels needs 1.5 GB");
    EXPECT_EQ(OutOfMemoryMessage("the file x", 1000), "Not enough memory: the file x needs 1000 bytes");
    EXPECT_EQ(OutOfMemoryMessage("the file x", 3 << 20), "Not enough memory: the file x needs 3.0 MB");
    EXPECT_EQ(Allocating("nothing", 1, [] { return 7; }), 7);
}

} // namespace
} // namespace tavrik
