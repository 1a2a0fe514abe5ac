// Big-endian byte streams: reads that run past the end yield zeros, writes are most significant first.
#include "app/ByteStream.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace tavrik {
namespace {

const std::vector<uint8_t> Bytes{0x12, 0x34, 0x56, 0x78, 0x9A};

TEST(ByteReader, ReadsAreBigEndianAndAdvance) {
    ByteReader reader(Bytes);
    EXPECT_EQ(reader.ReadWordBE(), 0x1234u);
    EXPECT_EQ(reader.Tell(), 2u);
    EXPECT_EQ(reader.ReadByte(), 0x56u);
    reader.Seek(1);
    EXPECT_EQ(reader.ReadLongBE(), 0x3456789Au);
    EXPECT_EQ(reader.Remaining(), 0u);
}

TEST(ByteReader, ReadsPastTheEndGiveZerosAndStillAdvance) {
    ByteReader reader(Bytes, 3);
    EXPECT_EQ(reader.ReadLongBE(), 0x789A0000u);
    EXPECT_EQ(reader.Tell(), 7u);
    EXPECT_EQ(reader.ReadWordBE(), 0u);
    EXPECT_EQ(reader.ReadByte(), 0u);
    EXPECT_EQ(reader.Tell(), 10u);
    EXPECT_EQ(reader.Remaining(), 0u);

    ByteReader empty(std::span<const uint8_t>{});
    EXPECT_EQ(empty.ReadLongBE(), 0u);
}

TEST(ByteReader, FixedTextKeepsZeroBytesAndPadsPastTheEnd) {
    const std::vector<uint8_t> text{'A', 0, 'S', 'F'};
    ByteReader reader(text);
    EXPECT_EQ(reader.ReadFixedText(2), std::string("A\0", 2));
    EXPECT_EQ(reader.ReadFixedText(4), std::string("SF\0\0", 4));
    EXPECT_EQ(reader.Tell(), 6u);
}

TEST(ByteReader, ReadsAtTheHighestPositionsNeverWrapToTheStart) {
    const size_t last = std::numeric_limits<size_t>::max();
    EXPECT_EQ(WordBEAt(Bytes, last), 0u);
    EXPECT_EQ(LongBEAt(Bytes, last - 1), 0u);
}

TEST(RandomAccessReads, ReadByOffsetWithZerosPastTheEnd) {
    EXPECT_EQ(WordBEAt(Bytes, 3), 0x789Au);
    EXPECT_EQ(WordBEAt(Bytes, 4), 0x9A00u);
    EXPECT_EQ(LongBEAt(Bytes, 0), 0x12345678u);
    EXPECT_EQ(LongBEAt(Bytes, 100), 0u);
}

TEST(ByteWriter, WritesMostSignificantFirst) {
    ByteWriter writer;
    writer.WriteLongBE(0x01020304);
    writer.WriteText("ASF ");
    writer.WriteWordBE(0xABCD);
    writer.WriteByte(0x1FF);
    writer.WriteZeros(2);
    EXPECT_EQ(writer.Take(), (std::vector<uint8_t>{1, 2, 3, 4, 'A', 'S', 'F', ' ', 0xAB, 0xCD, 0xFF, 0, 0}));
}

TEST(ByteWriter, WhatIsWrittenReadsBack) {
    ByteWriter writer;
    writer.WriteLongBE(0xDEADBEEF);
    writer.WriteWordBE(0x0F80);
    const std::vector<uint8_t> bytes = writer.Take();
    ByteReader reader(bytes);
    EXPECT_EQ(reader.ReadLongBE(), 0xDEADBEEFu);
    EXPECT_EQ(reader.ReadWordBE(), 0x0F80u);
}

} // namespace
} // namespace tavrik
