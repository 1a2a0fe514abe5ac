// libpng used plainly for the tests: valid inputs only, so libpng's own error handling is enough.
#include "PngTestFiles.h"

#include <png.h>

#include <cstring>
#include <stdexcept>

namespace tavrik::test {

namespace {

void AppendBytes(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

struct MemoryInput {
    const std::vector<uint8_t>* Bytes;
    size_t Position;
};

void TakeBytes(png_structp png, png_bytep data, size_t length) {
    auto* in = static_cast<MemoryInput*>(png_get_io_ptr(png));
    if (in->Position + length > in->Bytes->size()) png_error(png, "short test file");
    std::memcpy(data, in->Bytes->data() + in->Position, length);
    in->Position += length;
}

} // namespace

std::vector<uint8_t> WriteRawPng(const RawPng& raw) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, AppendBytes, nullptr);
    png_set_IHDR(png, info, raw.Width, raw.Height, raw.BitDepth, raw.ColourType,
                 raw.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (size_t i = 0; i + 2 < raw.Palette.size(); i += 3)
        palette.push_back(png_color{raw.Palette[i], raw.Palette[i + 1], raw.Palette[i + 2]});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!raw.Transparency.empty())
        png_set_tRNS(png, info, raw.Transparency.data(), static_cast<int>(raw.Transparency.size()), nullptr);
    png_write_info(png, info);
    std::vector<png_bytep> rows;
    for (const auto& row : raw.Rows)
        rows.push_back(const_cast<uint8_t*>(row.data()));
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

RawPng ReadRawPng(const std::vector<uint8_t>& bytes) {
    RawPng raw;
    MemoryInput input{&bytes, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_read_fn(png, &input, TakeBytes);
    png_read_info(png, info);
    raw.Width = png_get_image_width(png, info);
    raw.Height = png_get_image_height(png, info);
    raw.ColourType = png_get_color_type(png, info);
    raw.BitDepth = png_get_bit_depth(png, info);
    raw.Interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    png_colorp palette = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &palette, &count) != 0)
        for (int i = 0; i < count; ++i)
            raw.Palette.insert(raw.Palette.end(), {palette[i].red, palette[i].green, palette[i].blue});
    raw.Rows.assign(raw.Height, std::vector<uint8_t>(png_get_rowbytes(png, info)));
    std::vector<png_bytep> rows;
    for (auto& row : raw.Rows)
        rows.push_back(row.data());
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return raw;
}

size_t PngChunkData(const std::vector<uint8_t>& bytes, const std::string& name) {
    size_t position = 8;
    while (position + 8 <= bytes.size()) {
        const uint32_t length = (uint32_t{bytes[position]} << 24) | (uint32_t{bytes[position + 1]} << 16) |
                                (uint32_t{bytes[position + 2]} << 8) | bytes[position + 3];
        if (std::memcmp(bytes.data() + position + 4, name.data(), 4) == 0) return position + 8;
        position += 12 + length;
    }
    return 0;
}

} // namespace tavrik::test
