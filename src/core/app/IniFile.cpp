// INI files through SimpleIni ("key=value" without blanks, key order kept) and the safe replacement of files.
#include "app/IniFile.h"

#include "app/Error.h"
#include "app/Files.h"
#include "app/IntegerText.h"

// Names are kept as the bytes they are (UTF-8 on this system); no wide-character conversion is needed.
#define SI_NO_CONVERSION
// The packaged header keeps its template bodies behind this switch; this is the one file that includes it.
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace tavrik {

struct IniFile::Document {
    CSimpleIniA Ini{false, false, false};
    Document() { Ini.SetSpaces(false); }
};

IniFile::IniFile() : Doc(std::make_unique<Document>()) {}
IniFile::~IniFile() = default;
IniFile::IniFile(IniFile&&) noexcept = default;
IniFile& IniFile::operator=(IniFile&&) noexcept = default;

bool IniFile::Load(const std::string& path) {
    Doc = std::make_unique<Document>();
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return true;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    LoadText(bytes.str());
    return true;
}

void IniFile::LoadText(const std::string& text) {
    Doc = std::make_unique<Document>();
    // A zero byte ends the text as SimpleIni reads it; binary files keep the lines before it.
    const std::string readable = text.substr(0, text.find('\0'));
    Doc->Ini.LoadData(readable.data(), readable.size());
}

bool IniFile::HasKey(const std::string& section, const std::string& key) const {
    return Doc->Ini.GetValue(section.c_str(), key.c_str(), nullptr) != nullptr;
}

std::optional<std::string> IniFile::Value(const std::string& section, const std::string& key) const {
    const char* value = Doc->Ini.GetValue(section.c_str(), key.c_str(), nullptr);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

std::string IniFile::Text(const std::string& section, const std::string& key, const std::string& fallback) const {
    return Value(section, key).value_or(fallback);
}

std::optional<int32_t> IniFile::Integer(const std::string& section, const std::string& key) const {
    const std::optional<std::string> text = Value(section, key);
    if (!text) return std::nullopt;
    return ParseIntegerText(Trim(*text));
}

int32_t IniFile::Integer(const std::string& section, const std::string& key, int32_t fallback) const {
    return Integer(section, key).value_or(fallback);
}

bool IniFile::Bool(const std::string& section, const std::string& key, bool fallback) const {
    const std::optional<int32_t> value = Integer(section, key);
    return value ? *value != 0 : fallback;
}

double IniFile::Float(const std::string& section, const std::string& key, double fallback) const {
    const std::string text = Trim(Text(section, key));
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return fallback;
    return value;
}

void IniFile::SetText(const std::string& section, const std::string& key, const std::string& value) {
    Doc->Ini.SetValue(section.c_str(), key.c_str(), value.c_str());
}

void IniFile::SetInteger(const std::string& section, const std::string& key, int64_t value) {
    SetText(section, key, std::to_string(value));
}

void IniFile::SetBool(const std::string& section, const std::string& key, bool value) {
    SetText(section, key, value ? "1" : "0");
}

void IniFile::SetFloat(const std::string& section, const std::string& key, double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    SetText(section, key, text);
}

void IniFile::RemoveKey(const std::string& section, const std::string& key) {
    Doc->Ini.Delete(section.c_str(), key.c_str());
}

std::vector<std::string> IniFile::Keys(const std::string& section) const {
    CSimpleIniA::TNamesDepend keys;
    Doc->Ini.GetAllKeys(section.c_str(), keys);
    keys.sort(CSimpleIniA::Entry::LoadOrder());
    std::vector<std::string> names;
    for (const CSimpleIniA::Entry& entry : keys)
        names.emplace_back(entry.pItem);
    return names;
}

std::string IniFile::ToText() const {
    std::string text;
    Doc->Ini.Save(text);
    return text;
}

void IniFile::Save(const std::string& path) const { WriteWholeFile(path, ToText()); }

} // namespace tavrik
