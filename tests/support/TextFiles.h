// Text the tests compare: a file read whole or written whole, text split into its lines, and JSON documents.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace tavrik::test {

// The whole file as text; empty when it cannot be read.
std::string ReadText(const std::string& path);

// Writes text as the whole file, making its folders first.
void WriteText(const std::string& path, const std::string& text);

// The lines of text, without their line ends; a last line without one still counts.
std::vector<std::string> Lines(const std::string& text);

// The JSON document in the file; a file that cannot be read or does not parse throws, naming the file.
nlohmann::json ReadJsonFile(const std::string& path);

} // namespace tavrik::test
