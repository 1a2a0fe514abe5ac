// Image storage, conversion and rectangle copies.
#include "imageio/Image.h"

#include "app/Checked.h"
#include "app/Error.h"
#include "app/Limits.h"

#include <algorithm>
#include <cstring>

namespace tavrik {

namespace {
// "a picture of W x H pixels"
std::string PictureNeed(int32_t width, int32_t height) {
    return "a picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
}
} // namespace

void Image::Reset(int32_t width, int32_t height, PixelFormat format) {
    if (width < 0 || height < 0) throw Error("Invalid image size");
    if (static_cast<int64_t>(width) * height > PicturePixelLimit)
        throw Error(PictureNeed(width, height) + " is larger than the limit of " + std::to_string(PicturePixelLimit) +
                    " pixels");
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) *
                         static_cast<size_t>(format == PixelFormat::Indexed8 ? 1 : 3);
    Allocating(PictureNeed(width, height), bytes, [&] { Pixels.assign(bytes, 0); });
    ImageWidth = width;
    ImageHeight = height;
    ImageFormat = format;
}

void Image::ConvertTo(PixelFormat format) {
    if (format == ImageFormat) return;
    if (format == PixelFormat::Rgb24) {
        std::vector<uint8_t> rgb = Allocating(PictureNeed(ImageWidth, ImageHeight), Pixels.size() * 3,
                                              [&] { return std::vector<uint8_t>(Pixels.size() * 3); });
        for (size_t i = 0; i < Pixels.size(); ++i) {
            const PaletteEntry& e = ColourTable[Pixels[i]];
            rgb[3 * i] = e.Red;
            rgb[3 * i + 1] = e.Green;
            rgb[3 * i + 2] = e.Blue;
        }
        Pixels = std::move(rgb);
        ImageFormat = format;
    } else {
        Reset(ImageWidth, ImageHeight, format);
    }
}

Colour Image::ColourAt(int32_t x, int32_t y) const {
    if (ImageFormat == PixelFormat::Indexed8) return ColourFromEntry(ColourTable[IndexAt(x, y)]);
    const uint8_t* p = Row(y) + static_cast<size_t>(x) * 3;
    return MakeColour(p[0], p[1], p[2]);
}

void Image::SetRgb(int32_t x, int32_t y, Colour colour) {
    uint8_t* p = Row(y) + static_cast<size_t>(x) * 3;
    p[0] = RedOf(colour);
    p[1] = GreenOf(colour);
    p[2] = BlueOf(colour);
}

void Image::Fill(uint8_t index) { std::fill(Pixels.begin(), Pixels.end(), index); }

void CopyRect(const Image& source, int32_t sx, int32_t sy, int32_t width, int32_t height, Image& target, int32_t tx,
              int32_t ty) {
    if (source.Format() != target.Format()) throw Error("Cannot copy between images of different pixel formats");
    // Clip against the source, then the target, moving both origins together.
    auto clip = [&](int32_t& s, int32_t& t, int32_t& size, int32_t sourceLimit, int32_t targetLimit) {
        if (s < 0) {
            size += s;
            t -= s;
            s = 0;
        }
        if (t < 0) {
            size += t;
            s -= t;
            t = 0;
        }
        size = std::min({size, sourceLimit - s, targetLimit - t});
    };
    clip(sx, tx, width, source.Width(), target.Width());
    clip(sy, ty, height, source.Height(), target.Height());
    if (width <= 0 || height <= 0) return;
    const size_t bpp = static_cast<size_t>(source.BytesPerPixel());
    for (int32_t row = 0; row < height; ++row)
        std::memcpy(target.Row(ty + row) + static_cast<size_t>(tx) * bpp,
                    source.Row(sy + row) + static_cast<size_t>(sx) * bpp, static_cast<size_t>(width) * bpp);
}

} // namespace tavrik
