// Builds the tiny DEGAS and ILBM test pictures.
#include "TinyPictures.h"

#include <string>

namespace tavrik::test {

namespace {

void PutWord(std::vector<uint8_t>& bytes, uint32_t value) {
    bytes.push_back(static_cast<uint8_t>(value >> 8));
    bytes.push_back(static_cast<uint8_t>(value));
}

void PutLong(std::vector<uint8_t>& bytes, uint32_t value) {
    PutWord(bytes, value >> 16);
    PutWord(bytes, value & 0xFFFF);
}

void PutId(std::vector<uint8_t>& bytes, const std::string& id) { bytes.insert(bytes.end(), id.begin(), id.end()); }

void PutChunk(std::vector<uint8_t>& bytes, const std::string& id, const std::vector<uint8_t>& data) {
    PutId(bytes, id);
    PutLong(bytes, static_cast<uint32_t>(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
    if (data.size() % 2 != 0) bytes.push_back(0);
}

// Each line holds the rows of plane 0, 1, ... of that line, most significant bit first.
std::vector<uint8_t> IlbmBody(int width, int height, int planes, const std::vector<uint8_t>& values) {
    const int rowBytes = width / 8;
    std::vector<uint8_t> body;
    for (int y = 0; y < height; ++y)
        for (int plane = 0; plane < planes; ++plane)
            for (int b = 0; b < rowBytes; ++b) {
                uint8_t byte = 0;
                for (int bit = 0; bit < 8; ++bit) {
                    const uint8_t value = values[static_cast<size_t>(y * width + b * 8 + bit)];
                    if ((value >> plane) & 1) byte = static_cast<uint8_t>(byte | (0x80 >> bit));
                }
                body.push_back(byte);
            }
    return body;
}

} // namespace

std::vector<uint8_t> DegasLowResPicture(const std::array<uint16_t, 16>& stColours, uint8_t firstPixel) {
    std::vector<uint8_t> bytes;
    PutWord(bytes, 0);
    for (uint16_t colour : stColours)
        PutWord(bytes, colour);
    const size_t pixelsStart = bytes.size();
    bytes.resize(pixelsStart + 32000, 0);
    // The first 16-pixel group of the top row: one word per plane.
    for (int plane = 0; plane < 4; ++plane)
        if ((firstPixel >> plane) & 1) bytes[pixelsStart + 2 * static_cast<size_t>(plane)] = 0x80;
    return bytes;
}

std::vector<uint8_t> IlbmPicture(int width, int height, int planes, const std::vector<uint32_t>& rgbColours,
                                 const std::vector<uint8_t>& values, size_t bodyBytesMissing) {
    std::vector<uint8_t> header;
    PutWord(header, static_cast<uint32_t>(width));
    PutWord(header, static_cast<uint32_t>(height));
    PutLong(header, 0); // position
    header.push_back(static_cast<uint8_t>(planes));
    header.push_back(0); // no mask
    header.push_back(0); // no compression
    header.push_back(0); // pad
    PutWord(header, 0);  // transparent colour
    header.push_back(10);
    header.push_back(11); // aspect
    PutWord(header, static_cast<uint32_t>(width));
    PutWord(header, static_cast<uint32_t>(height));

    std::vector<uint8_t> colourMap;
    for (uint32_t rgb : rgbColours) {
        colourMap.push_back(static_cast<uint8_t>(rgb >> 16));
        colourMap.push_back(static_cast<uint8_t>(rgb >> 8));
        colourMap.push_back(static_cast<uint8_t>(rgb));
    }

    std::vector<uint8_t> form;
    PutId(form, "ILBM");
    PutChunk(form, "BMHD", header);
    PutChunk(form, "CMAP", colourMap);
    PutChunk(form, "BODY", IlbmBody(width, height, planes, values));
    if (bodyBytesMissing > 0) form.resize(form.size() - bodyBytesMissing);

    std::vector<uint8_t> file;
    PutId(file, "FORM");
    PutLong(file, static_cast<uint32_t>(form.size()));
    file.insert(file.end(), form.begin(), form.end());
    return file;
}

} // namespace tavrik::test
