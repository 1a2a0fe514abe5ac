// Looking up the outside programs of the peer checks on $PATH.
#include "support/OutsidePrograms.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace tavrik::test {

namespace {

bool OnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path == nullptr ? "" : path);
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error) && ::access(candidate.c_str(), X_OK) == 0) return true;
    }
    return false;
}

} // namespace

std::string FirstMissingProgram(std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (!OnPath(name)) return name;
    return "";
}

} // namespace tavrik::test
