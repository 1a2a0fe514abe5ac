// The working palette operations of the "Palette" menu, the palette buttons and the palette popup.
#include "palette/PaletteOperations.h"

#include "app/Error.h"
#include "palette/BuiltInPalettes.h"

#include <string>
#include <utility>

namespace tavrik {

namespace {

constexpr int32_t EntryCount = 256;

// Operations that pair entry i with entry n + i need both inside the 256 entries.
void CheckHalfCount(int32_t n, const char* operation) {
    if (n < 1 || n > EntryCount / 2)
        throw Error(std::string(operation) + ": colour count " + std::to_string(n) + " must lie in 1 to 128");
}

PaletteEntry HalfBrite(PaletteEntry entry) {
    return PaletteEntry{static_cast<uint8_t>(entry.Blue >> 1), static_cast<uint8_t>(entry.Green >> 1),
                        static_cast<uint8_t>(entry.Red >> 1), entry.Reserved};
}

} // namespace

void SetPaletteEntries(WorkingPalette& palette, std::span<const PaletteEntry> entries) {
    if (entries.size() > palette.Entries.size()) entries = entries.first(palette.Entries.size());
    palette.Colours.Clear();
    for (size_t i = 0; i < entries.size(); ++i) {
        palette.Colours.Add(static_cast<int32_t>(ColourFromEntry(entries[i])));
        palette.Entries[i] = entries[i];
    }
}

void SetPaletteColours(WorkingPalette& palette, std::span<const Colour> colours) {
    if (colours.size() > palette.Entries.size()) colours = colours.first(palette.Entries.size());
    palette.Colours.Clear();
    for (size_t i = 0; i < colours.size(); ++i) {
        palette.Entries[i] = EntryFromColour(colours[i]);
        palette.Colours.Add(static_cast<int32_t>(colours[i]));
    }
}

void ShowWorkingPalette(WorkingPalette& palette) {
    palette.Colours.Clear();
    for (const PaletteEntry& entry : palette.Entries)
        palette.Colours.Add(static_cast<int32_t>(ColourFromEntry(entry)));
}

void SwapColours(WorkingPalette& palette, int32_t n) {
    CheckHalfCount(n, "Swap colours");
    for (int32_t i = 0; i < n; ++i)
        std::swap(palette.Entries[i], palette.Entries[n + i]);
    ShowWorkingPalette(palette);
}

void DuplicateColours(WorkingPalette& palette, int32_t n) {
    CheckHalfCount(n, "Duplicate colours");
    for (int32_t i = 0; i < n; ++i)
        palette.Entries[n + i] = palette.Entries[i];
    ShowWorkingPalette(palette);
}

void ExtraHalfBrite(WorkingPalette& palette) {
    constexpr size_t Half = 32;
    for (size_t i = 0; i < Half; ++i)
        palette.Entries[Half + i] = HalfBrite(palette.Entries[i]);
    ShowWorkingPalette(palette);
}

void DefaultPalette(WorkingPalette& palette) { SetPaletteColours(palette, DefaultPaletteColours()); }

void C64Palette(WorkingPalette& palette) { SetPaletteColours(palette, C64PaletteColours()); }

void BlackAndWhite(WorkingPalette& palette) {
    palette.Colours.Clear();
    palette.Colours.Add(0);
    palette.Entries[0] = PaletteEntry{};
    for (int32_t i = 1; i < EntryCount; ++i) {
        palette.Colours.Add(0xFFFFFF - i * 0x010101);
        const auto level = static_cast<uint8_t>(255 - i);
        palette.Entries[static_cast<size_t>(i)] = PaletteEntry{level, level, level, 0};
    }
}

void SetCellColour(WorkingPalette& palette, int32_t cell, Colour colour) {
    if (cell >= 0 && cell < palette.Colours.Count()) palette.Colours.Put(cell, static_cast<int32_t>(colour));
    if (cell >= 0 && cell < EntryCount) palette.Entries[static_cast<size_t>(cell)] = EntryFromColour(colour);
}

} // namespace tavrik
