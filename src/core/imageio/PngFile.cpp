// PNG through libpng. libpng reports errors by longjmp, so every function that calls setjmp holds only plain
// data, and the objects with destructors (the image, the row pointers, the libpng structs' owner) live in
// the callers, which the jump never crosses.
#include "imageio/PngFile.h"

#include "app/Checked.h"
#include "app/Error.h"
#include "app/Files.h"
#include "app/TextHelpers.h"

#include <png.h>

#include <array>
#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace tavrik {

namespace {

// A valid PNG cannot inflate its pixel data by more than deflate's best ratio (about 1032 to 1), so a
// header promising more raw data than that is a lie; refusing it keeps a tiny file from a huge allocation.
constexpr uint64_t MaxInflateRatio = 1040;
constexpr uint64_t InflateSlack = 1 << 16;
constexpr uint32_t MaxPngSide = 1 << 20;

struct PngContext {
    const uint8_t* Data = nullptr;
    size_t Size = 0;
    size_t Position = 0;
    std::vector<uint8_t>* Output = nullptr;
    char Message[256] = {};
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* context = static_cast<PngContext*>(png_get_error_ptr(png));
    std::snprintf(context->Message, sizeof context->Message, "%s", message != nullptr ? message : "unknown error");
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep out, size_t length) {
    auto* context = static_cast<PngContext*>(png_get_io_ptr(png));
    if (length > context->Size - context->Position) png_error(png, "the file ends early (truncated)");
    std::memcpy(out, context->Data + context->Position, length);
    context->Position += length;
}

void WriteToMemory(png_structp png, png_bytep data, size_t length) {
    auto* context = static_cast<PngContext*>(png_get_io_ptr(png));
    bool failed = false;
    try {
        context->Output->insert(context->Output->end(), data, data + length);
    } catch (...) {
        failed = true;
    }
    // Outside the handler: the jump must not leave a live exception behind.
    if (failed) png_error(png, "out of memory");
}

void FlushNothing(png_structp) {}

// Owns libpng's read or write structs.
class PngStructs {
  public:
    PngStructs(PngContext& context, bool writing) : Writing(writing) {
        Png = writing ? png_create_write_struct(PNG_LIBPNG_VER_STRING, &context, OnPngError, OnPngWarning)
                      : png_create_read_struct(PNG_LIBPNG_VER_STRING, &context, OnPngError, OnPngWarning);
        if (Png != nullptr) Info = png_create_info_struct(Png);
        if (Png == nullptr || Info == nullptr) {
            Release();
            throw Error("Cannot start the PNG library");
        }
        if (writing)
            png_set_write_fn(Png, &context, WriteToMemory, FlushNothing);
        else
            png_set_read_fn(Png, &context, ReadFromMemory);
    }
    ~PngStructs() { Release(); }
    PngStructs(const PngStructs&) = delete;
    PngStructs& operator=(const PngStructs&) = delete;

    png_structp Png = nullptr;
    png_infop Info = nullptr;

