// The screenshot's retouching tools, Half Size, the magic wand, and the selection's limits and texts.
#include "search/SearchImageTools.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

constexpr Colour Magenta = 0xFF00FF;

// Rows of colour bands as a gradient background shows them: row y holds colour y * $10 except where objects lie.
Image Bands(int32_t width, int32_t height) {
    Image image(width, height, PixelFormat::Rgb24);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            image.SetRgb(x, y, static_cast<Colour>(y) * 0x10);
    return image;
}

int32_t CountColour(const Image& image, Colour colour) {
    int32_t count = 0;
    for (int32_t y = 0; y < image.Height(); ++y)
        for (int32_t x = 0; x < image.Width(); ++x)
            count += image.ColourAt(x, y) == colour ? 1 : 0;
    return count;
}

TEST(HalfSize, KeepsThePixelsAtEvenCoordinatesWithoutAveraging) {
    Image image(321, 201, PixelFormat::Rgb24);
    for (int32_t y = 0; y < 201; ++y)
        for (int32_t x = 0; x < 321; ++x)
            image.SetRgb(x, y, static_cast<Colour>(x * 1000 + y));
    const Image half = HalfSize(image);
    ASSERT_EQ(half.Width(), 160);
    ASSERT_EQ(half.Height(), 100);
    EXPECT_EQ(half.ColourAt(0, 0), 0u);
    EXPECT_EQ(half.ColourAt(159, 99), static_cast<Colour>(318 * 1000 + 198));
    EXPECT_TRUE(HalfSize(Image(1, 1, PixelFormat::Rgb24)).Empty());
}

TEST(PaintTools, BandsReplaceTheColourUnderThePointerInItsRowOnly) {
    Image image = Bands(20, 10);
    image.SetRgb(5, 4, 0x30); // the colour of row 3, in row 4
    PaintState state{PaintMode::Bands};
    EXPECT_TRUE(PaintPress(state, image, MouseButton::Left, 2, 3, std::nullopt, Magenta));
    EXPECT_EQ(CountColour(image, Magenta), 20);
    EXPECT_EQ(image.ColourAt(5, 4), 0x30u);
    EXPECT_TRUE(PaintMove(state, image, 2, 4, std::nullopt, Magenta)); // the next row's own colour
    EXPECT_EQ(CountColour(image, Magenta), 39);
    EXPECT_EQ(image.ColourAt(5, 4), 0x30u);
    PaintRelease(state, MouseButton::Left);
    EXPECT_FALSE(PaintMove(state, image, 2, 5, std::nullopt, Magenta));
}

TEST(PaintTools, ReplaceTakesTheColourFromTheWholeImage) {
    Image image = Bands(8, 8);
    image.SetRgb(7, 7, 0x20);
    PaintState state{PaintMode::Replace};
    PaintPress(state, image, MouseButton::Left, 0, 2, std::nullopt, Magenta);
    EXPECT_EQ(CountColour(image, Magenta), 9);
}

TEST(PaintTools, SelectionToolsActInsideTheSelectionClippedToTheImage) {
    Image image = Bands(20, 10);
    const SelectionRect selection{15, 2, 40, 6}; // partly beyond the right edge
    PaintState state{PaintMode::BandsInSelection};
    EXPECT_FALSE(PaintPress(state, image, MouseButton::Left, 16, 8, selection, Magenta)); // row outside
    EXPECT_TRUE(PaintMove(state, image, 16, 3, selection, Magenta));
    EXPECT_EQ(CountColour(image, Magenta), 5); // columns 15 to 19 of row 3
    EXPECT_EQ(image.ColourAt(14, 3), 0x30u);

    image = Bands(20, 10);
    for (int32_t y = 0; y < 10; ++y)
        image.SetRgb(16, y, 0x50);
    state = PaintState{PaintMode::ReplaceInSelection};
    PaintPress(state, image, MouseButton::Left, 0, 5, selection, Magenta);
    EXPECT_EQ(CountColour(image, Magenta), 8); // column 16 of rows 2 to 4 and row 5 of columns 15 to 19
    EXPECT_EQ(image.ColourAt(0, 5), 0x50u);
}

TEST(PaintTools, RightButtonNoToolAndPointsOffTheImagePaintNothing) {
    Image image = Bands(8, 8);
    PaintState state{PaintMode::Bands};
    EXPECT_FALSE(PaintPress(state, image, MouseButton::Right, 1, 1, std::nullopt, Magenta));
    EXPECT_FALSE(state.Painting);
    PaintState none;
    EXPECT_FALSE(PaintPress(none, image, MouseButton::Left, 1, 1, std::nullopt, Magenta));
    EXPECT_TRUE(PaintPress(state, image, MouseButton::Left, 1, 1, std::nullopt, Magenta));
    EXPECT_FALSE(PaintMove(state, image, 9, 1, std::nullopt, Magenta));
    EXPECT_FALSE(PaintMove(state, image, -1, 2, std::nullopt, Magenta));
    EXPECT_EQ(CountColour(image, Magenta), 8);
}

