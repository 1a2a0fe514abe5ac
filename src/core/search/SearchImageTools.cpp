// The screenshot's retouching tools and the selection's texts and limits.
#include "search/SearchImageTools.h"

#include "app/IntegerText.h"
#include "app/TextHelpers.h"

#include <algorithm>
#include <array>
#include <set>
#include <cmath>

namespace tavrik {

namespace {

constexpr Colour HighNibbles = 0xF0F0F0;

// Whether (x, y) lies on the image.
bool OnImage(const Image& image, int32_t x, int32_t y) {
    return x >= 0 && y >= 0 && x < image.Width() && y < image.Height();
}

// The selection rounded and clipped to the image.
PixelRect ClippedSelection(const SelectionRect& selection, const Image& image) {
    PixelRect rect = RoundedSelection(selection);
    rect.Left = std::max(rect.Left, 0);
    rect.Top = std::max(rect.Top, 0);
    rect.Right = std::min(rect.Right, image.Width());
    rect.Bottom = std::min(rect.Bottom, image.Height());
    return rect;
}

bool PaintInMode(PaintMode mode, Image& image, int32_t y, const PixelRect& area, Colour from, Colour to) {
    switch (mode) {
    case PaintMode::None: return false;
    case PaintMode::Bands: return ReplaceColourInRect(image, from, to, 0, y, image.Width() - 1, y);
    case PaintMode::Replace: return ReplaceColourInRect(image, from, to, 0, 0, image.Width() - 1, image.Height() - 1);
    case PaintMode::BandsInSelection:
        if (y < area.Top || y >= area.Bottom) return false;
        return ReplaceColourInRect(image, from, to, area.Left, y, area.Right - 1, y);
    case PaintMode::ReplaceInSelection:
        return ReplaceColourInRect(image, from, to, area.Left, area.Top, area.Right - 1, area.Bottom - 1);
    }
    return false;
}

std::string KeyLine(const char* prefix, size_t index, int32_t key) {
    return prefix + std::to_string(index) + "=" + Hex(key);
}

} // namespace

int32_t RoundHalfEven(double value) {
    const double rounded = std::nearbyint(value); // the default rounding mode rounds halves to even
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return rounded > 0 ? INT32_MAX : INT32_MIN;
    return static_cast<int32_t>(rounded);
}

PixelRect RoundedSelection(const SelectionRect& selection) {
    return PixelRect{RoundHalfEven(selection.Left), RoundHalfEven(selection.Top), RoundHalfEven(selection.Right),
                     RoundHalfEven(selection.Bottom)};
}

std::string SelectionLabelText(const SelectionRect& selection) {
    return "Selection: (" + std::to_string(RoundHalfEven(selection.Left)) + ", " +
           std::to_string(RoundHalfEven(selection.Top)) +
           ")  Dimensions: " + std::to_string(RoundHalfEven(selection.Right - selection.Left)) + " x " +
           std::to_string(RoundHalfEven(selection.Bottom - selection.Top));
}

std::string SearchDimensionsText(const Image& searchImage) {
    return "Dimensions: " + std::to_string(searchImage.Width()) + " x " + std::to_string(searchImage.Height());
}

double SearchZoomScale(int32_t sliderPosition) { return sliderPosition / 100.0; }

std::string SearchZoomText(double scale) { return std::to_string(RoundHalfEven(scale * 100)) + "%"; }

SelectionRect ConstrainMovedSelection(SelectionRect s, double viewWidth, double viewHeight) {
    auto shift = [](double& low, double& high, double by) {
        low += by;
        high += by;
    };
    if (s.Left < 0) shift(s.Left, s.Right, -s.Left);
    if (s.Top < 0) shift(s.Top, s.Bottom, -s.Top);
    if (s.Right > viewWidth) shift(s.Left, s.Right, viewWidth - s.Right);
    if (s.Bottom > viewHeight) shift(s.Top, s.Bottom, viewHeight - s.Bottom);
    return s;
}

SelectionRect ConstrainResizedSelection(SelectionRect s, double viewWidth, double viewHeight) {
    s.Left = std::max(s.Left, 0.0);
    s.Top = std::max(s.Top, 0.0);
    s.Right = std::min(s.Right, viewWidth);
    s.Bottom = std::min(s.Bottom, viewHeight);
    return s;
}

bool ReplaceColourInRect(Image& image, Colour from, Colour to, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    if (x2 >= image.Width()) x2 = image.Width() - 1;
    if (y2 >= image.Height()) y2 = image.Height() - 1;
    bool changed = false;
    for (int32_t y = y1; y <= y2; ++y)
        for (int32_t x = x1; x <= x2; ++x)
            if (image.ColourAt(x, y) == from) {
                image.SetRgb(x, y, to);
                changed = true;
            }
    return changed;
}

Image HalfSize(const Image& image) {
    Image half(image.Width() / 2, image.Height() / 2, PixelFormat::Rgb24);
    for (int32_t y = 0; y < half.Height(); ++y)
        for (int32_t x = 0; x < half.Width(); ++x)
            half.SetRgb(x, y, image.ColourAt(2 * x, 2 * y));
    return half;
}

namespace {

// Whether every whole factor x factor block of the area from (left, top) is one colour (and there is one).
bool BlocksAreOneColour(const Image& image, const PixelRect& area, int32_t factor) {
    bool any = false;
    for (int32_t y = area.Top; y + factor <= area.Bottom; y += factor)
        for (int32_t x = area.Left; x + factor <= area.Right; x += factor) {
            const Colour colour = image.ColourAt(x, y);
            for (int32_t dy = 0; dy < factor; ++dy)
                for (int32_t dx = 0; dx < factor; ++dx)
                    if (image.ColourAt(x + dx, y + dy) != colour) return false;
            any = true;
        }
    return any;
}

Image OnePixelPerBlock(const Image& image, const PixelRect& area, int32_t factor) {
    Image picture((area.Right - area.Left) / factor, (area.Bottom - area.Top) / factor, PixelFormat::Rgb24);
    for (int32_t y = 0; y < picture.Height(); ++y)
        for (int32_t x = 0; x < picture.Width(); ++x)
            picture.SetRgb(x, y, image.ColourAt(area.Left + factor * x, area.Top + factor * y));
    return picture;
}

} // namespace

Image MarkedCells(const Image& image, const std::vector<PixelRect>& cells) {
    Image marked = image;
    marked.ConvertTo(PixelFormat::Rgb24);
    if (cells.empty()) return marked;
    constexpr std::array<Colour, 5> candidates{0x0000FF, 0x00FFFF, 0xFFFF00, 0x00FF00, 0xFFFFFF};
    std::set<Colour> used;
    for (int32_t y = 0; y < marked.Height(); ++y)
        for (int32_t x = 0; x < marked.Width(); ++x)
            used.insert(marked.ColourAt(x, y));
    const auto unused = std::find_if(candidates.begin(), candidates.end(), [&](Colour c) { return !used.contains(c); });
    const Colour frame = unused == candidates.end() ? candidates[0] : *unused;
    const auto put = [&](int32_t x, int32_t y) {
        if (x >= 0 && y >= 0 && x < marked.Width() && y < marked.Height()) marked.SetRgb(x, y, frame);
    };
    for (const PixelRect& cell : cells) {
        for (int32_t x = cell.Left; x < cell.Right; ++x) {
            put(x, cell.Top);
            put(x, cell.Bottom - 1);
        }
        for (int32_t y = cell.Top; y < cell.Bottom; ++y) {
            put(cell.Left, y);
            put(cell.Right - 1, y);
        }
    }
    return marked;
}

std::optional<ScaledSelection> ReadScaledSelection(const Image& image, const PixelRect& selection) {
    const PixelRect inside{std::max(0, selection.Left), std::max(0, selection.Top),
                           std::min(selection.Right, image.Width()), std::min(selection.Bottom, image.Height())};
    for (int32_t factor = LargestScreenshotScale; factor >= 2; --factor)
        for (int32_t dy = 0; dy < factor; ++dy)
            for (int32_t dx = 0; dx < factor; ++dx) {
                const PixelRect area{inside.Left + dx, inside.Top + dy, inside.Right, inside.Bottom};
                if (BlocksAreOneColour(image, area, factor))
                    return ScaledSelection{factor, area.Left, area.Top, OnePixelPerBlock(image, area, factor)};
            }
    return std::nullopt;
}

bool PaintPress(PaintState& state, Image& image, MouseButton button, int32_t x, int32_t y,
                const std::optional<SelectionRect>& selection, Colour background) {
    if (button != MouseButton::Left || state.Mode == PaintMode::None) return false;
    state.Painting = true;
    return PaintMove(state, image, x, y, selection, background);
}

bool PaintMove(PaintState& state, Image& image, int32_t x, int32_t y, const std::optional<SelectionRect>& selection,
               Colour background) {
    if (!state.Painting || state.Mode == PaintMode::None) return false;
    // A point off the image picks a colour no pixel has, so nothing is painted.
    if (!OnImage(image, x, y)) return false;
    state.PickedColour = image.ColourAt(x, y);
    const bool limited = state.Mode == PaintMode::BandsInSelection || state.Mode == PaintMode::ReplaceInSelection;
    if (limited && !selection) return false;
    const PixelRect area = selection ? ClippedSelection(*selection, image) : PixelRect{};
    return PaintInMode(state.Mode, image, y, area, state.PickedColour, background);
}

void PaintRelease(PaintState& state, MouseButton button) {
    if (button == MouseButton::Left) state.Painting = false;
}

MagicWandResult MagicWand(Image& image, const TIntList& paletteColours, Colour background) {
    MagicWandResult result;
    std::vector<int32_t> keys;
    for (const int32_t colour : paletteColours.Values()) {
        const int32_t key = static_cast<int32_t>(static_cast<Colour>(colour) & HighNibbles);
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
    }
    for (size_t i = 0; i < keys.size(); ++i)
        result.InfoLines.push_back(KeyLine("Pre ", i, keys[i]));
    std::sort(keys.begin(), keys.end());
    for (size_t i = 0; i < keys.size(); ++i)
        result.InfoLines.push_back(KeyLine("Post ", i, keys[i]));
    for (int32_t y = 0; y < image.Height(); ++y)
        for (int32_t x = 0; x < image.Width(); ++x) {
            const int32_t key = static_cast<int32_t>(image.ColourAt(x, y) & HighNibbles);
            if (std::binary_search(keys.begin(), keys.end(), key)) continue;
            image.SetRgb(x, y, background);
            ++result.PaintedPixels;
        }
    return result;
}

std::string SearchImageSaveName(std::string_view chosenName) { return ReplaceExtension(chosenName, ".png"); }

} // namespace tavrik
