// Reading the root file system's id as the machine identity.
#include "platform/MachineIdentity.h"

#include <sys/statvfs.h>

namespace tavrik {

std::string MachineIdFromFsid(uint64_t fsid) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), Digits[fsid & 15]);
        fsid >>= 4;
    } while (fsid != 0);
    return text;
}

std::string ReadMachineId(const std::string& path) {
    struct statvfs info {};
    if (statvfs(path.c_str(), &info) != 0) return "0";
    return MachineIdFromFsid(static_cast<uint64_t>(info.f_fsid));
}

} // namespace tavrik
