// Integer text reading and hexadecimal writing.
#include "app/IntegerText.h"

#include <cctype>
#include <limits>
#include <type_traits>

namespace tavrik {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Up to maxDigits significant hexadecimal digits.
std::optional<uint64_t> ParseHexDigits(std::string_view digits, int maxDigits) {
    if (digits.empty()) return std::nullopt;
    uint64_t value = 0;
    int significant = 0;
    for (char c : digits) {
        const int d = HexDigitValue(c);
        if (d < 0) return std::nullopt;
        if (significant > 0 || d != 0) ++significant;
        if (significant > maxDigits) return std::nullopt;
        value = value * 16 + static_cast<uint64_t>(d);
    }
    return value;
}

// Decimal digits whose value does not exceed limit.
std::optional<uint64_t> ParseDecimalDigits(std::string_view digits, uint64_t limit) {
    if (digits.empty()) return std::nullopt;
    uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        if (__builtin_mul_overflow(value, uint64_t{10}, &value) ||
            __builtin_add_overflow(value, static_cast<uint64_t>(c - '0'), &value) || value > limit)
            return std::nullopt;
    }
    return value;
}

// The integer text syntax for a signed type: decimal within its range, hexadecimal as its bit pattern.
template <typename Signed> std::optional<Signed> ParseIntegerTextOf(std::string_view text) {
    using Unsigned = std::make_unsigned_t<Signed>;
    size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::string_view rest = text.substr(pos);
    size_t prefix = 0;
    if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) prefix = 1;
    if (rest.starts_with("0x") || rest.starts_with("0X")) prefix = 2;
    if (prefix > 0) {
        const std::optional<uint64_t> digits = ParseHexDigits(rest.substr(prefix), 2 * sizeof(Signed));
        if (!digits) return std::nullopt;
        const auto pattern = static_cast<Unsigned>(*digits);
        return static_cast<Signed>(negative ? Unsigned{0} - pattern : pattern);
    }
    constexpr auto largest = static_cast<uint64_t>(std::numeric_limits<Signed>::max());
    const std::optional<uint64_t> magnitude = ParseDecimalDigits(rest, negative ? largest + 1 : largest);
    if (!magnitude) return std::nullopt;
    const auto pattern = static_cast<Unsigned>(*magnitude);
    return static_cast<Signed>(negative ? Unsigned{0} - pattern : pattern);
}

} // namespace

std::string Trim(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return std::string(text.substr(begin, end - begin));
}

std::optional<int32_t> ParseIntegerText(std::string_view text) { return ParseIntegerTextOf<int32_t>(text); }

std::optional<int64_t> ParseWideIntegerText(std::string_view text) { return ParseIntegerTextOf<int64_t>(text); }

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

std::string DollarHexWide(uint64_t value) { return "$" + HexWide(value); }

} // namespace tavrik
