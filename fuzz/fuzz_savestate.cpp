// libFuzzer target for the save-state loader: any bytes must load or fail with tavrik::Error, and the
// report and a copper walk of whatever loaded must stay inside the memory image.
#include "app/Error.h"
#include "memory/CopperList.h"
#include "memory/SaveState.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const tavrik::ParsedDataFile parsed =
            tavrik::ParseDataFile(std::span<const uint8_t>(data, size), tavrik::MemoryState{}, "fuzz.uss");
        tavrik::ReportLines(parsed.Memory);
        tavrik::WalkCopperList(parsed.Memory, tavrik::CopperlistActionStart(parsed.Memory), 128);
    } catch (const tavrik::Error&) {
        // A broken file is reported, not crashed on.
    }
    return 0;
}
