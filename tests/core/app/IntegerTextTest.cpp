// Integer text: decimal and hexadecimal numbers typed into fields, trimming and hex output.
#include "app/IntegerText.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

std::optional<int32_t> Number(int32_t value) { return value; }

TEST(IntegerText, DecimalRangeLimits) {
    EXPECT_EQ(ParseIntegerText("2147483647"), Number(2147483647));
    EXPECT_EQ(ParseIntegerText("-2147483648"), Number(INT32_MIN));
    EXPECT_FALSE(ParseIntegerText("2147483648"));
    EXPECT_FALSE(ParseIntegerText("-2147483649"));
    EXPECT_FALSE(ParseIntegerText("99999999999999999999999"));
    EXPECT_EQ(ParseIntegerText("0000000000000000000042"), Number(42));
}

TEST(IntegerText, HexadecimalIsA32BitPattern) {
    EXPECT_EQ(ParseIntegerText("$FFFFFFFF"), Number(-1));
    EXPECT_EQ(ParseIntegerText("$80000000"), Number(INT32_MIN));
    EXPECT_EQ(ParseIntegerText("$7fffffff"), Number(INT32_MAX));
    EXPECT_FALSE(ParseIntegerText("$100000000"));
    EXPECT_EQ(ParseIntegerText("$000000000FF"), Number(255));
    EXPECT_EQ(ParseIntegerText("$0"), Number(0));
}

TEST(IntegerText, AllHexPrefixes) {
    EXPECT_EQ(ParseIntegerText("x1A"), Number(26));
    EXPECT_EQ(ParseIntegerText("X1a"), Number(26));
    EXPECT_EQ(ParseIntegerText("0x1A"), Number(26));
    EXPECT_EQ(ParseIntegerText("0X1a"), Number(26));
    EXPECT_EQ(ParseIntegerText("$1a"), Number(26));
    EXPECT_FALSE(ParseIntegerText("1A"));
    EXPECT_FALSE(ParseIntegerText("$"));
    EXPECT_FALSE(ParseIntegerText("0x"));
    EXPECT_FALSE(ParseIntegerText("$$1"));
    EXPECT_FALSE(ParseIntegerText("$G"));
}

TEST(IntegerText, SignsAndLeadingBlanks) {
    EXPECT_EQ(ParseIntegerText("+12"), Number(12));
    EXPECT_EQ(ParseIntegerText("-12"), Number(-12));
    EXPECT_EQ(ParseIntegerText("   -12"), Number(-12));
    EXPECT_EQ(ParseIntegerText("-$10"), Number(-16));
    EXPECT_EQ(ParseIntegerText("+0x10"), Number(16));
    EXPECT_EQ(ParseIntegerText("-0"), Number(0));
    EXPECT_FALSE(ParseIntegerText("- 12"));
    EXPECT_FALSE(ParseIntegerText("+-1"));
    EXPECT_FALSE(ParseIntegerText("+"));
    EXPECT_FALSE(ParseIntegerText("-"));
}

TEST(IntegerText, NothingMayFollowTheDigitsAndEmptyIsNoNumber) {
    EXPECT_FALSE(ParseIntegerText("12 "));
    EXPECT_FALSE(ParseIntegerText("12a"));
    EXPECT_FALSE(ParseIntegerText("$FFz"));
    EXPECT_FALSE(ParseIntegerText("1.5"));
    EXPECT_FALSE(ParseIntegerText(""));
    EXPECT_FALSE(ParseIntegerText("   "));
}

// Memory positions read into 64 bits: the same syntax, wider limits, and the 32-bit reader unchanged beside it.
TEST(IntegerText, WideReadingKeepsTheSyntaxWithA64BitRange) {
    EXPECT_EQ(ParseWideIntegerText("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(ParseWideIntegerText("-9223372036854775808"), INT64_MIN);
    EXPECT_FALSE(ParseWideIntegerText("9223372036854775808"));
    EXPECT_FALSE(ParseWideIntegerText("18446744073709551616"));
    EXPECT_EQ(ParseWideIntegerText("$FFFFFFFF"), int64_t{0xFFFFFFFF});
    EXPECT_EQ(ParseWideIntegerText("0x1234567890"), int64_t{0x1234567890});
    EXPECT_EQ(ParseWideIntegerText("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_FALSE(ParseWideIntegerText("$10000000000000000"));
    EXPECT_EQ(ParseWideIntegerText(" -$10"), -16);
    EXPECT_FALSE(ParseWideIntegerText("4294967296 "));
    EXPECT_FALSE(ParseIntegerText("4294967296"));
    EXPECT_EQ(DollarHexWide(0x123456789ABull), "$123456789AB");
}

TEST(Trim, RemovesBlanksAndControlCharactersFromBothEnds) {
    EXPECT_EQ(Trim(" \t\r\n 12 x \x01"), "12 x");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim("\xC4x\xC4"), "\xC4x\xC4");
}

TEST(HexOutput, UpperCaseWithMinimumDigits) {
    EXPECT_EQ(Hex(uint32_t{0}), "0");
    EXPECT_EQ(Hex(uint32_t{0xABC}), "ABC");
    EXPECT_EQ(Hex(uint32_t{0xA}, 4), "000A");
    EXPECT_EQ(Hex(uint32_t{0x12345}, 2), "12345");
    EXPECT_EQ(Hex(int32_t{-1}), "FFFFFFFF");
    EXPECT_EQ(DollarHex(0x1C), "$1C");
}

} // namespace
} // namespace tavrik
