// The INI text files the program keeps (settings, recent files, projects): tolerant reading, typed values
// with defaults, and saving that never leaves a half-written file where a good one stood.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavrik {

class IniFile {
  public:
    IniFile();
    ~IniFile();
    IniFile(IniFile&&) noexcept;
    IniFile& operator=(IniFile&&) noexcept;

    // Reads path; a missing file gives an empty document. Text that is not INI (or is cut short) keeps
    // whatever lines could be read. Returns false when the file exists but could not be read.
    bool Load(const std::string& path);
    void LoadText(const std::string& text);

    bool HasKey(const std::string& section, const std::string& key) const;
    // The value as written; nullopt when the key is missing.
    std::optional<std::string> Value(const std::string& section, const std::string& key) const;
    std::string Text(const std::string& section, const std::string& key, const std::string& fallback = "") const;
    // Decimal or hexadecimal ("$", "0x"); a value that is no integer counts as missing.
    std::optional<int32_t> Integer(const std::string& section, const std::string& key) const;
    int32_t Integer(const std::string& section, const std::string& key, int32_t fallback) const;
    // True when the value reads as an integer other than 0.
    bool Bool(const std::string& section, const std::string& key, bool fallback) const;
    // A value that is not a number counts as missing.
    double Float(const std::string& section, const std::string& key, double fallback) const;

    // Writing a key replaces only that key and keeps the order of the others.
    void SetText(const std::string& section, const std::string& key, const std::string& value);
    void SetInteger(const std::string& section, const std::string& key, int64_t value);
    void SetBool(const std::string& section, const std::string& key, bool value);
    // Up to 17 significant digits, so the value reads back to the same number.
    void SetFloat(const std::string& section, const std::string& key, double value);

    void RemoveKey(const std::string& section, const std::string& key);
    // The keys of a section in file order.
    std::vector<std::string> Keys(const std::string& section) const;

    std::string ToText() const;
    // Replaces path through the one file writer: on failure the old file is untouched and tavrik::Error says why.
    void Save(const std::string& path) const;

  private:
    struct Document;
    std::unique_ptr<Document> Doc;
};

} // namespace tavrik
