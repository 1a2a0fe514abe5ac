// The JSON reader: a recursive descent over the text that reports the line and column of a fault.
#include "support/JsonValue.h"

#include "app/Error.h"
#include "app/Files.h"

#include <charconv>
#include <cmath>

namespace tavrik::test {

namespace {

// Deeper nesting than any test file needs; it keeps hostile text from exhausting the stack.
constexpr int MaxDepth = 200;

const char* KindName(JsonValue::Kind kind) {
    static const char* const names[] = {"null", "a boolean", "a number", "a string", "an array", "an object"};
    return names[static_cast<int>(kind)];
}

} // namespace

class JsonParser {
  public:
    explicit JsonParser(std::string_view text) : Text(text) {}

    JsonValue Document() {
        JsonValue value = Value(0);
        SkipSpace();
        if (Position < Text.size()) Fail("text after the value");
        return value;
    }

  private:
    std::string_view Text;
    size_t Position = 0;

    [[noreturn]] void Fail(const std::string& what) const {
        size_t line = 1, column = 1;
        for (size_t i = 0; i < Position && i < Text.size(); ++i, ++column)
            if (Text[i] == '\n') line += 1, column = 0;
        throw Error("JSON error at line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + what);
    }

    void SkipSpace() {
        while (Position < Text.size() &&
               (Text[Position] == ' ' || Text[Position] == '\t' || Text[Position] == '\n' || Text[Position] == '\r'))
            ++Position;
    }
    char Peek() const { return Position < Text.size() ? Text[Position] : '\0'; }
    bool Take(char c) {
        if (Position >= Text.size() || Text[Position] != c) return false;
        ++Position;
        return true;
    }
    void Require(char c, const char* where) {
        SkipSpace();
        if (!Take(c)) Fail(std::string("expected '") + c + "' " + where);
    }
    bool Word(std::string_view word) {
        if (Text.substr(Position, word.size()) != word) return false;
        Position += word.size();
        return true;
    }

    JsonValue Value(int depth) {
        if (depth > MaxDepth) Fail("nesting deeper than " + std::to_string(MaxDepth));
        SkipSpace();
        JsonValue value;
        const char c = Peek();
        if (c == '{' || c == '[') {
            ContainerInto(value, depth);
        } else if (c == '"') {
            value.ValueKind = JsonValue::Kind::String;
            value.Text = String();
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            value.ValueKind = JsonValue::Kind::Number;
            value.Number = Number();
        } else if (Word("true")) {
            value.ValueKind = JsonValue::Kind::Boolean;
            value.Boolean = true;
        } else if (Word("false")) {
            value.ValueKind = JsonValue::Kind::Boolean;
        } else if (!Word("null")) {
            Fail(Position >= Text.size() ? "unexpected end of text" : "expected a value");
        }
        return value;
    }

    // An object or an array: members or elements separated by commas up to the closing bracket.
    void ContainerInto(JsonValue& value, int depth) {
        const bool object = Text[Position++] == '{';
        value.ValueKind = object ? JsonValue::Kind::Object : JsonValue::Kind::Array;
        SkipSpace();
        if (Take(object ? '}' : ']')) return;
        do {
            if (object) {
                SkipSpace();
                if (Peek() != '"') Fail("expected a string key in an object");
                value.Keys.push_back(String());
                Require(':', "after an object key");
            }
            value.Values.push_back(Value(depth + 1));
            SkipSpace();
        } while (Take(','));
        Require(object ? '}' : ']', object ? "or ',' in an object" : "or ',' in an array");
    }

    std::string String() {
        ++Position; // the opening quote
        std::string result;
        while (true) {
            if (Position >= Text.size()) Fail("unterminated string");
            const char c = Text[Position++];
            if (c == '"') return result;
            if (static_cast<unsigned char>(c) < 0x20) Fail("control character in a string");
            if (c != '\\') {
                result += c;
                continue;
            }
            if (Position >= Text.size()) Fail("unterminated string");
            const char escape = Text[Position++];
            if (escape == 'u') {
                AppendUtf8(result, HexCode());
                continue;
            }
            static constexpr std::string_view escapes = "\"\\/bfnrt", meanings = "\"\\/\b\f\n\r\t";
            const size_t known = escapes.find(escape);
            if (known == std::string_view::npos) {
                --Position;
                Fail(std::string("unknown escape \\") + escape);
            }
            result += meanings[known];
        }
    }

    uint32_t HexCode() {
        uint32_t code = 0;
        if (Position + 4 > Text.size()) Fail("\\u needs four hex digits");
        const auto [end, fault] = std::from_chars(Text.data() + Position, Text.data() + Position + 4, code, 16);
        if (fault != std::errc() || end != Text.data() + Position + 4) Fail("\\u needs four hex digits");
        Position += 4;
        return code;
    }

    static void AppendUtf8(std::string& out, uint32_t code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | code >> 6);
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | code >> 12);
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    // JSON's number grammar: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
    double Number() {
        const size_t start = Position;
        auto digits = [&] {
            const size_t first = Position;
            while (Peek() >= '0' && Peek() <= '9')
                ++Position;
            if (Position == first) Fail("expected a digit in a number");
        };
        Take('-');
        if (!Take('0')) digits();
        if (Take('.')) digits();
        if (Take('e') || Take('E')) {
            if (!Take('+')) Take('-');
            digits();
        }
        double value = 0;
        const auto [end, fault] = std::from_chars(Text.data() + start, Text.data() + Position, value);
        if (fault != std::errc() || end != Text.data() + Position) Fail("number out of range");
        return value;
    }
};

JsonValue JsonValue::Parse(std::string_view text) { return JsonParser(text).Document(); }

JsonValue JsonValue::ParseFile(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    try {
        return Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const Error& error) {
        throw Error(path + ": " + error.what());
    }
}

void JsonValue::Expect(Kind kind, const char* what) const {
    if (ValueKind != kind)
        throw Error(std::string("JSON value is ") + KindName(ValueKind) + ", not " + KindName(kind) + " (" + what +
                    ")");
}

bool JsonValue::AsBool() const {
    Expect(Kind::Boolean, "AsBool");
    return Boolean;
}

double JsonValue::AsNumber() const {
    Expect(Kind::Number, "AsNumber");
    return Number;
}

int64_t JsonValue::AsInt() const {
    Expect(Kind::Number, "AsInt");
    // 2^63 is exact as a double; anything at or past it does not fit.
    if (Number != std::trunc(Number) || Number < -9223372036854775808.0 || Number >= 9223372036854775808.0)
        throw Error("JSON number " + std::to_string(Number) + " is not an integer");
    return static_cast<int64_t>(Number);
}

const std::string& JsonValue::AsString() const {
    Expect(Kind::String, "AsString");
    return Text;
}

const std::vector<JsonValue>& JsonValue::Elements() const {
    if (ValueKind != Kind::Object) Expect(Kind::Array, "Elements");
    return Values;
}

const JsonValue& JsonValue::operator[](size_t index) const {
    Expect(Kind::Array, "index");
    if (index >= Values.size())
        throw Error("JSON array index " + std::to_string(index) + " past its " + std::to_string(Values.size()) +
                    " elements");
    return Values[index];
}

bool JsonValue::Has(std::string_view key) const {
    Expect(Kind::Object, "Has");
    for (const std::string& k : Keys)
        if (k == key) return true;
    return false;
}

const JsonValue& JsonValue::operator[](std::string_view key) const {
    Expect(Kind::Object, "key");
    for (size_t i = 0; i < Keys.size(); ++i)
        if (Keys[i] == key) return Values[i];
    throw Error("JSON object has no key \"" + std::string(key) + "\"");
}

} // namespace tavrik::test
