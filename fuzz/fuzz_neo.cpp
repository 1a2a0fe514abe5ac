// libFuzzer target: the NEOchrome/DEGAS reader on arbitrary bytes, with each format the caller may preset.
#include "app/Error.h"
#include "imageio/NeoImage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte picks the preset format, as LoadImage does by extension.
    const auto preset = static_cast<tavrik::TAtariFormat>(data[0] % 5);
    try {
        tavrik::TNEOImage image;
        image.AtariFormat = preset;
        image.LoadFromStream({data + 1, size - 1});
    } catch (const tavrik::Error&) {
    }
    return 0;
}
