// Builders for ILBM, DEGAS and bitmap test files, PPM reading and writing, and running netpbm in a folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tavrik::test {

using Bytes = std::vector<uint8_t>;

// An IFF chunk: ID, big-endian size, data and a pad byte when the size is odd.
Bytes IffChunk(const std::string& id, const Bytes& data);

struct IlbmFile {
    uint16_t Width = 0;
    uint16_t Height = 0;
    uint8_t Planes = 0;
    uint8_t Masking = 0;
    uint8_t Compression = 0;
    // Chunks after the BMHD in file order, already framed by IffChunk.
    std::vector<Bytes> Chunks;
};
Bytes BuildIlbm(const IlbmFile& file);

// Uncompressed BODY data for pixel values (row by row): each line holds the plane rows, then a mask row of
// maskByte when withMask is set.
Bytes PlanarLines(const std::vector<uint8_t>& values, int width, int height, int planes, bool withMask = false,
                  uint8_t maskByte = 0xFF);
// ByteRun1 for one line: repeat packets for runs of three or more, literal packets otherwise.
Bytes ByteRun1(const Bytes& line);
Bytes Cmap(const std::vector<uint32_t>& rgb); // 0xRRGGBB values

// The pixel values that ILBM or ST plane data hold, for comparing readers through indexes.
struct Rgb {
    uint8_t R = 0, G = 0, B = 0;
    bool operator==(const Rgb&) const = default;
};

struct Pnm {
    int Width = 0;
    int Height = 0;
    int MaxValue = 255;
    std::vector<Rgb> Pixels; // row by row, samples as stored (not scaled to 255)
    Rgb At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};
void WritePpm(const std::string& path, const Pnm& picture);
void WritePbm(const std::string& path, int width, int height, const std::vector<bool>& black);
// Reads P1-P6 files of 8-bit samples; a PBM pixel is 1, 1, 1 for black and 0, 0, 0 for white.
Pnm ReadPnm(const std::string& path);

// Runs a shell command line; throws std::runtime_error with the command and its status when it fails,
// so a program failing fails the test (tests check first with TAVRIK_SKIP_WITHOUT_PROGRAMS).
void RunCommand(const std::string& commandLine);
std::string Quoted(const std::string& path);

Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);

} // namespace tavrik::test
