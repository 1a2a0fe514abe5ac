// Reading the root file system's id as the machine identity.
#include "platform/MachineIdentity.h"

#include "app/IntegerText.h"

#include <sys/statvfs.h>

namespace tavrik {

std::string MachineIdFromFsid(uint64_t fsid) { return HexWide(fsid); }

std::string ReadMachineId(const std::string& path) {
    struct statvfs info {};
    if (statvfs(path.c_str(), &info) != 0) return "0";
    return MachineIdFromFsid(static_cast<uint64_t>(info.f_fsid));
}

} // namespace tavrik
