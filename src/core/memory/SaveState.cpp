// The WinUAE save-state walk: header, chunks with their filler, zlib inflation into the uncompressed
// copy, chip RAM position, the "CHIP" registers and the "AGAC" colours; and the chipset report.
#include "memory/SaveState.h"

#include "app/ByteStream.h"
#include "app/Checked.h"
#include "app/Error.h"
#include "app/IntegerText.h"

#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace tavrik {

namespace {

constexpr std::string_view SaveStateMagic = "ASF ";
constexpr size_t HeaderFixedBytes = 16;
constexpr size_t ChunkHeaderBytes = 12;
constexpr size_t EndChunkBytes = 8;
// A length this large cannot be rounded up to the next chunk in 32 bits.
constexpr uint32_t FirstBadChunkLength = 0x7FFFFFFC;

// Chunk lengths are rounded up past the next multiple of 4, so 1 to 4 filler bytes follow.
constexpr uint64_t PaddedLength(uint64_t length) { return (length + 4) & ~uint64_t{3}; }

bool StartsWithMagic(std::span<const uint8_t> bytes) {
    return bytes.size() >= SaveStateMagic.size() &&
           std::memcmp(bytes.data(), SaveStateMagic.data(), SaveStateMagic.size()) == 0;
}

// An offset or size for a message; files past 4 GB are readable as raw memory, so offsets may be that large.
std::string OffsetText(uint64_t value) {
    if (value <= UINT32_MAX) return DollarHex(static_cast<uint32_t>(value));
    return DollarHex(static_cast<uint32_t>(value >> 32)) + Hex(static_cast<uint32_t>(value), 8);
}

// A chunk name fit for a message: control and high characters shown as "?".
std::string PrintableName(const std::string& name) {
    std::string shown = name;
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) c = '?';
    return "\"" + shown + "\"";
}

// Every field but the image of the state before the load, with the saved colour flags cleared.
MemoryState StartingState(const MemoryState& previous) {
    MemoryState state;
    state.ChipRamOffset = previous.ChipRamOffset;
    state.ChipRamSize = previous.ChipRamSize;
    state.Snapshot = previous.Snapshot;
    state.Snapshot.HasEcsColours = false;
    state.Snapshot.HasAgaColours = false;
    return state;
}

// Raw memory has no chip RAM position, registers or colours of its own: what an earlier save state
// said about its memory does not hold for this file.
ParsedDataFile RawMemory(std::vector<uint8_t>&& bytes) {
    ParsedDataFile raw;
    raw.WalkLines = {"The file was read as raw memory of " + std::to_string(bytes.size()) + " bytes."};
    raw.Memory.MemoryImage = std::move(bytes);
    return raw;
}

enum class InflateOutcome { Complete, Corrupt, TooShort };

// Inflates the first size bytes of a zlib stream into out in one call.
InflateOutcome InflateExactly(std::span<const uint8_t> stream, uint8_t* out, uint32_t size, std::string& detail) {
    if (size == 0) return InflateOutcome::Complete;
    z_stream z{};
    if (inflateInit(&z) != Z_OK) throw Error("zlib could not be started");
    z.next_in = stream.data();
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = out;
    z.avail_out = size;
    const int result = inflate(&z, Z_FINISH);
    detail = z.msg != nullptr ? z.msg : "";
    const uInt missing = z.avail_out;
    inflateEnd(&z);
    if (result == Z_DATA_ERROR || result == Z_NEED_DICT || result == Z_STREAM_ERROR || result == Z_MEM_ERROR)
        return InflateOutcome::Corrupt;
    return missing == 0 ? InflateOutcome::Complete : InflateOutcome::TooShort;
}

