// Names of the program's own files and the start-up clean-up after a replacement.
#include "update/ProgramFiles.h"

#include <filesystem>

namespace tavrik {

namespace fs = std::filesystem;

namespace {

std::string WithSuffix(const std::string& name, const std::string& suffix) {
    const fs::path path(name);
    return path.stem().string() + suffix + path.extension().string();
}

} // namespace

std::string ProgramFiles::OldExecutable() const { return Folder + WithSuffix(ExecutableName, "_Old"); }

bool ProgramFiles::IsUpdaterFileName(const std::string& name) const {
    const std::string deleteMeStart = fs::path(ExecutableName).stem().string() + "_Delete_Me_";
    return Folder + name == Archive() || Folder + name == OldExecutable() || name.starts_with(deleteMeStart);
}

ProgramFiles RunningProgramFiles() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error) return {"", "tavrik"};
    return {executable.parent_path().string() + "/", executable.filename().string()};
}

void DeleteOldExecutable(const ProgramFiles& files) {
    std::error_code ignored;
    fs::remove(files.OldExecutable(), ignored);
}

} // namespace tavrik
