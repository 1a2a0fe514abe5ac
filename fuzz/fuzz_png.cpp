// libFuzzer target: PNG reading through libpng on arbitrary bytes, and writing what was read.
#include "app/Error.h"
#include "imageio/PngFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const tavrik::Image image = tavrik::ReadPng({data, size});
        if (image.Width() * image.Height() <= 4096) tavrik::EncodePng(image);
    } catch (const tavrik::Error&) {
    }
    return 0;
}
