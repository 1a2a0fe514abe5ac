// libFuzzer target: Windows bitmap reading (stb_image and the RLE4/RLE8 decoder) on arbitrary bytes.
#include "app/Error.h"
#include "imageio/BmpFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        tavrik::ReadBmp({data, size});
    } catch (const tavrik::Error&) {
    }
    return 0;
}
