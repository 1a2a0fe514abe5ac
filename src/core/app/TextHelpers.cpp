// Text helpers.
#include "app/TextHelpers.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace tavrik {

std::string SplitAt(std::string& source, std::string_view delimiter) {
    const size_t at = source.find(delimiter);
    if (at == std::string::npos) {
        std::string head = std::move(source);
        source.clear();
        return head;
    }
    std::string head = source.substr(0, at);
    source.erase(0, at + delimiter.size());
    return head;
}

std::string LowerExtension(std::string_view fileName) {
    std::string extension = std::filesystem::path(fileName).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

std::string ReplaceExtension(std::string_view fileName, std::string_view extension) {
    std::filesystem::path path(fileName);
    path.replace_extension(extension);
    return path.string();
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++start;
    }
    return lines;
}

} // namespace tavrik
