// libFuzzer target: the IFF ILBM reader on arbitrary bytes must end in a picture or a tavrik::Error.
#include "app/Error.h"
#include "imageio/IlbmImage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        tavrik::TILBMImage image;
        image.LoadFromStream({data, size});
    } catch (const tavrik::Error&) {
    }
    return 0;
}
