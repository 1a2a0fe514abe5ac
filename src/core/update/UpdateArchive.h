// The downloaded update archive (libzip), opened from memory with every entry checked before anything
// is unpacked: only files and folders whose names stay inside the program folder, within size limits.
#pragma once

#include "update/ProgramFiles.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

typedef struct zip zip_t;

namespace tavrik {

struct UpdateArchiveLimits {
    uint64_t EntryBytes = uint64_t{256} << 20;
    uint64_t TotalBytes = uint64_t{1} << 30;
    size_t Entries = 10000;
};

struct UpdateArchiveEntry {
    std::string Name; // relative, "/"-separated, without a trailing "/"
    bool IsFolder = false;
    uint64_t Size = 0;
    uint64_t Index = 0;
};

class UpdateArchive {
  public:
    // Throws tavrik::Error naming the first entry refused, or saying the bytes are no whole zip archive.
    // The archive must hold the program itself as a file.
    UpdateArchive(std::span<const uint8_t> bytes, const ProgramFiles& files, const UpdateArchiveLimits& limits = {});
    ~UpdateArchive();
    UpdateArchive(const UpdateArchive&) = delete;
    UpdateArchive& operator=(const UpdateArchive&) = delete;

    const std::vector<UpdateArchiveEntry>& Entries() const { return Checked; }

    // Writes a file entry to path with the given permission bits and flushes it to disk; throws
    // tavrik::Error when the entry is damaged or holds more than it announced.
    void Extract(const UpdateArchiveEntry& entry, const std::string& path, unsigned mode) const;

  private:
    struct ZipCloser {
        void operator()(zip_t* archive) const;
    };
    std::unique_ptr<zip_t, ZipCloser> Zip;
    std::vector<UpdateArchiveEntry> Checked;
};

} // namespace tavrik
