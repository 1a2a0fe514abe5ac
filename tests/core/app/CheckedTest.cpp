// Checked arithmetic: overflow and division by zero end the operation with a clear error.
#include "app/Checked.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace tavrik {
namespace {

template <typename F> std::string ErrorOf(F&& operation) {
    try {
        operation();
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}

TEST(Checked, ResultsThatFitAreExact) {
    EXPECT_EQ(CheckedAdd<int32_t>(2147483640, 7), 2147483647);
    EXPECT_EQ(CheckedSub<uint32_t>(5, 5), 0u);
    EXPECT_EQ(CheckedMul<int32_t>(-65536, 32768), INT32_MIN);
    EXPECT_EQ(CheckedDiv<int32_t>(-7, 2), -3);
    EXPECT_EQ(CheckedMod<int32_t>(-7, 2), -1);
    EXPECT_EQ(CheckedMod<int32_t>(INT32_MIN, -1), 0);
    EXPECT_EQ((CheckedCast<uint16_t, int32_t>(65535)), 65535);
}

TEST(Checked, OverflowIsAnError) {
    EXPECT_EQ(ErrorOf([] { CheckedAdd<int32_t>(INT32_MAX, 1); }), "Arithmetic overflow");
    EXPECT_EQ(ErrorOf([] { CheckedAdd<uint32_t>(0xFFFFFFFF, 1); }), "Arithmetic overflow");
    EXPECT_EQ(ErrorOf([] { CheckedSub<uint32_t>(0, 1); }), "Arithmetic overflow");
    EXPECT_EQ(ErrorOf([] { CheckedSub<int32_t>(INT32_MIN, 1); }), "Arithmetic overflow");
    EXPECT_EQ(ErrorOf([] { CheckedMul<int32_t>(65536, 32768); }), "Arithmetic overflow");
    EXPECT_EQ(ErrorOf([] { CheckedDiv<int32_t>(INT32_MIN, -1); }), "Arithmetic overflow");
    EXPECT_EQ(ErrorOf([] { CheckedCast<int32_t>(uint32_t{0x80000000}); }), "Arithmetic overflow");
    EXPECT_EQ(ErrorOf([] { CheckedCast<uint32_t>(-1); }), "Arithmetic overflow");
}

TEST(Checked, DivisionByZeroIsAnError) {
    EXPECT_EQ(ErrorOf([] { CheckedDiv<int32_t>(1, 0); }), "Division by zero");
    EXPECT_EQ(ErrorOf([] { CheckedMod<uint32_t>(1, 0); }), "Division by zero");
}

} // namespace
} // namespace tavrik
