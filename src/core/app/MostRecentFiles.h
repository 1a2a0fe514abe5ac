// The recent-files list behind "Open Recent": up to MaxFiles project names, most recent first, kept in
// section "MRU List" of an INI file and shown as numbered items of a submenu. The core keeps the submenu as a
// list of item models; the GUI mirrors it into its menu after every change.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavrik {

// Every item the list puts into the submenu carries this tag; items of others keep theirs.
inline constexpr uint32_t RecentFilesTag = 0x0BAD1DEA;
inline constexpr int32_t RecentFilesCapacity = 40;
inline constexpr const char* RecentFilesSection = "MRU List";

struct MenuItemModel {
    std::string Caption; // "-" for a separator
    uint32_t Tag = 0;
    bool IsSeparator() const { return Caption == "-"; }
};

enum class RecentClick { None, Open, FileMissing };

struct RecentClickOutcome {
    RecentClick Action = RecentClick::None;
    std::string FileName; // the entry clicked
};

// "The file " + name + " does not exist!", the error dialog of a recent file that is gone.
std::string RecentFileMissingMessage(const std::string& fileName);

class TMostRecentFiles {
  public:
    int32_t MaxFiles() const { return Capacity; }
    // Clamped to 1..40; the menu is rebuilt.
    void SetMaxFiles(int32_t count);
    bool ShowFullPath = false;
    int32_t MenuPosition = 0;
    // Without an owner submenu, adding does nothing (as the component without its OwnerMenuItem).
    bool HasOwnerMenu = true;
    // The owner submenu's items, the list's own ones tagged RecentFilesTag.
    std::vector<MenuItemModel> Menu;
    std::string IniFile;

    const std::vector<std::string>& Files() const { return Entries; }

    // Load list: reads keys "1", "2", ... up to MaxFiles, stopping at the first missing or empty one.
    void LoadList();
    // Save list: keys "1" to MaxFiles, empty past the list's end. Errors are ignored.
    void SaveList() const;
    void RebuildMenu();
    // Puts name first; a name equal to an entry apart from letter case replaces that entry.
    void AddFile(const std::string& name);
    // A click on the submenu item at menuIndex. An existing file moves to the front (Open); a missing one is
    // reported (FileMissing, show RecentFileMissingMessage) and removed.
    RecentClickOutcome MenuClick(size_t menuIndex);

  private:
    std::vector<std::string> Entries;
    int32_t Capacity = 4;
    void MoveToFront(size_t index);
    std::optional<size_t> FirstEntryItem() const;
};

} // namespace tavrik
