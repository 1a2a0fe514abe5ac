// A temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <string>

namespace tavrik::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return Folder; }
    // Path of a file inside the folder.
    std::string File(const std::string& name) const { return (Folder / name).string(); }

private:
    std::filesystem::path Folder;
};

} // namespace tavrik::test
