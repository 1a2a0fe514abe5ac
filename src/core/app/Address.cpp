// Address field reading and writing.
#include "app/Address.h"

#include "app/IntegerText.h"

#include <limits>

namespace tavrik {

namespace {

std::optional<int64_t> NumberOrHexDigits(std::string_view text) {
    if (const std::optional<int32_t> narrow = ParseIntegerText(text)) return static_cast<uint32_t>(*narrow);
    if (const std::optional<int64_t> wide = ParseWideIntegerText(text); wide && *wide >= 0) return wide;
    return std::nullopt;
}

int64_t SaturatedAdd(int64_t a, int64_t b) {
    int64_t sum;
    return __builtin_add_overflow(a, b, &sum) ? std::numeric_limits<int64_t>::max() : sum;
}

} // namespace

std::optional<int64_t> AddressNumber(std::string_view text) {
    if (const std::optional<int64_t> number = NumberOrHexDigits(text)) return number;
    return NumberOrHexDigits("$" + std::string(text));
}

int64_t ParseAddress(std::string_view text, const AddressMode& mode) {
    std::string rest = Trim(text);
    bool chipRelative = false;
    if (!rest.empty() && rest.front() == '+') {
        rest.erase(0, 1);
        chipRelative = true;
    }
    const int64_t fallback = chipRelative ? mode.ChipRamOffset : 0;
    if (rest.empty()) return fallback;
    const std::optional<int64_t> number = AddressNumber(rest);
    if (!number) return fallback;
    if (chipRelative || mode.ChipRelativeAddresses) return SaturatedAdd(*number, mode.ChipRamOffset);
    return *number;
}

std::string ShowAddress(int64_t& storedAddress, const AddressMode& mode) {
    if (mode.ChipRelativeAddresses) {
        if (storedAddress < static_cast<int64_t>(mode.ChipRamOffset)) storedAddress = mode.ChipRamOffset;
        return DollarHexWide(static_cast<uint64_t>(storedAddress - mode.ChipRamOffset));
    }
    if (storedAddress < 0) storedAddress = 0;
    return DollarHexWide(static_cast<uint64_t>(storedAddress));
}

std::string FormatAddress(int64_t fileOffset, const AddressMode& mode) {
    int64_t shown = fileOffset;
    return ShowAddress(shown, mode);
}

std::string StoredAddressToText(std::string_view text, const AddressMode& mode) {
    if (!mode.ChipRelativeAddresses) return std::string(text);
    // The file keeps unsigned offsets: "$80000000" lies at 2 GiB, not below 0.
    const std::optional<int64_t> value = ParseWideIntegerText(text);
    if (!value || *value < static_cast<int64_t>(mode.ChipRamOffset)) return "$0";
    return DollarHexWide(static_cast<uint64_t>(*value - mode.ChipRamOffset));
}

} // namespace tavrik
