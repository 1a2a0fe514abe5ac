// The number syntax of every field (decimal, or hexadecimal after "$", "x" or "0x") and hexadecimal output.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrik {

// Removes every character with a code of 32 or below from both ends.
std::string Trim(std::string_view text);

// Reads integer text: optional leading blanks, optional sign, then decimal digits or a hex
// prefix ("$", "x", "X", "0x", "0X") and up to 8 significant hex digits taken as a 32-bit pattern.
// Nothing may follow the digits. Returns nothing when the text is not a number.
std::optional<int32_t> ParseIntegerText(std::string_view text);
// The same syntax read into 64 bits (memory positions): decimal within the 64-bit range, and up to 16
// significant hex digits taken as a 64-bit pattern.
std::optional<int64_t> ParseWideIntegerText(std::string_view text);

// Upper-case hexadecimal with at least minDigits digits; negative values show their 32-bit pattern.
std::string Hex(uint32_t value, int minDigits = 1);
// The same for 64-bit values (identities such as a volume's serial number).
std::string HexWide(uint64_t value, int minDigits = 1);
inline std::string Hex(int32_t value, int minDigits = 1) { return Hex(static_cast<uint32_t>(value), minDigits); }

// "$" followed by Hex(value).
std::string DollarHex(uint32_t value, int minDigits = 1);
// "$" followed by HexWide(value): memory positions, which may lie past 4 GiB.
std::string DollarHexWide(uint64_t value);

} // namespace tavrik
