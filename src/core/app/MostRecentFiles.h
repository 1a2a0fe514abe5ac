// The recent-files list behind "Open Recent": up to MaxFiles project names, most recent first, kept in
// section "MRU List" of an INI file. The window shows the list as numbered items of a submenu.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavrik {

inline constexpr int32_t RecentFilesCapacity = 40;
inline constexpr const char* RecentFilesSection = "MRU List";

enum class RecentClick { None, Open, FileMissing };

struct RecentClickOutcome {
    RecentClick Action = RecentClick::None;
    std::string FileName; // the entry chosen
};

// "The file " + name + " does not exist!", the error dialog of a recent file that is gone.
std::string RecentFileMissingMessage(const std::string& fileName);

class TMostRecentFiles {
  public:
    int32_t MaxFiles() const { return Capacity; }
    // Clamped to 1..40; entries past the new capacity are dropped.
    void SetMaxFiles(int32_t count);
    std::string IniFile;

    const std::vector<std::string>& Files() const { return Entries; }

    // Load list: reads keys "1", "2", ... up to MaxFiles, stopping at the first missing or empty one.
    void LoadList();
    // Save list: keys "1" to MaxFiles, empty past the list's end. Errors are ignored.
    void SaveList() const;
    // Puts name first; a name equal to an entry apart from letter case replaces that entry.
    void AddFile(const std::string& name);
    // The user chose the entry at index. An existing file moves to the front (Open); a missing one is
    // reported (FileMissing, show RecentFileMissingMessage) and removed. An index past the list: None.
    RecentClickOutcome Choose(size_t index);

  private:
    std::vector<std::string> Entries;
    int32_t Capacity = 4;
};

} // namespace tavrik
