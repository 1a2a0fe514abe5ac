// Save-state walk: chunk layout and filler, the uncompressed copy, chip RAM position, registers,
// colours, the report, raw files, and broken files that must fail cleanly.
#include "memory/SaveState.h"

#include "app/ByteStream.h"
#include "app/Error.h"
#include "app/IntegerText.h"
#include "support/SaveStateBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace tavrik {
namespace {

using test::AgacChunkData;
using test::ChipChunkData;
using test::ChipRegisters;
using test::SaveStateBuilder;

std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(seed + i * 7 + (i >> 9));
    return bytes;
}

std::string TextAt(const std::vector<uint8_t>& bytes, size_t offset, size_t size) {
    return std::string(bytes.begin() + offset, bytes.begin() + offset + size);
}

ParsedDataFile Parse(const std::vector<uint8_t>& bytes, const MemoryState& previous = {}) {
    return ParseDataFile(std::span<const uint8_t>(bytes), previous, "test.uss");
}

TEST(SaveStateWalk, CompressedChipRamBecomesTheUncompressedCopy) {
    const std::vector<uint8_t> ram = test::VariedChipRam(0x80000, 7);
    SaveStateBuilder state;
    const size_t cram = state.Compressed("CRAM", ram);
    state.End();
    const ParsedDataFile parsed = Parse(state.Data());

    ASSERT_EQ(parsed.WalkLines.size(), 2u);
    EXPECT_EQ(parsed.WalkLines[0], "Amiga State File detected: UAE 4.10.1");
    char expected[80];
    std::snprintf(expected, sizeof expected, "ZLib compressed chunk CRAM found at offset $%zX length $80000", cram);
    EXPECT_EQ(parsed.WalkLines[1], expected);

    const MemoryState& memory = parsed.Memory;
    EXPECT_EQ(memory.ChipRamSize, 0x80000u);
    EXPECT_EQ(memory.ChipRamOffset, cram + 12);
    ASSERT_GE(memory.MemoryImage.size(), memory.ChipRamOffset + ram.size());
    EXPECT_TRUE(std::equal(ram.begin(), ram.end(), memory.MemoryImage.begin() + memory.ChipRamOffset));
    // The chunk is rewritten as stored: length U + 12, flags 0, then 4 filler bytes and "END " 8.
    EXPECT_EQ(TextAt(memory.MemoryImage, cram, 4), "CRAM");
    EXPECT_EQ(LongBEAt(memory.MemoryImage, cram + 4), 0x80000u + 12);
    EXPECT_EQ(LongBEAt(memory.MemoryImage, cram + 8), 0u);
    const size_t end = cram + 12 + 0x80000 + 4;
    EXPECT_EQ(LongBEAt(memory.MemoryImage, end - 4), 0u);
    EXPECT_EQ(TextAt(memory.MemoryImage, end, 4), "END ");
    EXPECT_EQ(LongBEAt(memory.MemoryImage, end + 4), 8u);
    EXPECT_EQ(memory.MemoryImage.size(), end + 8);
    EXPECT_EQ(ReportLines(memory)[0], "Total chip memory: $80000 (512kb)");
}

TEST(SaveStateWalk, UncompressedCopyLoadsBackToTheSameState) {
    SaveStateBuilder state;
    state.Stored("ROM ", Pattern(37, 1));
    state.Compressed("CRAM", test::VariedChipRam(0x4000, 3));
    state.Compressed("CHIP", ChipChunkData({.COP1LC = 0x1234, .BPLPT = {0x2000}}));
    state.End();
    const ParsedDataFile first = Parse(state.Data());
    const ParsedDataFile second = Parse(first.Memory.MemoryImage);

    EXPECT_TRUE(first.HadCompressedChunks);
    EXPECT_FALSE(second.HadCompressedChunks);
    EXPECT_EQ(second.Memory.MemoryImage, first.Memory.MemoryImage);
    EXPECT_EQ(second.Memory.ChipRamOffset, first.Memory.ChipRamOffset);
    EXPECT_EQ(ReportLines(second.Memory), ReportLines(first.Memory));
    EXPECT_EQ(second.WalkLines, std::vector<std::string>{"Amiga State File detected: UAE 4.10.1"});
}

