// The recent-files list: its order rules and its INI section.
#include "app/MostRecentFiles.h"

#include "app/Files.h"
#include "app/IniFile.h"

#include <algorithm>
#include <cctype>

namespace tavrik {

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

std::string RecentFileMissingMessage(const std::string& fileName) {
    return "The file " + fileName + " does not exist!";
}

void TMostRecentFiles::SetMaxFiles(int32_t count) {
    Capacity = std::clamp(count, 1, RecentFilesCapacity);
    if (Entries.size() > static_cast<size_t>(Capacity)) Entries.resize(static_cast<size_t>(Capacity));
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

void TMostRecentFiles::AddFile(const std::string& name) {
    if (!Entries.empty() && SameName(Entries.front(), name)) return;
    std::erase_if(Entries, [&](const std::string& entry) { return SameName(entry, name); });
    Entries.insert(Entries.begin(), name);
    if (Entries.size() > static_cast<size_t>(Capacity)) Entries.resize(static_cast<size_t>(Capacity));
}

RecentClickOutcome TMostRecentFiles::Choose(size_t index) {
    if (index >= Entries.size()) return {};
    RecentClickOutcome outcome{RecentClick::Open, Entries[index]};
    if (PathIsFile(outcome.FileName)) {
        std::rotate(Entries.begin(), Entries.begin() + static_cast<std::ptrdiff_t>(index),
                    Entries.begin() + static_cast<std::ptrdiff_t>(index) + 1);
        return outcome;
    }
    outcome.Action = RecentClick::FileMissing;
    Entries.erase(Entries.begin() + static_cast<std::ptrdiff_t>(index));
    return outcome;
}

} // namespace tavrik
