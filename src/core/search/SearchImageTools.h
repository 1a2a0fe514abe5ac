// The screenshot of the "Map Search" tab and its retouching: the search selection and its texts, the
// paint tools that cover gradient bands and objects with the background colour, the magic wand, Half Size,
// and the tab's dialog texts. The view, the handles and the buttons are the desktop program's.
#pragma once

#include "app/Colour.h"
#include "app/IntList.h"
#include "imageio/Image.h"
#include "imageio/ImageLoader.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrik {

// The rectangle over the screenshot in image pixels, right and bottom exclusive; it follows the view's zoom
// as floating-point values, and every whole number taken from it is rounded half to even.
struct SelectionRect {
    double Left = 0;
    double Top = 0;
    double Right = 16;
    double Bottom = 16;
    bool operator==(const SelectionRect&) const = default;
};

inline constexpr double MinimumSelectionSize = 16;
inline constexpr Colour DefaultSearchBackgroundColour = 0xFF00FF;

// Rounds to the nearest integer, halves to the even neighbour.
int32_t RoundHalfEven(double value);

struct PixelRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0; // exclusive
    int32_t Bottom = 0;
};
// Each edge rounded.
PixelRect RoundedSelection(const SelectionRect& selection);

// LabelSearchRubberBandDimensions: "Selection: (L, T)  Dimensions: W x H".
std::string SelectionLabelText(const SelectionRect& selection);
// LabelSearchDimensions after a set-up: "Dimensions: W x H".
std::string SearchDimensionsText(const Image& searchImage);

// The zoom slider: 100 to 800 in steps of 50, 200 at start; the scale is position / 100.
inline constexpr int32_t SearchZoomMinimum = 100;
inline constexpr int32_t SearchZoomMaximum = 800;
inline constexpr int32_t SearchZoomStep = 50;
inline constexpr int32_t SearchZoomDefault = 200;
double SearchZoomScale(int32_t sliderPosition);
// LabelSearchZoomPercentage: "350%".
std::string SearchZoomText(double scale);

// A selection the user drags, corrected to the view: shifted back inside (left, top, right, bottom in that
// order, size kept); the bounds are the view's size in screen pixels taken as image coordinates.
SelectionRect ConstrainMovedSelection(SelectionRect selection, double viewWidth, double viewHeight);
// A selection the user resizes: edges beyond the bounds are cut back to them.
SelectionRect ConstrainResizedSelection(SelectionRect selection, double viewWidth, double viewHeight);

// ReplaceColourInRect: pixels of exactly the from colour within the inclusive, clipped rectangle become the
// to colour. Returns whether a pixel changed.
bool ReplaceColourInRect(Image& image, Colour from, Colour to, int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// Half Size: every second column and row from the first, without averaging (1 x 1 gives an empty image).
Image HalfSize(const Image& image);

// The screenshot as shown after a match: a frame one pixel wide around each cell no tile matched, in the
// first of red, yellow, cyan, green and white that the picture does not use.
Image MarkedCells(const Image& image, const std::vector<PixelRect>& cells);

// A selection whose picture was scaled up by a whole factor (as emulators save screenshots), read back at the
// game's pixel size: one pixel per block.
struct ScaledSelection {
    int32_t Factor = 1;
    int32_t Left = 0; // where the first block begins in the screenshot
    int32_t Top = 0;
    Image Picture;
};
inline constexpr int32_t LargestScreenshotScale = 4;
// The largest factor of 4, 3 and 2 for which every factor x factor block of the selection's part inside the
// picture is one colour, the blocks counted from the selection's top-left corner or up to factor - 1 pixels
// right of and below it; nullopt when there is none.
std::optional<ScaledSelection> ReadScaledSelection(const Image& image, const PixelRect& selection);

// The paint tools, as the Tags of their buttons.
enum class PaintMode : int32_t { None = 0, Bands = 1, Replace = 2, BandsInSelection = 3, ReplaceInSelection = 4 };

struct PaintState {
    PaintMode Mode = PaintMode::None;
    bool Painting = false;
    Colour PickedColour = 0;
};

enum class MouseButton : uint8_t { Left, Right, Middle };

// A press on the view at image pixel (x, y): with the left button and a paint tool chosen, starts painting
// and paints at the point. Returns whether the image changed (the view then shows it again).
bool PaintPress(PaintState& state, Image& image, MouseButton button, int32_t x, int32_t y,
                const std::optional<SelectionRect>& selection, Colour background);
// A move while painting: the colour under the pointer becomes the background colour in the tool's area
// (its row, the image, or either limited to the selection clipped to the image).
bool PaintMove(PaintState& state, Image& image, int32_t x, int32_t y, const std::optional<SelectionRect>& selection,
               Colour background);
void PaintRelease(PaintState& state, MouseButton button);

struct MagicWandResult {
    // The "Pre" lines (palette order) and then the "Post" lines (sorted) for the "Info" memo.
    std::vector<std::string> InfoLines;
    int32_t PaintedPixels = 0;
};
// Paints every pixel whose colour (upper four bits of each channel) is not among the palette's colours.
MagicWandResult MagicWand(Image& image, const TIntList& paletteColours, Colour background);

// Texts of the tab's dialogs and messages.
inline constexpr std::string_view LoadGameSnapshotTitle = "Load Game Snapshot";
// The screenshot is picked from the same picture types as loaded tiles.
inline constexpr std::string_view LoadGameSnapshotFilter = LoadTileGraphicsFilter;
inline constexpr std::string_view SaveMatchImageTitle = "Save Match Image";
inline constexpr std::string_view SaveMatchImageFilter = "PNG File (*.png)|*.png";
inline constexpr std::string_view NotTwentyFourBitMessage =
    "The picture to match is not a 24-bit image! Matching will fail!";
inline constexpr std::string_view NoSearchImageMessage = "There is no picture to save: load a game snapshot first.";
// Paste from clipboard when the clipboard holds no picture.
inline constexpr std::string_view NoClipboardPictureMessage =
    "There is no picture on the clipboard: copy a screenshot first, then paste it.";
// The name Save Image writes: the chosen name with the extension ".png".
std::string SearchImageSaveName(std::string_view chosenName);

} // namespace tavrik