void ReadChipRegisters(std::span<const uint8_t> chunk, ChipsetSnapshot& snapshot) {
    snapshot.COP1LC = LongBEAt(chunk, 144);
    snapshot.COP2LC = LongBEAt(chunk, 148);
    snapshot.DIWSTRT = WordBEAt(chunk, 158);
    snapshot.DIWSTOP = WordBEAt(chunk, 160);
    snapshot.DDFSTRT = WordBEAt(chunk, 162);
    snapshot.DDFSTOP = WordBEAt(chunk, 164);
    for (size_t n = 0; n < snapshot.BPLPT.size(); ++n)
        snapshot.BPLPT[n] = LongBEAt(chunk, 176 + 4 * n);
    snapshot.BPL1MOD = WordBEAt(chunk, 216);
    snapshot.BPL2MOD = WordBEAt(chunk, 218);
    snapshot.ChipsetMask = LongBEAt(chunk, 12);
    snapshot.VPOSR = WordBEAt(chunk, 20);
    snapshot.BPLCON0 = WordBEAt(chunk, 208);
    snapshot.BPLCON2 = WordBEAt(chunk, 212);
    snapshot.BPLCON3 = WordBEAt(chunk, 214);
    snapshot.BPLCON4 = WordBEAt(chunk, 220);
    snapshot.FMODE = WordBEAt(chunk, 364);
    for (size_t n = 0; n < snapshot.EcsPalette.size(); ++n) {
        const Colour colour = AmigaColourToColour(WordBEAt(chunk, 240 + 2 * n));
        snapshot.EcsPalette[n] = EntryFromColour(colour);
        if (colour != 0) snapshot.HasEcsColours = true;
    }
}

void ReadAgaColours(std::span<const uint8_t> chunk, ChipsetSnapshot& snapshot) {
    for (size_t n = 0; n < snapshot.AgaPalette.size(); ++n) {
        const uint32_t value = LongBEAt(chunk, ChunkHeaderBytes + 4 * n);
        snapshot.AgaPalette[n] = PaletteEntry{static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                                              static_cast<uint8_t>(value >> 16), 0};
        if (value != 0) snapshot.HasAgaColours = true;
    }
}

// One walk over the chunks of a save state. Everything goes into new objects; the caller's
// state is only read.
class SaveStateWalk {
  public:
    SaveStateWalk(std::span<const uint8_t> file, const MemoryState& previous, const std::string& fileName)
        : File(file), FileName(fileName) {
        Result.Memory = StartingState(previous);
        Result.IsSaveState = true;
    }

    void Run() {
        uint64_t next = ReadHeader();
        while (next < File.size())
            next = WalkChunk(next);
    }

    ParsedDataFile& Parsed() { return Result; }
    std::vector<uint8_t> TakeCopy() { return Copy.Take(); }

  private:
    std::span<const uint8_t> File;
    const std::string& FileName;
    ParsedDataFile Result;
    ByteWriter Copy;

    [[noreturn]] void Fail(const std::string& what) const { throw Error("Cannot load " + FileName + ": " + what); }

    // File bytes start to end - 1 into the copy; filler missing at the end of the file reads as 0.
    void CopyFileBytes(uint64_t start, uint64_t end) {
        const uint64_t present = std::min<uint64_t>(end, File.size());
        if (start < present) Copy.WriteBytes(File.subspan(start, present - start));
        Copy.WriteZeros(end - std::max(start, present));
    }

    uint64_t ReadHeader() {
        if (File.size() < 8) Fail("the save-state header is cut off by the end of the file");
        const uint32_t headerLength = LongBEAt(File, 4);
        if (headerLength < HeaderFixedBytes)
            Fail("the save-state header length " + DollarHex(headerLength) + " is less than its 16 fixed bytes");
        if (headerLength > File.size())
            Fail("the save-state header length " + DollarHex(headerLength) + " runs past the end of the file (size " +
                 OffsetText(File.size()) + ")");
        std::string description(File.begin() + HeaderFixedBytes, File.begin() + headerLength);
        std::replace(description.begin(), description.end(), '\0', ' ');
        Result.WalkLines.push_back("Amiga State File detected: " + Trim(description));
        const uint64_t next = PaddedLength(headerLength);
        CopyFileBytes(0, next);
        return next;
    }

    uint64_t WalkChunk(uint64_t start) {
        if (start + EndChunkBytes > File.size())
            Fail("the chunk header at offset " + OffsetText(start) + " is cut off by the end of the file");
        ByteReader reader(File, start);
        const std::string name = reader.ReadFixedText(4);
        const uint32_t length = reader.ReadLongBE();
        if (name == "END ") {
            Copy.WriteText(name);
            Copy.WriteLongBE(EndChunkBytes);
            return start + EndChunkBytes;
        }
        CheckChunkLength(name, start, length);
        const uint32_t flags = reader.ReadLongBE();
        if (flags == 1)
            InflateChunk(name, start, length);
        else
            CopyStoredChunk(name, start, length);
        return start + PaddedLength(length);
    }

