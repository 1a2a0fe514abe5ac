// Address field reading and writing.
#include "app/Address.h"

#include "app/IntegerText.h"

namespace tavrik {

uint32_t ParseAddress(std::string_view text, const AddressMode& mode) {
    std::string rest = Trim(text);
    bool chipRelative = false;
    if (!rest.empty() && rest.front() == '+') {
        rest.erase(0, 1);
        chipRelative = true;
    }
    const uint32_t fallback = chipRelative ? mode.ChipRamOffset : 0;
    if (rest.empty()) return fallback;
    std::optional<int32_t> number = ParseIntegerText(rest);
    if (!number) number = ParseIntegerText("$" + rest);
    if (!number) return fallback;
    uint32_t result = static_cast<uint32_t>(*number);
    if (chipRelative || mode.ChipRelativeAddresses) result += mode.ChipRamOffset;
    return result;
}

std::string ShowAddress(int64_t& storedAddress, const AddressMode& mode) {
    if (mode.ChipRelativeAddresses) {
        if (storedAddress < static_cast<int64_t>(mode.ChipRamOffset)) storedAddress = mode.ChipRamOffset;
        return DollarHex(static_cast<uint32_t>(storedAddress - mode.ChipRamOffset));
    }
    if (storedAddress < 0) storedAddress = 0;
    return DollarHex(static_cast<uint32_t>(storedAddress));
}

std::string FormatAddress(uint32_t fileOffset, const AddressMode& mode) {
    return DollarHex(mode.ChipRelativeAddresses ? fileOffset - mode.ChipRamOffset : fileOffset);
}

std::string StoredAddressToText(std::string_view text, const AddressMode& mode) {
    if (!mode.ChipRelativeAddresses) return std::string(text);
    const std::optional<int32_t> value = ParseIntegerText(text);
    if (!value) return "$0";
    const int64_t offset = static_cast<int64_t>(*value) - static_cast<int64_t>(mode.ChipRamOffset);
    return offset < 0 ? "$0" : DollarHex(static_cast<uint32_t>(offset));
}

} // namespace tavrik
