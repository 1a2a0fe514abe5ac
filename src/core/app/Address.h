// Reading and showing the address fields under the offset display mode (file or chip-RAM-relative offsets).
// Addresses are 64-bit file offsets: a raw memory file may be larger than 4 GiB.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrik {

struct AddressMode {
    uint32_t ChipRamOffset = 0;
    bool ChipRelativeAddresses = false;
};

// The number of an address text (no "+", trimmed): integer text or bare hexadecimal digits. A number that
// fits 32 bits is taken as its 32-bit pattern, as the fields have always read it (-1 is $FFFFFFFF); a larger
// one must not be negative. Nothing when the text is no address.
std::optional<int64_t> AddressNumber(std::string_view text);

// Never fails: text that is no number gives 0, or ChipRamOffset when it began with "+". An offset beyond
// the 64-bit range is held at its largest value.
int64_t ParseAddress(std::string_view text, const AddressMode& mode);

// Corrects a stored address (raised to what the field can show) and returns the field's text.
std::string ShowAddress(int64_t& storedAddress, const AddressMode& mode);

// "$" + hex of the offset, counted from ChipRamOffset in chip-relative mode.
std::string FormatAddress(int64_t fileOffset, const AddressMode& mode);

// Turns an address kept in a project file into the text of an address field.
std::string StoredAddressToText(std::string_view text, const AddressMode& mode);

} // namespace tavrik