    std::string ChunkAt(const std::string& name, uint64_t start) const {
        return "chunk " + PrintableName(name) + " at offset " + OffsetText(start);
    }

    void CheckChunkLength(const std::string& name, uint64_t start, uint32_t length) const {
        if (length >= FirstBadChunkLength)
            Fail(ChunkAt(name, start) + " has an impossible length " + DollarHex(length));
        if (length < ChunkHeaderBytes)
            Fail(ChunkAt(name, start) + " has a length " + DollarHex(length) + " shorter than its 12 header bytes");
        if (start + length > File.size())
            Fail(ChunkAt(name, start) + " runs past the end of the file (length " + DollarHex(length) + ", file size " +
                 OffsetText(File.size()) + ")");
    }

    void CopyStoredChunk(const std::string& name, uint64_t start, uint32_t length) {
        const uint64_t copyStart = Copy.Size();
        CopyFileBytes(start, start + PaddedLength(length));
        if (name == "CRAM") {
            SetChipRamOffset(name, start, copyStart + ChunkHeaderBytes);
            Result.Memory.ChipRamSize = length - ChunkHeaderBytes;
        }
        ReadRegisters(name, File.subspan(start, length));
    }

    void InflateChunk(const std::string& name, uint64_t start, uint32_t length) {
        if (length < ChunkHeaderBytes + 4)
            Fail(ChunkAt(name, start) + " is compressed but too short to hold its uncompressed size");
        const uint32_t size = LongBEAt(File, start + ChunkHeaderBytes);
        const std::span<const uint8_t> stream = File.subspan(start + ChunkHeaderBytes + 4, length - 16);
        CheckInflatedSize(name, start, size, stream.size());
        Result.HadCompressedChunks = true;

        Copy.WriteText(name);
        Copy.WriteLongBE(size + ChunkHeaderBytes);
        Copy.WriteLongBE(0);
        const size_t chunkInCopy = Copy.Size() - ChunkHeaderBytes;
        if (name == "CRAM") {
            SetChipRamOffset(name, start, Copy.Size());
            Result.Memory.ChipRamSize = size;
        }
        std::vector<uint8_t>& copy = Copy.Data();
        copy.resize(copy.size() + size);
        std::string detail;
        switch (InflateExactly(stream, copy.data() + copy.size() - size, size, detail)) {
        case InflateOutcome::Complete: break;
        case InflateOutcome::Corrupt:
            Fail(ChunkAt(name, start) + " holds a corrupt zlib stream" + (detail.empty() ? "" : " (" + detail + ")"));
        case InflateOutcome::TooShort:
            Fail(ChunkAt(name, start) + " inflates to fewer than its " + DollarHex(size) + " bytes");
        }
        Result.WalkLines.push_back("ZLib compressed chunk " + name + " found at offset " + OffsetText(start) +
                                   " length " + DollarHex(size));
        ReadRegisters(name, std::span<const uint8_t>(Copy.Data()).subspan(chunkInCopy, size + ChunkHeaderBytes));
        Copy.WriteZeros(4 - (size & 3));
    }

    void CheckInflatedSize(const std::string& name, uint64_t start, uint32_t size, uint64_t streamSize) const {
        if (size > MaxInflatedChunkSize)
            Fail(ChunkAt(name, start) + " claims " + DollarHex(size) + " uncompressed bytes, more than the limit of " +
                 DollarHex(MaxInflatedChunkSize));
        if (size > streamSize * MaxCompressionRatio)
            Fail(ChunkAt(name, start) + " claims " + DollarHex(size) + " uncompressed bytes from only " +
                 OffsetText(streamSize) + " compressed bytes");
        if (Copy.Size() + size + 2 * ChunkHeaderBytes > MaxUncompressedStateSize)
            Fail(ChunkAt(name, start) + " makes the uncompressed state larger than the limit of " +
                 OffsetText(MaxUncompressedStateSize) + " bytes");
    }

