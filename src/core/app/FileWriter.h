// The one way files are written: beside the target, flushed to the disk, then renamed over it, so that a
// failure or a kill leaves either the old file or the whole new one, and no temporary file behind.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavrik {

// A new file being written beside the file it will replace. The target is touched only by Commit; a
// PendingFile destroyed without Commit leaves nothing behind. A target that is a symbolic link is followed
// (the file it names is replaced); a target that exists but is not a regular file (a folder, a device) is
// refused. Every failure throws tavrik::Error naming the file.
class PendingFile {
public:
    explicit PendingFile(const std::string& path);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    void Write(std::span<const uint8_t> bytes);
    void Write(std::string_view text);
    // Permission bits the file gets (a replaced file keeps its own unless this is called).
    void SetPermissions(unsigned mode);
    // Forces the bytes to the disk and renames the file over the target.
    void Commit();

    // The file that is replaced: the path with its symbolic links followed.
    const std::string& Target() const { return TargetPath; }

private:
    friend class FileSet;
    void Flush();
    void Publish();
    [[noreturn]] void Fail(int error) const;

    std::string Name;         // as the user gave it, for messages
    std::string TargetPath;   // what Publish renames over
    std::string StagingPath;  // the temporary name while it has one
    int Descriptor = -1;
    bool Anonymous = false;   // no name in the folder until Publish
};

// Files written together: either every one replaces its target or none does (a failure puts back the
// files already replaced and removes the new ones).
class FileSet {
public:
    FileSet();
    ~FileSet();
    void Add(const std::string& path, std::span<const uint8_t> bytes);
    void Add(const std::string& path, std::string_view text);
    void Commit();

private:
    std::vector<std::unique_ptr<PendingFile>> Files;
};

} // namespace tavrik
