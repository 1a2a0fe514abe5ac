// Small text helpers: splitting at a delimiter or into lines, file name extensions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrik {

// Returns the text before the first delimiter and leaves the text after it in source;
// without the delimiter the whole source is returned and source becomes empty.
std::string SplitAt(std::string& source, std::string_view delimiter);

// The lines of a text (a memo's, a file's): breaks are CR, LF or CR LF, and a break at the very end starts no
// further line, so an empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text);

// The extension with its dot, in lower case ("" when the file name has none).
std::string LowerExtension(std::string_view fileName);

// The file name with its extension replaced (or added).
std::string ReplaceExtension(std::string_view fileName, std::string_view extension);

} // namespace tavrik
