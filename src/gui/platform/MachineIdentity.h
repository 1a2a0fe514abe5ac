// The identity of this machine: the root file system's id, standing in for the volume serial number.
#pragma once

#include <cstdint>
#include <string>

namespace tavrik {

// Upper-case hexadecimal without leading zeros ("0" for 0).
std::string MachineIdFromFsid(uint64_t fsid);

// statvfs(path).f_fsid written by MachineIdFromFsid, or "0" when the file system cannot be asked.
std::string ReadMachineId(const std::string& path = "/");

} // namespace tavrik
