// Test file builders and the netpbm runner.
#include "support/PictureTestFiles.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace tavrik::test {

namespace {

void PutLong(Bytes& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutWord(Bytes& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

// Reads the next header number of a PNM file, passing over blanks and comments.
int NextNumber(std::istream& in) {
    int c = in.get();
    while (c != EOF && (std::isspace(c) || c == '#')) {
        if (c == '#')
            while (c != EOF && c != '\n')
                c = in.get();
        c = in.get();
    }
    int value = 0;
    while (c != EOF && std::isdigit(c)) {
        value = value * 10 + (c - '0');
        c = in.get();
    }
    return value;
}

} // namespace

Bytes IffChunk(const std::string& id, const Bytes& data) {
    Bytes out(id.begin(), id.end());
    PutLong(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() % 2 != 0) out.push_back(0);
    return out;
}

Bytes BuildIlbm(const IlbmFile& file) {
    Bytes header;
    PutWord(header, file.Width);
    PutWord(header, file.Height);
    PutLong(header, 0);
    header.insert(header.end(), {file.Planes, file.Masking, file.Compression, 0});
    PutWord(header, 0);
    header.insert(header.end(), {10, 11});
    PutWord(header, file.Width);
    PutWord(header, file.Height);
    Bytes form = {'I', 'L', 'B', 'M'};
    const Bytes bmhd = IffChunk("BMHD", header);
    form.insert(form.end(), bmhd.begin(), bmhd.end());
    for (const Bytes& chunk : file.Chunks)
        form.insert(form.end(), chunk.begin(), chunk.end());
    Bytes out = {'F', 'O', 'R', 'M'};
    PutLong(out, static_cast<uint32_t>(form.size()));
    out.insert(out.end(), form.begin(), form.end());
    return out;
}

Bytes PlanarLines(const std::vector<uint8_t>& values, int width, int height, int planes, bool withMask,
                  uint8_t maskByte) {
    const int rowBytes = (width + 15) / 16 * 2;
    Bytes out;
    for (int y = 0; y < height; ++y) {
        for (int plane = 0; plane < planes; ++plane)
            for (int byte = 0; byte < rowBytes; ++byte) {
                uint8_t bits = 0;
                for (int bit = 0; bit < 8; ++bit) {
                    const int x = byte * 8 + bit;
                    if (x < width && (values[static_cast<size_t>(y) * width + x] >> plane & 1))
                        bits |= static_cast<uint8_t>(0x80 >> bit);
                }
                out.push_back(bits);
            }
        if (withMask) out.insert(out.end(), static_cast<size_t>(rowBytes), maskByte);
    }
    return out;
}

Bytes ByteRun1(const Bytes& line) {
    Bytes out;
    size_t i = 0;
    while (i < line.size()) {
        size_t run = 1;
        while (i + run < line.size() && run < 128 && line[i + run] == line[i])
            ++run;
        if (run >= 3) {
            out.push_back(static_cast<uint8_t>(257 - run));
            out.push_back(line[i]);
            i += run;
            continue;
        }
        size_t literal = 0;
        while (i + literal < line.size() && literal < 128) {
            const size_t at = i + literal;
            if (at + 2 < line.size() && line[at] == line[at + 1] && line[at] == line[at + 2]) break;
            ++literal;
        }
        out.push_back(static_cast<uint8_t>(literal - 1));
        out.insert(out.end(), line.begin() + static_cast<std::ptrdiff_t>(i),
                   line.begin() + static_cast<std::ptrdiff_t>(i + literal));
        i += literal;
    }
    return out;
}

Bytes Cmap(const std::vector<uint32_t>& rgb) {
    Bytes data;
    for (uint32_t colour : rgb)
        data.insert(data.end(), {uint8_t(colour >> 16), uint8_t(colour >> 8), uint8_t(colour)});
    return IffChunk("CMAP", data);
}

void WritePpm(const std::string& path, const Pnm& picture) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << picture.Width << " " << picture.Height << "\n" << picture.MaxValue << "\n";
    for (const Rgb& pixel : picture.Pixels)
        out.put(char(pixel.R)).put(char(pixel.G)).put(char(pixel.B));
    if (!out) throw std::runtime_error("cannot write " + path);
}

void WritePbm(const std::string& path, int width, int height, const std::vector<bool>& black) {
    std::ofstream out(path, std::ios::binary);
    out << "P1\n" << width << " " << height << "\n";
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            out << (black[static_cast<size_t>(y) * width + x] ? "1 " : "0 ");
        out << "\n";
    }
    if (!out) throw std::runtime_error("cannot write " + path);
}

Pnm ReadPnm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in || in.get() != 'P') throw std::runtime_error("not a PNM file: " + path);
    const int kind = in.get() - '0';
    Pnm picture;
    picture.Width = NextNumber(in);
    picture.Height = NextNumber(in);
    const bool bitmap = kind == 1 || kind == 4;
    picture.MaxValue = bitmap ? 1 : NextNumber(in);
    const size_t count = static_cast<size_t>(picture.Width) * picture.Height;
    if (picture.MaxValue > 255) throw std::runtime_error("16-bit PNM samples are not read: " + path);
    auto sample = [&]() -> uint8_t { return static_cast<uint8_t>(kind <= 3 ? NextNumber(in) : in.get()); };
    for (int y = 0; y < picture.Height; ++y) {
        int bits = 0, bitsLeft = 0;
        for (int x = 0; x < picture.Width; ++x) {
            if (kind == 4) {
                if (bitsLeft == 0) {
                    bits = in.get();
                    bitsLeft = 8;
                }
                const auto black = static_cast<uint8_t>(bits >> --bitsLeft & 1);
                picture.Pixels.push_back({black, black, black});
            } else if (kind == 1 || kind == 2 || kind == 5) {
                const uint8_t level = sample();
                picture.Pixels.push_back({level, level, level});
            } else {
                const uint8_t r = sample(), g = sample(), b = sample();
                picture.Pixels.push_back({r, g, b});
            }
        }
    }
    if (!in || picture.Pixels.size() != count) throw std::runtime_error("short PNM file: " + path);
    return picture;
}

void RunCommand(const std::string& commandLine) {
    const int status = std::system(commandLine.c_str());
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::ostringstream message;
        message << "command failed (status " << status << "): " << commandLine;
        throw std::runtime_error(message.str());
    }
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

Bytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

} // namespace tavrik::test
