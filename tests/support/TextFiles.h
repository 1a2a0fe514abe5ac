// Text the tests compare: a file read whole or written whole, and text split into its lines.
#pragma once

#include <string>
#include <vector>

namespace tavrik::test {

// The whole file as text; empty when it cannot be read.
std::string ReadText(const std::string& path);

// Writes text as the whole file, making its folders first.
void WriteText(const std::string& path, const std::string& text);

// The lines of text, without their line ends; a last line without one still counts.
std::vector<std::string> Lines(const std::string& text);

} // namespace tavrik::test
