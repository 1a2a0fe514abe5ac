// PNG reading (any colour type and bit depth, into 24-bit) and writing (palette or RGB) through libpng, and
// the save dialogs that write pictures as PNG.
#pragma once

#include "app/Dialogs.h"
#include "imageio/Image.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tavrik {

// Decodes a PNG file's bytes into a 24-bit image: palettes are looked up, grey is spread to RGB, 16-bit
// channels are scaled to 8 bits, alpha is dropped and interlaced files are de-interlaced.
// A bad signature, a bad checksum, truncated or otherwise damaged data throw tavrik::Error.
Image ReadPng(std::span<const uint8_t> bytes);

// Encodes non-interlaced at zlib level 9. An Indexed8 image becomes a palette PNG (colour type 3, bit
// depth 8) carrying its whole 256-entry colour table and its indexes unchanged; an Rgb24 image becomes an
// 8-bit RGB PNG (colour type 2). An empty image throws tavrik::Error (PNG has no empty pictures).
std::vector<uint8_t> EncodePng(const Image& image);

// Writes the image as a PNG file, replacing any file of that name; failures throw tavrik::Error naming it.
void SaveImagePng(const Image& image, const std::string& path);

// "Save Gfx" and "Save Map": asks for a name with the request's title and filter; the chosen name's
// extension becomes ".png" whatever was chosen; an existing file is replaced only after the user confirms
// (when confirmOverwriting is on). Returns the file written, or nothing when the user stopped.
std::optional<std::string> SavePngAs(const Image& image, Dialogs& dialogs, const FileDialogRequest& request,
                                     bool confirmOverwriting);

} // namespace tavrik
