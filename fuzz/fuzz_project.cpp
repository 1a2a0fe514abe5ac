// libFuzzer target: the project file reader on arbitrary text, in file-offset and chip-relative display.
#include "project/ProjectFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const tavrik::ProjectFile current = tavrik::NewProjectFile();
    tavrik::ParseProjectText(text, "fuzz.ini", current, {}, 57);
    tavrik::ParseProjectText(text, "fuzz.ini", current, {0x2C, true}, 57);
    return 0;
}