// Hand-laid file: the header is 20 long ("ASF ", length, 8 bytes, "UAE1") and padded to 24; the
// "ROM " chunk's length 20 is a multiple of 4, so 4 filler bytes follow it and "CRAM" starts at 48.
std::vector<uint8_t> HandLaidState() {
    ByteWriter w;
    w.WriteText("ASF ");
    w.WriteLongBE(20);
    w.WriteLongBE(0);
    w.WriteLongBE(0);
    w.WriteText("UAE1");
    w.WriteZeros(4);
    w.WriteText("ROM ");
    w.WriteLongBE(20);
    w.WriteLongBE(0);
    w.WriteText("romdata!");
    w.WriteText("FILL");
    w.WriteText("CRAM");
    w.WriteLongBE(12 + 16);
    w.WriteLongBE(0);
    w.WriteText("chip ram 16 byte");
    w.WriteZeros(4);
    w.WriteText("END ");
    w.WriteLongBE(8);
    return w.Take();
}

TEST(SaveStateWalk, FillerOfFourFollowsAChunkWhoseLengthIsAMultipleOfFour) {
    const std::vector<uint8_t> bytes = HandLaidState();
    const ParsedDataFile parsed = Parse(bytes);
    EXPECT_EQ(parsed.Memory.ChipRamOffset, 60u);
    EXPECT_EQ(parsed.Memory.ChipRamSize, 16u);
    EXPECT_EQ(parsed.Memory.MemoryImage, bytes);
    EXPECT_EQ(parsed.WalkLines, std::vector<std::string>{"Amiga State File detected: UAE1"});
}

TEST(SaveStateWalk, StoredChipRamAfterACompressedChunkLiesAtItsPlaceInTheCopy) {
    SaveStateBuilder state("UAE1");            // header padded to 24
    state.Compressed("ROM ", Pattern(101, 5)); // copy: 12 + 101 + 3 filler
    const size_t cram = state.Stored("CRAM", Pattern(64, 9));
    state.End();
    const ParsedDataFile parsed = Parse(state.Data());
    EXPECT_EQ(parsed.Memory.ChipRamOffset, 24u + 116 + 12);
    EXPECT_NE(parsed.Memory.ChipRamOffset, cram + 12);
    EXPECT_EQ(parsed.Memory.ChipRamSize, 64u);
    const std::vector<uint8_t> expected = Pattern(64, 9);
    EXPECT_TRUE(
        std::equal(expected.begin(), expected.end(), parsed.Memory.MemoryImage.begin() + parsed.Memory.ChipRamOffset));
}

TEST(SaveStateWalk, EndLengthIsIgnoredAndTheWalkGoesOnToTheEndOfTheFile) {
    SaveStateBuilder state;
    state.Stored("ROM ", Pattern(20, 1));
    const size_t cram = state.Compressed("CRAM", Pattern(0x1000, 2));
    state.Stored("ROM ", Pattern(24, 3));
    state.End(0x1000);
    const size_t conf = state.Compressed("CONF", Pattern(300, 4));
    state.End(0);
    const ParsedDataFile parsed = Parse(state.Data());

    ASSERT_EQ(parsed.WalkLines.size(), 3u);
    EXPECT_EQ(parsed.WalkLines[2],
              "ZLib compressed chunk CONF found at offset $" + Hex(static_cast<uint32_t>(conf)) + " length $12C");
    const std::vector<uint8_t>& image = parsed.Memory.MemoryImage;
    // Both "ROM " chunks are carried over, the second after CRAM's 12 + $1000 + 4 bytes; both "END "
    // chunks get the length 8.
    const size_t secondRom = cram + 12 + 0x1000 + 4;
    EXPECT_EQ(TextAt(image, 0x1C, 4), "ROM ");
    EXPECT_EQ(TextAt(image, secondRom, 4), "ROM ");
    EXPECT_EQ(TextAt(image, secondRom + 12, 24), TextAt(Pattern(24, 3), 0, 24));
    const size_t endInCopy = secondRom + 40;
    EXPECT_EQ(TextAt(image, endInCopy, 4), "END ");
    EXPECT_EQ(LongBEAt(image, endInCopy + 4), 8u);
    EXPECT_EQ(TextAt(image, image.size() - 8, 4), "END ");
    EXPECT_EQ(LongBEAt(image, image.size() - 4), 8u);
}

