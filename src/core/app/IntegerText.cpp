// Integer text reading and hexadecimal writing.
#include "app/IntegerText.h"

#include <cctype>

namespace tavrik {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<uint32_t> ParseHexDigits(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    uint64_t value = 0;
    int significant = 0;
    for (char c : digits) {
        const int d = HexDigitValue(c);
        if (d < 0) return std::nullopt;
        if (significant > 0 || d != 0) ++significant;
        if (significant > 8) return std::nullopt;
        value = value * 16 + static_cast<uint64_t>(d);
    }
    return static_cast<uint32_t>(value);
}

std::optional<int64_t> ParseDecimalDigits(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL) return std::nullopt;
    }
    return value;
}

} // namespace

std::string Trim(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return std::string(text.substr(begin, end - begin));
}

std::optional<int32_t> ParseIntegerText(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    std::string_view rest = text.substr(pos);
    std::optional<uint32_t> hexPrefixDigits;
    if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
        hexPrefixDigits = ParseHexDigits(rest.substr(1));
        if (!hexPrefixDigits) return std::nullopt;
    } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
        hexPrefixDigits = ParseHexDigits(rest.substr(2));
        if (!hexPrefixDigits) return std::nullopt;
    }
    if (hexPrefixDigits) {
        const uint32_t pattern = negative ? 0u - *hexPrefixDigits : *hexPrefixDigits;
        return static_cast<int32_t>(pattern);
    }
    const std::optional<int64_t> magnitude = ParseDecimalDigits(rest);
    if (!magnitude) return std::nullopt;
    const int64_t value = negative ? -*magnitude : *magnitude;
    if (value > 2147483647LL) return std::nullopt;
    return static_cast<int32_t>(value);
}

std::string HexWide(uint64_t value, int minDigits) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), Digits[value & 15]);
        value >>= 4;
    } while (value != 0);
    if (static_cast<int>(text.size()) < minDigits) text.insert(0, static_cast<size_t>(minDigits) - text.size(), '0');
    return text;
}

std::string Hex(uint32_t value, int minDigits) { return HexWide(value, minDigits); }

std::string DollarHex(uint32_t value, int minDigits) { return "$" + Hex(value, minDigits); }

} // namespace tavrik
