// A small JSON reader for test data (the demo manifest): objects, arrays, strings, numbers, true, false
// and null. Malformed text and wrong look-ups throw tavrik::Error saying what and where.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrik::test {

class JsonValue {
  public:
    enum class Kind { Null, Boolean, Number, String, Array, Object };

    // The whole text must be one value (white space around it allowed).
    static JsonValue Parse(std::string_view text);
    // Parses a file; errors name the file.
    static JsonValue ParseFile(const std::string& path);

    Kind Type() const { return ValueKind; }
    bool IsNull() const { return ValueKind == Kind::Null; }

    bool AsBool() const;
    double AsNumber() const;
    // The number as an integer; a fraction or a value outside int64_t is an error.
    int64_t AsInt() const;
    const std::string& AsString() const;

    // Arrays: their elements; objects: their values in file order.
    const std::vector<JsonValue>& Elements() const;
    size_t Size() const { return Elements().size(); }
    const JsonValue& operator[](size_t index) const;

    bool Has(std::string_view key) const;
    // Object member; a missing key is an error naming it.
    const JsonValue& operator[](std::string_view key) const;

  private:
    friend class JsonParser;
    Kind ValueKind = Kind::Null;
    bool Boolean = false;
    double Number = 0;
    std::string Text;
    std::vector<std::string> Keys; // objects only, parallel to Values
    std::vector<JsonValue> Values;

    void Expect(Kind kind, const char* what) const;
};

} // namespace tavrik::test
