// Finding the help folder and opening a topic's page in the browser.
#include "platform/HelpViewer.h"

#include <QStandardPaths>

#include <filesystem>

namespace tavrik {

namespace fs = std::filesystem;

std::optional<std::string> FindHelpFolder(const std::string& programFolder) {
    std::error_code error;
    const fs::path current = fs::current_path(error);
    for (const fs::path& base : {current, fs::path(programFolder)}) {
        if (base.empty()) continue;
        for (const fs::path& candidate : {base / HelpFolderName, base / "!Help" / HelpFolderName})
            if (fs::is_directory(candidate, error)) return candidate.string();
    }
    return std::nullopt;
}

std::string HelpTopicPage(const std::string& helpFolder, int32_t context) {
    std::error_code error;
    const fs::path page = fs::path(helpFolder) / (std::to_string(context) + ".html");
    if (fs::is_regular_file(page, error)) return page.string();
    return (fs::path(helpFolder) / "index.html").string();
}

bool BrowserHelpViewer::Available() const {
    return !QStandardPaths::findExecutable("xdg-open").isEmpty() ||
           !QStandardPaths::findExecutable("sensible-browser").isEmpty();
}

void BrowserHelpViewer::ShowTopic(const std::string& helpFolder, int32_t context) {
    Desktop.OpenDocument(HelpTopicPage(helpFolder, context));
}

} // namespace tavrik
