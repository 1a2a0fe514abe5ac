// Binary palette files: 256 big-endian $0RGB words; short files read black past their end.
#include "palette/BinaryPalette.h"

#include "app/Files.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <vector>

namespace tavrik {
namespace {

TEST(ReadBinaryPalette, WordsAreBigEndianAmigaColours) {
    const std::vector<uint8_t> bytes{0x0F, 0x80, 0xF1, 0x23, 0x00, 0x0F};
    const auto entries = ReadBinaryPalette(bytes);
    EXPECT_EQ(entries[0], (PaletteEntry{0, 136, 255, 0}));
    EXPECT_EQ(entries[1], (PaletteEntry{51, 34, 17, 0}));
    EXPECT_EQ(entries[2], (PaletteEntry{255, 0, 0, 0}));
}

TEST(ReadBinaryPalette, AShortFileLeavesTheMissingEntriesBlack) {
    // Three bytes: one whole word and half of the next.
    const std::vector<uint8_t> bytes{0x0F, 0xFF, 0x0F};
    const auto entries = ReadBinaryPalette(bytes);
    EXPECT_EQ(entries[0], (PaletteEntry{255, 255, 255, 0}));
    EXPECT_EQ(entries[1], (PaletteEntry{0, 0, 255, 0}));
    for (size_t i = 2; i < 256; ++i)
        EXPECT_EQ(entries[i], PaletteEntry{}) << i;
}

TEST(ReadBinaryPalette, BytesAfterThePaletteAreIgnored) {
    std::vector<uint8_t> bytes(600, 0);
    bytes[510] = 0x01;
    bytes[511] = 0x11;
    bytes[512] = 0x0F;
    const auto entries = ReadBinaryPalette(bytes);
    EXPECT_EQ(entries[255], (PaletteEntry{17, 17, 17, 0}));
}

TEST(LoadPaletteFromBinaryFile, SetsAll256EntriesAndListsThem) {
    test::TempDir folder;
    const std::string path = folder.File("short.pal");
    WriteWholeFile(path, std::vector<uint8_t>{0x00, 0xF0, 0x0F, 0x00});
    WorkingPalette palette;
    palette.Entries.fill(PaletteEntry{9, 9, 9, 0});

    LoadPaletteFromBinaryFile(palette, path);

    EXPECT_EQ(palette.Entries[0], (PaletteEntry{0, 255, 0, 0}));
    EXPECT_EQ(palette.Entries[1], (PaletteEntry{0, 0, 255, 0}));
    EXPECT_EQ(palette.Entries[2], PaletteEntry{});
    ASSERT_EQ(palette.Colours.Count(), 256);
    EXPECT_EQ(palette.Colours.Get(0), 0x00FF00);
    EXPECT_EQ(palette.Colours.Get(1), 0x0000FF);
}

TEST(LoadPaletteFromBinaryFile, AMissingFileOnlyListsTheEntriesAndAnOldOneLoads) {
    test::TempDir folder;
    WorkingPalette palette;
    palette.Entries.fill(PaletteEntry{1, 2, 3, 0});
    LoadPaletteFromBinaryFile(palette, folder.File("missing.pal"));
    EXPECT_EQ(palette.Entries[0], (PaletteEntry{1, 2, 3, 0}));
    ASSERT_EQ(palette.Colours.Count(), 256);
    EXPECT_EQ(palette.Colours.Get(255), static_cast<int32_t>(MakeColour(3, 2, 1)));

    // Archives date their files in 1970; such a file is read like any other.
    const std::string path = folder.File("old.pal");
    WriteWholeFile(path, std::vector<uint8_t>(512, 0x0F));
    const timespec times[2] = {{0, 0}, {0, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    LoadPaletteFromBinaryFile(palette, path);
    EXPECT_EQ(palette.Entries[0], (PaletteEntry{255, 0, 255, 0})); // $0F0F: red and blue full
}

} // namespace
} // namespace tavrik