TEST(SaveStateWalk, DescriptionZeroBytesCountAsBlanksAndAreTrimmed) {
    const std::string description("UAE\0"
                                  "4.10.1\0\0",
                                  12);
    SaveStateBuilder state(description);
    state.End();
    EXPECT_EQ(Parse(state.Data()).WalkLines.at(0), "Amiga State File detected: UAE 4.10.1");
}

ChipRegisters SampleRegisters() {
    ChipRegisters chip;
    chip.COP1LC = 0x12340;
    chip.COP2LC = 0x5A00;
    chip.DIWSTRT = 0x2C81;
    chip.DIWSTOP = 0x2CC1;
    chip.DDFSTRT = 0x38;
    chip.DDFSTOP = 0xD0;
    chip.BPLPT[2] = 0x3F000;
    chip.BPL1MOD = 0x28;
    chip.BPL2MOD = 0xFFD8;
    chip.COLOR[1] = 0x0F80;
    chip.COLOR[31] = 0xF00F;
    return chip;
}

TEST(SaveStateRegisters, ChipChunkGivesTheSnapshotAndTheReport) {
    SaveStateBuilder state;
    const size_t cram = state.Stored("CRAM", std::vector<uint8_t>(0x100));
    state.Stored("CHIP", ChipChunkData(SampleRegisters()));
    state.End();
    const ParsedDataFile parsed = Parse(state.Data());
    const ChipsetSnapshot& chip = parsed.Memory.Snapshot;

    EXPECT_EQ(chip.COP1LC, 0x12340u);
    EXPECT_EQ(chip.BPLPT[2], 0x3F000u);
    EXPECT_EQ(chip.EcsPalette[1], (PaletteEntry{0, 136, 255, 0}));
    EXPECT_EQ(chip.EcsPalette[31], (PaletteEntry{255, 0, 0, 0}));
    EXPECT_TRUE(chip.HasEcsColours);
    EXPECT_FALSE(chip.HasAgaColours);

    ASSERT_EQ(cram + 12, 0x28u);
    const std::vector<std::string> expected{
        "Total chip memory: $100 (0kb)",
        "Chip memory offset in savestate: $28",
        "Copperlist address in chip memory: $12340",
        "Copperlist offset in savestate: $12368",
        "Copperlist 2 address in chip memory: $5A00",
        "Copperlist 2 offset in savestate: $5A28",
        "Bpl1Mod: $28",
        "Bpl2Mod: $FFD8",
        "DIWStrt: $2C81, DIWStop: $2CC1",
        "DDFStrt: $38, DDFStop: $D0, Width: 304",
        "Bpl3Pt address in chip memory: $3F000",
        "Bpl3Pt offset in savestate: $3F028",
    };
    EXPECT_EQ(ReportLines(parsed.Memory), expected);
}

TEST(SaveStateRegisters, CompressedChipChunkIsReadFromItsInflatedData) {
    SaveStateBuilder state;
    state.Compressed("CHIP", ChipChunkData(SampleRegisters()));
    state.End();
    const ChipsetSnapshot& chip = Parse(state.Data()).Memory.Snapshot;
    EXPECT_EQ(chip.COP1LC, 0x12340u);
    EXPECT_EQ(chip.DDFSTOP, 0xD0u);
    EXPECT_EQ(chip.EcsPalette[1], (PaletteEntry{0, 136, 255, 0}));
}

TEST(SaveStateRegisters, AgaColoursTakeRedGreenBlueFromTheLowThreeBytes) {
    std::array<uint32_t, 256> colours{};
    colours[0] = 0xFF102030;
    colours[255] = 0x00FF8001;
    SaveStateBuilder state;
    state.Compressed("AGAC", AgacChunkData(colours));
    state.End();
    const ChipsetSnapshot& chip = Parse(state.Data()).Memory.Snapshot;
    EXPECT_TRUE(chip.HasAgaColours);
    EXPECT_EQ(chip.AgaPalette[0], (PaletteEntry{0x30, 0x20, 0x10, 0}));
    EXPECT_EQ(chip.AgaPalette[255], (PaletteEntry{0x01, 0x80, 0xFF, 0}));
}