TEST(MagicWandTest, ComparesUpperNibblesAndListsTheKeysBeforeAndAfterSorting) {
    Image image(3, 1, PixelFormat::Rgb24);
    image.SetRgb(0, 0, 0x1F2F3F);
    image.SetRgb(1, 0, 0x402030);
    image.SetRgb(2, 0, 0x000001);
    TIntList palette(Duplicates::Accept);
    for (const int32_t colour : {0x102030, 0x000000, 0x1A2B3C, 0x0F0F0F})
        palette.Add(colour);
    const MagicWandResult result = MagicWand(image, palette, Magenta);
    EXPECT_EQ(result.PaintedPixels, 1);
    EXPECT_EQ(image.ColourAt(0, 0), 0x1F2F3Fu);
    EXPECT_EQ(image.ColourAt(1, 0), Magenta);
    EXPECT_EQ(image.ColourAt(2, 0), 0x000001u);
    EXPECT_EQ(result.InfoLines, (std::vector<std::string>{"Pre 0=102030", "Pre 1=0", "Post 0=0", "Post 1=102030"}));

    Image all = Bands(4, 4);
    EXPECT_EQ(MagicWand(all, TIntList(Duplicates::Accept), Magenta).PaintedPixels, 16);
}

TEST(SearchSelectionTexts, RoundHalvesToEvenAndShowPositionAndSize) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(SelectionLabelText({10.5, 3.4, 60.5, 19.6}), "Selection: (10, 3)  Dimensions: 50 x 16");
    EXPECT_EQ(SearchDimensionsText(Image(320, 200, PixelFormat::Rgb24)), "Dimensions: 320 x 200");
    EXPECT_EQ(SearchZoomText(SearchZoomScale(350)), "350%");
    EXPECT_EQ(SearchZoomText(SearchZoomScale(SearchZoomDefault)), "200%");
}

TEST(SearchSelectionLimits, MovingShiftsBackInsideAndResizingCutsTheEdges) {
    EXPECT_EQ(ConstrainMovedSelection({-5, -2, 15, 18}, 100, 80), (SelectionRect{0, 0, 20, 20}));
    EXPECT_EQ(ConstrainMovedSelection({90, 70, 110, 95}, 100, 80), (SelectionRect{80, 55, 100, 80}));
    EXPECT_EQ(ConstrainResizedSelection({-5, 10, 120, 95}, 100, 80), (SelectionRect{0, 10, 100, 80}));
}

// A picture of game pixels with detail in every pixel pair, as a random screen has.
Image GamePixels(int32_t width, int32_t height) {
    Image picture(width, height, PixelFormat::Rgb24);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            picture.SetRgb(x, y, static_cast<Colour>((x * 7 + y * 13) % 5) * 0x302010u);
    return picture;
}

Image Scaled(const Image& picture, int32_t factor) {
    Image scaled(picture.Width() * factor, picture.Height() * factor, PixelFormat::Rgb24);
    for (int32_t y = 0; y < scaled.Height(); ++y)
        for (int32_t x = 0; x < scaled.Width(); ++x)
            scaled.SetRgb(x, y, picture.ColourAt(x / factor, y / factor));
    return scaled;
}

TEST(ScaledScreenshots, TheLargestWholeFactorIsFoundFromAnyCornerWithinABlock) {
    const Image game = GamePixels(40, 30);
    EXPECT_FALSE(ReadScaledSelection(game, PixelRect{0, 0, 40, 30}));
    for (const int32_t factor : {2, 3, 4}) {
        const Image scaled = Scaled(game, factor);
        // Starting one pixel into a block, and reaching past the picture's right edge.
        const std::optional<ScaledSelection> read =
            ReadScaledSelection(scaled, PixelRect{factor + 1, factor, 40 * factor + 50, 20 * factor});
        ASSERT_TRUE(read) << factor;
        EXPECT_EQ(read->Factor, factor);
        EXPECT_EQ(read->Left, 2 * factor);
        EXPECT_EQ(read->Picture.Width(), 38);
        EXPECT_EQ(read->Picture.Height(), 19);
        EXPECT_EQ(read->Picture.ColourAt(5, 7), game.ColourAt(7, 8));
    }
}

TEST(UnmatchedCellMarks, FramesInAColourThePictureDoesNotUse) {
    Image picture(32, 16, PixelFormat::Rgb24);
    picture.SetRgb(3, 3, 0x0000FF); // red is taken: the frames are yellow
    const Image marked = MarkedCells(picture, {PixelRect{16, 0, 32, 16}});
    EXPECT_EQ(marked.ColourAt(16, 5), 0x00FFFFu);
    EXPECT_EQ(marked.ColourAt(31, 15), 0x00FFFFu);
    EXPECT_EQ(marked.ColourAt(20, 5), 0u);
    EXPECT_EQ(marked.ColourAt(15, 0), 0u);
    EXPECT_EQ(picture.ColourAt(16, 5), 0u);
}

TEST(SaveImageName, AlwaysEndsInPng) {
    EXPECT_EQ(SearchImageSaveName("/tmp/shot.bmp"), "/tmp/shot.png");
    EXPECT_EQ(SearchImageSaveName("shot"), "shot.png");
}

} // namespace
} // namespace tavrik
