// Staging and swapping an update into the program folder, and moving everything back when a step fails.
#include "update/InstallUpdate.h"

#include "app/Error.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

namespace tavrik {

namespace fs = std::filesystem;

namespace {

constexpr fs::perms ProgramMode = fs::perms(0755);
constexpr fs::perms FileMode = fs::perms(0644);
constexpr fs::perms FolderMode = fs::perms(0755);

// The folder as an absolute path without a trailing separator, so that "beside it" means its parent.
fs::path WithoutSeparator(const std::string& folder) {
    if (folder.empty()) return {};
    std::error_code error;
    const fs::path path = fs::absolute(folder, error).lexically_normal();
    return path.has_filename() ? path : path.parent_path();
}

// Whatever already stands in the program folder along an entry's path must be a real folder on the way
// and, at the end, something of the entry's own kind: a link there would carry the update elsewhere.
void CheckDestination(const fs::path& folder, const UpdateArchiveEntry& entry) {
    const fs::path name(entry.Name);
    fs::path at = folder;
    for (auto part = name.begin(); part != name.end(); ++part) {
        at /= *part;
        std::error_code error;
        const fs::file_status status = fs::symlink_status(at, error);
        if (!fs::exists(status)) return;
        const std::string shown = "\"" + at.lexically_relative(folder).string() + "\" in " + folder.string();
        if (fs::is_symlink(status)) throw Error(shown + " is a symbolic link, which the update will not follow");
        const bool wantFolder = std::next(part) != name.end() || entry.IsFolder;
        if (wantFolder && !fs::is_directory(status))
            throw Error(shown + " is not a folder, but the update needs a folder there");
        if (!wantFolder && !fs::is_regular_file(status))
            throw Error(shown + " is not a plain file, but the update brings a file of that name");
    }
}

// A folder beside the program folder (so renames never cross file systems) holding the new files and,
// during the swap, the old ones; removed with them unless a failed swap could not put everything back.
class StagingFolder {
  public:
    explicit StagingFolder(const fs::path& programFolder) {
        std::string pattern =
            (programFolder.parent_path() / ("." + programFolder.filename().string() + "-update-XXXXXX")).string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw Error("no staging folder could be made beside " + programFolder.string());
        Path = pattern;
        fs::create_directory(New(""));
        fs::create_directory(Old(""));
    }
    ~StagingFolder() {
        std::error_code ignored;
        if (!Kept) fs::remove_all(Path, ignored);
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    fs::path New(const std::string& name) const { return Path / "new" / name; }
    fs::path Old(const std::string& name) const { return Path / "old" / name; }
    const fs::path& Where() const { return Path; }
    void Keep() { Kept = true; }

  private:
    fs::path Path;
    bool Kept = false;
};

void Stage(const UpdateArchive& archive, const ProgramFiles& files, const StagingFolder& staging) {
    for (const UpdateArchiveEntry& entry : archive.Entries()) {
        const fs::path target = staging.New(entry.Name);
        if (entry.IsFolder) {
            fs::create_directories(target);
            continue;
        }
        fs::create_directories(target.parent_path());
        const fs::perms mode = entry.Name == files.ExecutableName ? ProgramMode : FileMode;
        archive.Extract(entry, target.string(), static_cast<unsigned>(mode));
    }
}

// The swap as a journal of the changes made, undone in reverse order unless committed.
class Swap {
  public:
    Swap(fs::path folder, StagingFolder& staging, const SwapStepHook& hook)
        : Folder(std::move(folder)), Staging(staging), Hook(hook) {}
    ~Swap() { Undo(); }
    Swap(const Swap&) = delete;
    Swap& operator=(const Swap&) = delete;

    void MakeFolders(const fs::path& name) {
        fs::path relative;
        for (const fs::path& part : name) {
            relative /= part;
            std::error_code error;
            if (fs::exists(fs::symlink_status(Folder / relative, error))) continue;
            Step("create folder " + relative.string());
            fs::create_directory(Folder / relative);
            Done.push_back({Kind::CreatedFolder, relative.string()});
            fs::permissions(Folder / relative, FolderMode);
        }
    }