TEST(SaveStateRegisters, AgaFlagCountsBitsThatGiveNoColour) {
    std::array<uint32_t, 256> colours{};
    colours[7] = 0x01000000;
    SaveStateBuilder state;
    state.Stored("AGAC", AgacChunkData(colours));
    state.End();
    const ChipsetSnapshot& chip = Parse(state.Data()).Memory.Snapshot;
    EXPECT_TRUE(chip.HasAgaColours);
    EXPECT_EQ(chip.AgaPalette[7], PaletteEntry{});
}

TEST(SaveStateRegisters, AllZeroAgaColoursLeaveTheEcsColours) {
    SaveStateBuilder state;
    state.Stored("CHIP", ChipChunkData(SampleRegisters()));
    state.Stored("AGAC", AgacChunkData({}));
    state.End();
    const ChipsetSnapshot& chip = Parse(state.Data()).Memory.Snapshot;
    EXPECT_FALSE(chip.HasAgaColours);
    EXPECT_TRUE(chip.HasEcsColours);
}

TEST(SaveStateRegisters, EcsColoursThatAllConvertToBlackSetNoFlag) {
    ChipRegisters chip;
    chip.COP1LC = 0x100;
    chip.COLOR.fill(0xF000); // only the ignored top nibble
    SaveStateBuilder state;
    state.Stored("CHIP", ChipChunkData(chip));
    state.End();
    EXPECT_FALSE(Parse(state.Data()).Memory.Snapshot.HasEcsColours);
}

MemoryState LoadedSaveState() {
    SaveStateBuilder state;
    state.Compressed("CRAM", Pattern(0x2000, 1));
    state.Stored("CHIP", ChipChunkData(SampleRegisters()));
    state.End();
    return Parse(state.Data()).Memory;
}

// What a save state said about its chip RAM does not hold for a raw file read after it.
TEST(RawDataFile, AfterASaveStateIsMemoryAloneAndSaysSo) {
    const MemoryState previous = LoadedSaveState();
    const std::vector<uint8_t> raw = Pattern(5000, 4);
    const ParsedDataFile parsed = Parse(raw, previous);

    EXPECT_FALSE(parsed.IsSaveState);
    EXPECT_EQ(parsed.WalkLines, std::vector<std::string>{"The file was read as raw memory of 5000 bytes."});
    MemoryState expected;
    expected.MemoryImage = raw;
    EXPECT_EQ(parsed.Memory, expected);
}

TEST(RawDataFile, ShortAndEmptyFilesAreRawMemory) {
    for (const std::vector<uint8_t>& raw : {std::vector<uint8_t>{}, std::vector<uint8_t>{'A', 'S', 'F'}}) {
        const ParsedDataFile parsed = Parse(raw);
        EXPECT_FALSE(parsed.IsSaveState);
        EXPECT_EQ(parsed.Memory.MemoryImage, raw);
    }
}

TEST(SaveStateWalk, StateWithoutChipChunkKeepsThePreviousRegisters) {
    const MemoryState previous = LoadedSaveState();
    SaveStateBuilder state;
    state.Stored("CRAM", Pattern(0x40, 3));
    state.End();
    const MemoryState memory = Parse(state.Data(), previous).Memory;
    EXPECT_EQ(memory.Snapshot.COP1LC, previous.Snapshot.COP1LC);
    EXPECT_FALSE(memory.Snapshot.HasEcsColours);
    EXPECT_EQ(memory.ChipRamSize, 0x40u);
}

// Broken files: each must throw an error naming the file and what is wrong, and nothing else.
struct BrokenFile {
    const char* What;
    std::function<std::vector<uint8_t>()> Make;
    const char* MessagePart;
};

std::vector<uint8_t> TruncatedInsideCram() {
    SaveStateBuilder state;
    state.Compressed("CRAM", Pattern(0x1000, 1));
    state.End();
    std::vector<uint8_t> bytes = state.Data();
    bytes.resize(bytes.size() - 30);
    return bytes;
}

std::vector<uint8_t> WithChunkLength(uint32_t length) {
    SaveStateBuilder state;
    const size_t rom = state.Stored("ROM ", Pattern(64, 1));
    state.End();
    std::vector<uint8_t> bytes = state.Data();
    for (int i = 0; i < 4; ++i)
        bytes[rom + 4 + i] = static_cast<uint8_t>(length >> (24 - 8 * i));
    return bytes;
}

