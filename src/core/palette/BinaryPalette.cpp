// Reading binary palette files into the working palette.
#include "palette/BinaryPalette.h"

#include "app/ByteStream.h"
#include "app/Error.h"
#include "app/Files.h"
#include "palette/PaletteOperations.h"

#include <fstream>
#include <vector>

namespace tavrik {

std::array<PaletteEntry, 256> ReadBinaryPalette(std::span<const uint8_t> bytes) {
    std::array<PaletteEntry, 256> entries{};
    ByteReader reader(bytes);
    for (PaletteEntry& entry : entries)
        entry = EntryFromColour(AmigaColourToColour(reader.ReadWordBE()));
    return entries;
}

namespace {

constexpr std::streamsize PaletteBytes = 512;

// Only the first 512 bytes matter, and the file chosen may be a whole save state.
std::vector<uint8_t> ReadPaletteWords(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Error("Cannot open palette file " + path);
    std::vector<uint8_t> bytes(PaletteBytes);
    in.read(reinterpret_cast<char*>(bytes.data()), PaletteBytes);
    if (in.bad()) throw Error("Read error in palette file " + path);
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

} // namespace

void LoadPaletteFromBinaryFile(WorkingPalette& palette, const std::string& path) {
    if (PathIsFile(path)) palette.Entries = ReadBinaryPalette(ReadPaletteWords(path));
    ShowWorkingPalette(palette);
}

void LoadWholeBinaryPalette(WorkingPalette& palette, const std::string& path) {
    const std::vector<uint8_t> bytes = ReadPaletteWords(path);
    if (bytes.size() < static_cast<size_t>(PaletteBytes))
        throw Error(path + " is no palette: it holds " + std::to_string(bytes.size()) +
                    " bytes, and a palette file holds 256 Amiga colour words (512 bytes)");
    palette.Entries = ReadBinaryPalette(bytes);
    ShowWorkingPalette(palette);
}

} // namespace tavrik
