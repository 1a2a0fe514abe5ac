// The JSON tavrik-cli prints for --json: one document a line, its keys in the order the command gives them.
#pragma once

#include <nlohmann/json.hpp>

namespace tavrik::cli {

using JsonObject = nlohmann::ordered_json;

// Prints value on one line to standard output. Text that is not UTF-8 (a file name from an older system)
// is printed with U+FFFD in its place rather than failing the command after its work is done.
void PrintJson(const JsonObject& value);

} // namespace tavrik::cli