    void PutFile(const std::string& name) {
        MakeFolders(fs::path(name).parent_path());
        const fs::path target = Folder / name;
        std::error_code error;
        if (fs::exists(fs::symlink_status(target, error))) {
            fs::create_directories(Staging.Old(name).parent_path());
            Step("move aside " + name);
            fs::rename(target, Staging.Old(name));
            Done.push_back({Kind::MovedAside, name});
        }
        Step("move in " + name);
        fs::rename(Staging.New(name), target);
        Done.push_back({Kind::MovedIn, name});
    }

    void Commit() { Done.clear(); }

    // Moves everything back; false when some change could not be undone (the staging folder then stays).
    bool Undo() noexcept {
        bool whole = true;
        for (auto change = Done.rbegin(); change != Done.rend(); ++change) {
            std::error_code error;
            const fs::path at = Folder / change->Name;
            if (change->What == Kind::MovedIn) fs::rename(at, Staging.New(change->Name), error);
            if (change->What == Kind::MovedAside) fs::rename(Staging.Old(change->Name), at, error);
            if (change->What == Kind::CreatedFolder) fs::remove(at, error);
            whole = whole && !error;
        }
        Done.clear();
        if (!whole) Staging.Keep(); // the old files still there are the user's only copy
        return whole;
    }

  private:
    enum class Kind { CreatedFolder, MovedAside, MovedIn };
    struct Change {
        Kind What;
        std::string Name;
    };

    void Step(const std::string& what) {
        if (Hook) Hook(what);
    }

    fs::path Folder;
    StagingFolder& Staging;
    const SwapStepHook& Hook;
    std::vector<Change> Done;
};

// A swap that failed and could not move everything back: the message must not claim the folder is intact.
class SwapNotUndone : public Error {
  public:
    using Error::Error;
};

void FlushFolder(const fs::path& folder) {
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    fsync(descriptor);
    close(descriptor);
}

void StageAndSwap(std::span<const uint8_t> bytes, const ProgramFiles& files, const SwapStepHook& hook,
                  const UpdateArchiveLimits& limits) {
    const fs::path folder = WithoutSeparator(files.Folder);
    const UpdateArchive archive(bytes, files, limits);
    for (const UpdateArchiveEntry& entry : archive.Entries())
        CheckDestination(folder, entry);
    StagingFolder staging(folder);
    Stage(archive, files, staging);
    Swap swap(folder, staging, hook);
    try {
        for (const UpdateArchiveEntry& entry : archive.Entries()) {
            if (entry.IsFolder)
                swap.MakeFolders(entry.Name);
            else
                swap.PutFile(entry.Name);
        }
    } catch (const std::exception& error) {
        if (swap.Undo()) throw;
        throw SwapNotUndone(std::string("Tavrik was not updated: ") + error.what() +
                            ". Not every file could be moved back; the old ones are in " + staging.Where().string());
    }
    FlushFolder(folder);
    swap.Commit();
}

} // namespace

bool ProgramFolderWritable(const std::string& folder) {
    const fs::path path = WithoutSeparator(folder);
    return !path.empty() && access(path.c_str(), W_OK) == 0 && access(path.parent_path().c_str(), W_OK) == 0;
}

std::string PackageManagerMessage(const std::string& folder) {
    return "Tavrik in " + WithoutSeparator(folder).string() +
           " cannot change its own files there (it was installed by the package manager): update it with the "
           "package manager.";
}

void InstallUpdate(std::span<const uint8_t> archive, const ProgramFiles& files, const SwapStepHook& hook,
                   const UpdateArchiveLimits& limits) {
    try {
        StageAndSwap(archive, files, hook, limits);
    } catch (const SwapNotUndone&) {
        throw;
    } catch (const std::exception& error) {
        throw Error(std::string("Tavrik was not updated: ") + error.what() + ". Nothing in " +
                    WithoutSeparator(files.Folder).string() + " was changed.");
    }
}

} // namespace tavrik
