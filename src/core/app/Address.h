// Reading and showing the address fields under the offset display mode (file or chip-RAM-relative offsets).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrik {

struct AddressMode {
    uint32_t ChipRamOffset = 0;
    bool ChipRelativeAddresses = false;
};

// Never fails: text that is no number gives 0, or ChipRamOffset when it began with "+".
uint32_t ParseAddress(std::string_view text, const AddressMode& mode);

// Corrects a stored address (raised to what the field can show) and returns the field's text.
std::string ShowAddress(int64_t& storedAddress, const AddressMode& mode);

// "$" + hex of the offset, counted from ChipRamOffset in chip-relative mode.
std::string FormatAddress(uint32_t fileOffset, const AddressMode& mode);

// Turns an address kept in a project file into the text of an address field.
std::string StoredAddressToText(std::string_view text, const AddressMode& mode);

} // namespace tavrik
