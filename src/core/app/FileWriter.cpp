// Replacing files in one step. The new bytes go to an unnamed file in the target's folder (O_TMPFILE), so a
// killed program leaves nothing to clean up; it gets a name only for the instant before the rename.
#include "app/FileWriter.h"

#include "app/Error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrik {

namespace fs = std::filesystem;

namespace {

constexpr int MaxLinkHops = 40; // as the kernel allows when it resolves a path

std::string FolderOf(const std::string& path) {
    const std::string folder = fs::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// The file a write to path replaces: symbolic links followed, even ones naming a file not yet there.
std::string FollowLinks(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        std::error_code error;
        const fs::path link = fs::read_symlink(current, error);
        if (error) return current;
        current = link.is_absolute() ? link.string() : (fs::path(FolderOf(current)) / link).string();
    }
    throw Error("Cannot write " + path + ": too many symbolic links");
}

// A name beside target that nothing has yet; the caller creates it with a call that fails on EEXIST.
std::string FreshSibling(const std::string& target) {
    static std::mt19937_64 random{std::random_device{}()};
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%012llx", static_cast<unsigned long long>(random() & 0xffffffffffffULL));
    return (fs::path(FolderOf(target)) / ("." + fs::path(target).filename().string() + suffix)).string();
}

// Calls make(name) with fresh names until one is free; returns the name, or "" with errno set.
template <typename Make> std::string MakeSibling(const std::string& target, Make make) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = FreshSibling(target);
        if (make(name)) return name;
        if (errno != EEXIST) return {};
    }
    return {};
}

bool AnonymousFilesLinkable() { return ::access("/proc/self/fd", X_OK) == 0; }

} // namespace

PendingFile::PendingFile(const std::string& path) : Name(path), TargetPath(FollowLinks(path)) {
    struct stat existing {};
    const bool replacing = ::stat(TargetPath.c_str(), &existing) == 0;
    if (replacing && !S_ISREG(existing.st_mode))
        throw Error("Cannot write " + Name + ": it is not a regular file");
    if (AnonymousFilesLinkable()) {
        Descriptor = ::open(FolderOf(TargetPath).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        Anonymous = Descriptor >= 0;
    }
    if (Descriptor < 0) { // a file system without unnamed files
        StagingPath = MakeSibling(TargetPath, [this](const std::string& name) {
            Descriptor = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
            return Descriptor >= 0;
        });
        if (Descriptor < 0) Fail(errno);
    }
    // A replaced file keeps its permissions.
    if (replacing) ::fchmod(Descriptor, existing.st_mode & 07777);
}

PendingFile::~PendingFile() {
    if (Descriptor >= 0) ::close(Descriptor);
    if (!StagingPath.empty()) ::unlink(StagingPath.c_str());
}

void PendingFile::Fail(int error) const { throw Error("Cannot write " + Name + ": " + std::strerror(error)); }

void PendingFile::Write(std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(Descriptor, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) Fail(written < 0 ? errno : ENOSPC);
        done += static_cast<size_t>(written);
    }
}

void PendingFile::Write(std::string_view text) {
    Write(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

void PendingFile::SetPermissions(unsigned mode) {
    if (::fchmod(Descriptor, static_cast<mode_t>(mode & 07777)) != 0) Fail(errno);
}

void PendingFile::Flush() {
    if (::fsync(Descriptor) != 0) Fail(errno);
}

void PendingFile::Publish() {
    if (Anonymous) {
        const std::string handle = "/proc/self/fd/" + std::to_string(Descriptor);
        StagingPath = MakeSibling(TargetPath, [&handle](const std::string& name) {
            return ::linkat(AT_FDCWD, handle.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
        });
        if (StagingPath.empty()) Fail(errno);
    }
    if (std::rename(StagingPath.c_str(), TargetPath.c_str()) != 0) Fail(errno);
    StagingPath.clear();
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(FolderOf(TargetPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

void PendingFile::Commit() {
    Flush();
    Publish();
}

FileSet::FileSet() = default;
FileSet::~FileSet() = default;

void FileSet::Add(const std::string& path, std::span<const uint8_t> bytes) {
    Files.push_back(std::make_unique<PendingFile>(path));
    Files.back()->Write(bytes);
}

void FileSet::Add(const std::string& path, std::string_view text) {
    Add(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

namespace {

// A file already replaced by a set that may still fail: its old version kept under a second name.
struct Replacement {
    std::string Target;
    std::string OldCopy; // "" when the target is new
};

void Undo(const std::vector<Replacement>& done) {
    for (auto it = done.rbegin(); it != done.rend(); ++it) {
        if (it->OldCopy.empty())
            ::unlink(it->Target.c_str());
        else
            std::rename(it->OldCopy.c_str(), it->Target.c_str());
    }
}

std::string KeepOldCopy(const std::string& target) {
    if (::access(target.c_str(), F_OK) != 0) return {};
    return MakeSibling(target, [&target](const std::string& name) { return ::link(target.c_str(), name.c_str()) == 0; });
}

} // namespace

void FileSet::Commit() {
    for (const auto& file : Files)
        file->Flush();
    std::vector<Replacement> done;
    for (const auto& file : Files) {
        Replacement replacement{file->Target(), Files.size() > 1 ? KeepOldCopy(file->Target()) : ""};
        try {
            file->Publish();
        } catch (...) {
            if (!replacement.OldCopy.empty()) ::unlink(replacement.OldCopy.c_str());
            Undo(done);
            throw;
        }
        done.push_back(replacement);
    }
    for (const Replacement& replacement : done)
        if (!replacement.OldCopy.empty()) ::unlink(replacement.OldCopy.c_str());
}

} // namespace tavrik