std::vector<uint8_t> CorruptStream() {
    std::vector<uint8_t> stream = test::ZlibCompress(Pattern(0x1000, 1));
    for (size_t i = 2; i < stream.size(); i += 3)
        stream[i] ^= 0x5A;
    SaveStateBuilder state;
    state.CompressedStream("CRAM", 0x1000, stream);
    state.End();
    return state.Data();
}

std::vector<uint8_t> ShortStream() {
    SaveStateBuilder state;
    state.CompressedStream("CRAM", 0x1001, test::ZlibCompress(Pattern(0x1000, 1)));
    state.End();
    return state.Data();
}

std::vector<uint8_t> ClaimedSize(uint32_t size, size_t streamBytes) {
    SaveStateBuilder state;
    state.CompressedStream("CRAM", size, std::vector<uint8_t>(streamBytes, 0x78));
    state.End();
    return state.Data();
}

const std::vector<BrokenFile>& BrokenFiles() {
    static const std::vector<BrokenFile> files{
        {"header cut off", [] { return std::vector<uint8_t>{'A', 'S', 'F', ' ', 0, 0}; }, "header"},
        {"header past the end",
         [] {
             SaveStateBuilder state;
             std::vector<uint8_t> bytes = state.Data();
             bytes[7] = 0xF0;
             return bytes;
         },
         "header length $F0"},
        {"header shorter than its fixed bytes",
         [] {
             SaveStateBuilder state;
             std::vector<uint8_t> bytes = state.Data();
             bytes[7] = 4;
             return bytes;
         },
         "header length $4"},
        {"truncated inside a chunk", TruncatedInsideCram, "\"CRAM\" at offset $1C runs past the end"},
        {"chunk header cut off",
         [] {
             SaveStateBuilder state;
             state.Append(std::vector<uint8_t>{'C', 'R', 'A', 'M', 0});
             return state.Data();
         },
         "chunk header at offset $1C"},
        {"length past the end", [] { return WithChunkLength(0x10000); }, "\"ROM \" at offset $1C runs past"},
        {"length $7FFFFFFC", [] { return WithChunkLength(0x7FFFFFFC); }, "impossible length $7FFFFFFC"},
        {"length $FFFFFFFF", [] { return WithChunkLength(0xFFFFFFFF); }, "impossible length $FFFFFFFF"},
        {"length below the chunk header", [] { return WithChunkLength(8); }, "shorter than its 12 header bytes"},
        {"corrupt zlib stream", CorruptStream, "\"CRAM\" at offset $1C holds a corrupt zlib stream"},
        {"stream shorter than U", ShortStream, "inflates to fewer than its $1001 bytes"},
        {"U above the limit", [] { return ClaimedSize(0x4000001, 0x10000); }, "more than the limit"},
        {"U beyond what zlib can give", [] { return ClaimedSize(0x100000, 100); }, "from only $64 compressed"},
        {"compressed chunk without its size",
         [] {
             SaveStateBuilder state;
             state.Stored("ROM ", {}, 1);
             state.End();
             return state.Data();
         },
         "too short to hold its uncompressed size"},
    };
    return files;
}

TEST(BrokenSaveState, FailsWithAMessageNamingTheFileAndTheFault) {
    for (const BrokenFile& file : BrokenFiles()) {
        SCOPED_TRACE(file.What);
        const std::vector<uint8_t> bytes = file.Make();
        try {
            ParseDataFile(std::span<const uint8_t>(bytes), MemoryState{}, "broken.uss");
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind("Cannot load broken.uss: ", 0), 0u) << message;
            EXPECT_NE(message.find(file.MessagePart), std::string::npos) << message;
        }
    }
}

TEST(BrokenSaveState, LastChunkWithoutItsFillerIsNotAnError) {
    SaveStateBuilder state;
    state.Compressed("CRAM", Pattern(0x100, 1));
    state.Stored("ROM ", Pattern(21, 1)); // 3 filler bytes, cut off below
    std::vector<uint8_t> bytes = state.Data();
    bytes.resize(bytes.size() - 3);
    const ParsedDataFile parsed = Parse(bytes);
    EXPECT_EQ(parsed.Memory.MemoryImage.size() % 4, 0u);
    EXPECT_EQ(parsed.Memory.ChipRamSize, 0x100u);
}

} // namespace
} // namespace tavrik
