// Address fields: reading them with "+" and the chip-relative mode, and writing stored offsets back.
#include "app/Address.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

constexpr AddressMode FileOffsets{0x1C, false};
constexpr AddressMode ChipRelative{0x1C, true};

TEST(ParseAddress, FileOffsetMode) {
    EXPECT_EQ(ParseAddress("$100", FileOffsets), 0x100u);
    EXPECT_EQ(ParseAddress("+$100", FileOffsets), 0x11Cu);
    EXPECT_EQ(ParseAddress("256", FileOffsets), 0x100u);
    EXPECT_EQ(ParseAddress("1a0", FileOffsets), 0x1A0u);
    EXPECT_EQ(ParseAddress("+", FileOffsets), 0x1Cu);
    EXPECT_EQ(ParseAddress("zz", FileOffsets), 0u);
    EXPECT_EQ(ParseAddress("", FileOffsets), 0u);
}

TEST(ParseAddress, BlanksAndOddTexts) {
    EXPECT_EQ(ParseAddress("   +   ", FileOffsets), 0x1Cu);
    EXPECT_EQ(ParseAddress(" \t$100\r\n", FileOffsets), 0x100u);
    EXPECT_EQ(ParseAddress("+zz", FileOffsets), 0x1Cu);
    EXPECT_EQ(ParseAddress("-1", FileOffsets), 0xFFFFFFFFu);
    EXPECT_EQ(ParseAddress("++1", FileOffsets), 0x1Du);
    // Bare digits that are decimal stay decimal; only failing texts are read as hex.
    EXPECT_EQ(ParseAddress("10", FileOffsets), 10u);
}

TEST(ParseAddress, ChipRelativeModeAddsTheOffsetOnce) {
    EXPECT_EQ(ParseAddress("$100", ChipRelative), 0x11Cu);
    EXPECT_EQ(ParseAddress("+$100", ChipRelative), 0x11Cu);
    EXPECT_EQ(ParseAddress("zz", ChipRelative), 0u);
    EXPECT_EQ(ParseAddress("+", ChipRelative), 0x1Cu);
}

// Raw files may be larger than 4 GiB: texts that are no 32-bit number but a larger offset now reach it,
// while every text a 32-bit field read keeps its old value.
TEST(ParseAddress, OffsetsPast4GiB) {
    EXPECT_EQ(ParseAddress("$100000000", FileOffsets), int64_t{1} << 32);
    EXPECT_EQ(ParseAddress("4294967296", FileOffsets), int64_t{1} << 32);
    EXPECT_EQ(ParseAddress("123456789ab", FileOffsets), 0x123456789AB);
    EXPECT_EQ(ParseAddress("$80000000", FileOffsets), 0x80000000);
    EXPECT_EQ(ParseAddress("+$FFFFFFFF", FileOffsets), 0x10000001B);
    EXPECT_EQ(ParseAddress("$123456789", ChipRelative), 0x123456789 + 0x1C);
    EXPECT_EQ(ParseAddress("-4294967296", FileOffsets), 0);
    EXPECT_EQ(ParseAddress("$FFFFFFFFFFFFFFFF", FileOffsets), 0);
    EXPECT_EQ(ParseAddress("+$7FFFFFFFFFFFFFFF", FileOffsets), INT64_MAX);
}

TEST(ShowAddress, ChipRelativeRaisesAStoredAddressBelowChipRam) {
    const AddressMode mode{0x1000, true};
    int64_t stored = 0x800;
    EXPECT_EQ(ShowAddress(stored, mode), "$0");
    EXPECT_EQ(stored, 0x1000);

    stored = -5;
    EXPECT_EQ(ShowAddress(stored, mode), "$0");
    EXPECT_EQ(stored, 0x1000);

    stored = 0x1234;
    EXPECT_EQ(ShowAddress(stored, mode), "$234");
    EXPECT_EQ(stored, 0x1234);
}

TEST(ShowAddress, FileOffsetsRaiseANegativeStoredAddressToZero) {
    const AddressMode mode{0x1000, false};
    int64_t stored = -5;
    EXPECT_EQ(ShowAddress(stored, mode), "$0");
    EXPECT_EQ(stored, 0);

    stored = 0x800;
    EXPECT_EQ(ShowAddress(stored, mode), "$800");
    EXPECT_EQ(stored, 0x800);
}

TEST(FormatAddress, CountsFromChipRamInChipRelativeMode) {
    EXPECT_EQ(FormatAddress(0x11C, FileOffsets), "$11C");
    EXPECT_EQ(FormatAddress(0x11C, ChipRelative), "$100");
    EXPECT_EQ(FormatAddress(0x1C, ChipRelative), "$0");
    EXPECT_EQ(FormatAddress(0xFFFFFFFF, FileOffsets), "$FFFFFFFF");
    EXPECT_EQ(FormatAddress(0x10000001C, ChipRelative), "$100000000");
}

// What a field shows reads back as the same offset, in both display forms, across the 2 and 4 GiB marks.
TEST(ShowAddress, ShownTextReadsBackAsTheStoredOffset) {
    for (const AddressMode mode : {FileOffsets, ChipRelative})
        for (const int64_t offset : {int64_t{0x7FFFFFFF}, int64_t{0x80000000}, int64_t{0xFFFFFFFF},
                                     int64_t{0x100000000}, int64_t{0x123456789AB}}) {
            int64_t stored = offset;
            EXPECT_EQ(ParseAddress(ShowAddress(stored, mode), mode), offset);
            EXPECT_EQ(stored, offset);
        }
}

TEST(StoredAddressToText, UnchangedInFileOffsetMode) {
    EXPECT_EQ(StoredAddressToText("284", FileOffsets), "284");
    EXPECT_EQ(StoredAddressToText("junk", FileOffsets), "junk");
}

TEST(StoredAddressToText, ChipRelativeModeShowsTheChipAddress) {
    EXPECT_EQ(StoredAddressToText("284", ChipRelative), "$100");
    EXPECT_EQ(StoredAddressToText("$11C", ChipRelative), "$100");
    EXPECT_EQ(StoredAddressToText("28", ChipRelative), "$0");
    EXPECT_EQ(StoredAddressToText("27", ChipRelative), "$0");
    EXPECT_EQ(StoredAddressToText("-1", ChipRelative), "$0");
    EXPECT_EQ(StoredAddressToText("junk", ChipRelative), "$0");
    EXPECT_EQ(StoredAddressToText("", ChipRelative), "$0");
    // Offsets are kept unsigned: 2 GiB and more are no negative numbers.
    EXPECT_EQ(StoredAddressToText("$80000000", ChipRelative), "$7FFFFFE4");
    EXPECT_EQ(StoredAddressToText("$10000001C", ChipRelative), "$100000000");
}

} // namespace
} // namespace tavrik