  private:
    void Release() {
        if (Writing)
            png_destroy_write_struct(&Png, &Info);
        else
            png_destroy_read_struct(&Png, &Info, nullptr);
    }
    bool Writing;
};

struct PngLayout {
    uint32_t Width = 0;
    uint32_t Height = 0;
    uint64_t RawBytes = 0; // the filtered pixel data the file must inflate to
    size_t OutputRowBytes = 0;
    int OutputChannels = 0;
};

// Reads the header and asks libpng for 8-bit RGB rows whatever the file holds. False after a libpng error.
bool ReadHeader(png_structp png, png_infop info, PngLayout* layout) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_user_limits(png, MaxPngSide, MaxPngSide);
    png_read_info(png, info);
    const int colourType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    layout->Width = png_get_image_width(png, info);
    layout->Height = png_get_image_height(png, info);
    const uint64_t rawBits = uint64_t{layout->Width} * png_get_channels(png, info) * static_cast<uint64_t>(bitDepth);
    layout->RawBytes = ((rawBits + 7) / 8 + 1) * layout->Height;
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (bitDepth == 16) png_set_scale_16(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    // Also drops the alpha that a palette's transparency chunk would add.
    png_set_strip_alpha(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    layout->OutputRowBytes = png_get_rowbytes(png, info);
    layout->OutputChannels = png_get_channels(png, info);
    return true;
}

bool ReadRows(png_structp png, png_infop info, png_bytep* rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

bool WriteAll(png_structp png, png_infop info, const Image& image, png_colorp palette, png_bytep* rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    const bool indexed = image.Format() == PixelFormat::Indexed8;
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<uint32_t>(image.Width()), static_cast<uint32_t>(image.Height()), 8,
                 indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (indexed) png_set_PLTE(png, info, palette, 256);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

[[noreturn]] void ThrowDamaged(const PngContext& context) {
    throw Error(std::string("Damaged PNG file: ") + context.Message);
}

} // namespace

Image ReadPng(std::span<const uint8_t> bytes) {
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) throw Error("Not a PNG file: bad signature");
    PngContext context;
    context.Data = bytes.data();
    context.Size = bytes.size();
    PngStructs structs(context, false);
    PngLayout layout;
    if (!ReadHeader(structs.Png, structs.Info, &layout)) ThrowDamaged(context);
    if (layout.RawBytes / MaxInflateRatio > bytes.size() + InflateSlack)
        throw Error("Damaged PNG file: a picture of " + std::to_string(layout.Width) + " x " +
                    std::to_string(layout.Height) + " pixels cannot be held in " + std::to_string(bytes.size()) +
                    " bytes");
    Image image(CheckedCast<int32_t>(layout.Width), CheckedCast<int32_t>(layout.Height), PixelFormat::Rgb24);
    if (layout.OutputChannels != 3 || layout.OutputRowBytes != image.Stride())
        throw Error("PNG file cannot be converted to 24-bit colour");
    std::vector<png_bytep> rows(layout.Height);
    for (uint32_t y = 0; y < layout.Height; ++y)
        rows[y] = image.Row(static_cast<int32_t>(y));
    if (!ReadRows(structs.Png, structs.Info, rows.data())) ThrowDamaged(context);
    return image;
}

std::vector<uint8_t> EncodePng(const Image& image) {
    if (image.Empty()) throw Error("An empty image cannot be written as PNG");
    std::array<png_color, 256> palette{};
    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] = png_color{image.ColourTable[i].Red, image.ColourTable[i].Green, image.ColourTable[i].Blue};
    std::vector<png_bytep> rows(static_cast<size_t>(image.Height()));
    // libpng's row type is not const, but writing only reads the rows.
    for (int32_t y = 0; y < image.Height(); ++y)
        rows[static_cast<size_t>(y)] = const_cast<uint8_t*>(image.Row(y));
    std::vector<uint8_t> output;
    PngContext context;
    context.Output = &output;
    PngStructs structs(context, true);
    if (!WriteAll(structs.Png, structs.Info, image, palette.data(), rows.data()))
        throw Error(std::string("Cannot encode PNG: ") + context.Message);
    return output;
}

void SaveImagePng(const Image& image, const std::string& path) {
    std::vector<uint8_t> encoded;
    try {
        encoded = EncodePng(image);
    } catch (const Error& error) {
        throw Error("Cannot save " + path + ": " + error.what());
    }
    WriteWholeFile(path, encoded);
}

std::optional<std::string> SavePngAs(const Image& image, Dialogs& dialogs, const FileDialogRequest& request,
                                     bool confirmOverwriting) {
    const std::optional<std::string> chosen = dialogs.SaveFile(request);
    if (!chosen) return std::nullopt;
    const std::string fileName = ReplaceExtension(*chosen, ".png");
    if (confirmOverwriting && !ConfirmOverwrite(fileName, dialogs)) return std::nullopt;
    SaveImagePng(image, fileName);
    return fileName;
}

} // namespace tavrik
