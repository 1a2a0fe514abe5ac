// The demo data shipped in examples/: its files, its manifest (where everything lies and what it holds)
// and its index pictures, for the tests that check the demo against the program.
#pragma once

#include "app/Colour.h"
#include "imageio/Image.h"

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace tavrik::test {

// Path of a file in the examples folder.
std::string ExampleFile(const std::string& name);

// examples/demo-manifest.json, read once.
const nlohmann::json& DemoManifest();

// A manifest list of "$RRGGBB" texts as colours.
std::vector<Colour> ManifestColours(const nlohmann::json& texts);

// tavrik-cli map drawing the demo level as the README does: its ACBM tiles ripped with the copper palette,
// the 64 x 32 byte map at its address, the picture written to out; options follow (a later option wins).
std::vector<std::string> DemoLevelMapArguments(const std::string& out, const std::vector<std::string>& options = {});

// A binary PGM of the examples folder as an indexed image: each grey level is a colour index.
Image ReadIndexPicture(const std::string& name);

} // namespace tavrik::test
