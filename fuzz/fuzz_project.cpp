// libFuzzer target: the project file reader on arbitrary text, in file-offset and chip-relative display.
#include "app/Error.h"
#include "project/ProjectFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const tavrik::ProjectFile current = tavrik::NewProjectFile();
    try {
        tavrik::ParseProjectText(text, "fuzz.ini", current, {}, 57);
        tavrik::ParseProjectText(text, "fuzz.ini", current, {0x2C, true}, 57);
    } catch (const tavrik::Error&) {
        // Text that holds no project value is refused with a message, which is fine.
    }
    return 0;
}