    // Chip RAM addresses are 32-bit offsets into the memory image.
    void SetChipRamOffset(const std::string& name, uint64_t start, uint64_t offset) {
        if (offset > UINT32_MAX) Fail(ChunkAt(name, start) + " lies beyond the first 4 GB of the memory image");
        Result.Memory.ChipRamOffset = static_cast<uint32_t>(offset);
    }

    // chunk: the chunk as it lies uncompressed, 12 header bytes first; reads past its end give 0.
    void ReadRegisters(const std::string& name, std::span<const uint8_t> chunk) {
        if (name == "CHIP") ReadChipRegisters(chunk, Result.Memory.Snapshot);
        if (name == "AGAC") ReadAgaColours(chunk, Result.Memory.Snapshot);
    }
};

// Walks a save state; the image is left for the caller, who has the file's bytes in hand.
ParsedDataFile WalkSaveState(std::span<const uint8_t> bytes, const MemoryState& previous, const std::string& fileName,
                             std::vector<uint8_t>& copy) {
    SaveStateWalk walk(bytes, previous, fileName);
    walk.Run();
    copy = walk.TakeCopy();
    return std::move(walk.Parsed());
}

} // namespace

ParsedDataFile ParseDataFile(std::span<const uint8_t> bytes, const MemoryState& previous, const std::string& fileName) {
    if (!StartsWithMagic(bytes)) return RawMemory(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    std::vector<uint8_t> copy;
    ParsedDataFile parsed = WalkSaveState(bytes, previous, fileName, copy);
    if (parsed.HadCompressedChunks)
        parsed.Memory.MemoryImage = std::move(copy);
    else
        parsed.Memory.MemoryImage.assign(bytes.begin(), bytes.end());
    return parsed;
}

ParsedDataFile ParseDataFile(std::vector<uint8_t>&& bytes, const MemoryState& previous, const std::string& fileName) {
    if (!StartsWithMagic(bytes)) return RawMemory(std::move(bytes));
    std::vector<uint8_t> copy;
    ParsedDataFile parsed = WalkSaveState(bytes, previous, fileName, copy);
    parsed.Memory.MemoryImage = parsed.HadCompressedChunks ? std::move(copy) : std::move(bytes);
    return parsed;
}

std::vector<std::string> ReportLines(const MemoryState& memory) {
    // Sums of a register and the offset are shown modulo 2^32, as the 32-bit registers add up, so
    // a nonsense register in a damaged file still gives a report.
    const ChipsetSnapshot& chip = memory.Snapshot;
    const uint32_t offset = memory.ChipRamOffset;
    std::vector<std::string> lines{
        "Total chip memory: " + DollarHex(memory.ChipRamSize) + " (" + std::to_string(memory.ChipRamSize / 1024) +
            "kb)",
        "Chip memory offset in savestate: " + DollarHex(offset),
        "Copperlist address in chip memory: " + DollarHex(chip.COP1LC),
        "Copperlist offset in savestate: " + DollarHex(chip.COP1LC + offset),
        "Copperlist 2 address in chip memory: " + DollarHex(chip.COP2LC),
        "Copperlist 2 offset in savestate: " + DollarHex(chip.COP2LC + offset),
        "Bpl1Mod: " + DollarHex(chip.BPL1MOD),
        "Bpl2Mod: " + DollarHex(chip.BPL2MOD),
        "DIWStrt: " + DollarHex(chip.DIWSTRT) + ", DIWStop: " + DollarHex(chip.DIWSTOP),
        "DDFStrt: " + DollarHex(chip.DDFSTRT) + ", DDFStop: " + DollarHex(chip.DDFSTOP) +
            ", Width: " + std::to_string(((chip.DDFSTOP & 0xFE) - (chip.DDFSTRT & 0xFE)) * 2),
    };
    for (size_t n = 0; n < chip.BPLPT.size(); ++n) {
        if (chip.BPLPT[n] == 0) continue;
        const std::string plane = "Bpl" + std::to_string(n + 1) + "Pt";
        lines.push_back(plane + " address in chip memory: " + DollarHex(chip.BPLPT[n]));
        lines.push_back(plane + " offset in savestate: " + DollarHex(chip.BPLPT[n] + offset));
    }
    return lines;
}

} // namespace tavrik
