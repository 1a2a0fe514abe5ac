// The recent-files list: its order rules, its INI section and its submenu items.
#include "app/MostRecentFiles.h"

#include "app/Files.h"
#include "app/IniFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace tavrik {

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

MenuItemModel Tagged(std::string caption) { return MenuItemModel{std::move(caption), RecentFilesTag}; }

} // namespace

std::string RecentFileMissingMessage(const std::string& fileName) {
    return "The file " + fileName + " does not exist!";
}

void TMostRecentFiles::SetMaxFiles(int32_t count) {
    Capacity = std::clamp(count, 1, RecentFilesCapacity);
    if (Entries.size() > static_cast<size_t>(Capacity)) Entries.resize(static_cast<size_t>(Capacity));
    RebuildMenu();
}

void TMostRecentFiles::LoadList() {
    Entries.clear();
    tavrik::IniFile ini;
    if (PathIsFile(IniFile) && ini.Load(IniFile))
        for (int32_t k = 1; k <= Capacity; ++k) {
            const std::string name = ini.Text(RecentFilesSection, std::to_string(k));
            if (name.empty()) break;
            Entries.push_back(name);
        }
    RebuildMenu();
}

void TMostRecentFiles::SaveList() const {
    try {
        tavrik::IniFile ini;
        if (!ini.Load(IniFile)) return;
        for (int32_t k = 1; k <= Capacity; ++k) {
            const size_t index = static_cast<size_t>(k - 1);
            ini.SetText(RecentFilesSection, std::to_string(k), index < Entries.size() ? Entries[index] : "");
        }
        ini.Save(IniFile);
    } catch (const std::exception&) {
        // The list is a convenience; losing it never stops the program from closing.
    }
}

void TMostRecentFiles::RebuildMenu() {
    std::erase_if(Menu, [](const MenuItemModel& item) { return item.Tag == RecentFilesTag; });
    if (Entries.empty()) return;
    size_t position = std::min(static_cast<size_t>(std::max(MenuPosition, 0)), Menu.size());
    if (position > 0 && !Menu[position - 1].IsSeparator())
        Menu.insert(Menu.begin() + static_cast<std::ptrdiff_t>(position++), Tagged("-"));
    for (size_t i = 0; i < Entries.size(); ++i) {
        const std::string shown = ShowFullPath ? Entries[i] : FileNamePart(Entries[i]);
        Menu.insert(Menu.begin() + static_cast<std::ptrdiff_t>(position++),
                    Tagged("&" + std::to_string(i + 1) + "  " + shown));
    }
    if (position < Menu.size() && !Menu[position].IsSeparator())
        Menu.insert(Menu.begin() + static_cast<std::ptrdiff_t>(position), Tagged("-"));
}

void TMostRecentFiles::AddFile(const std::string& name) {
    if (!HasOwnerMenu) return;
    if (!Entries.empty() && SameName(Entries.front(), name)) return;
    std::erase_if(Entries, [&](const std::string& entry) { return SameName(entry, name); });
    Entries.insert(Entries.begin(), name);
    if (Entries.size() > static_cast<size_t>(Capacity)) Entries.resize(static_cast<size_t>(Capacity));
    RebuildMenu();
}

void TMostRecentFiles::MoveToFront(size_t index) {
    std::rotate(Entries.begin(), Entries.begin() + static_cast<std::ptrdiff_t>(index),
                Entries.begin() + static_cast<std::ptrdiff_t>(index) + 1);
}

std::optional<size_t> TMostRecentFiles::FirstEntryItem() const {
    for (size_t i = 0; i < Menu.size(); ++i)
        if (Menu[i].Tag == RecentFilesTag) return Menu[i].IsSeparator() ? i + 1 : i;
    return std::nullopt;
}

RecentClickOutcome TMostRecentFiles::MenuClick(size_t menuIndex) {
    const std::optional<size_t> first = FirstEntryItem();
    if (!first || menuIndex < *first || menuIndex - *first >= Entries.size()) return {};
    const size_t index = menuIndex - *first;
    RecentClickOutcome outcome{RecentClick::Open, Entries[index]};
    if (PathIsFile(outcome.FileName)) {
        if (index > 0) {
            MoveToFront(index);
            RebuildMenu();
        }
        return outcome;
    }
    outcome.Action = RecentClick::FileMissing;
    Entries.erase(Entries.begin() + static_cast<std::ptrdiff_t>(index));
    RebuildMenu();
    return outcome;
}

} // namespace tavrik
