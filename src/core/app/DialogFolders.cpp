// Remembering the last folder of each kind of file for the file dialogs.
#include "app/DialogFolders.h"

#include <filesystem>

namespace tavrik {

namespace fs = std::filesystem;

std::string DialogFolders::StartFolder(const FileDialogRequest& request) const {
    if (fs::path(request.InitialName).has_parent_path()) return {};
    const auto found = Folders.find(request.Filter);
    return found == Folders.end() ? std::string() : found->second;
}

void DialogFolders::Remember(const FileDialogRequest& request, const std::string& chosen) {
    const fs::path folder = fs::path(chosen).parent_path();
    if (!folder.empty()) Folders[request.Filter] = folder.string();
}

} // namespace tavrik
