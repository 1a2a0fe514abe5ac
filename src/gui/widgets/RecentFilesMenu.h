// The "Open Recent" submenu mirrored from the recent-files list: numbered items, fenced by separators when
// the submenu holds items of its own, each tagged so that a rebuild removes only the list's items.
#pragma once

#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QMenu;

namespace tavrik {

// Every item the list puts into the submenu carries this tag (in QAction::data); items of others keep theirs.
inline constexpr quint32 RecentFilesTag = 0x0BAD1DEA;

struct RecentFilesMenu {
    QMenu* Owner = nullptr;
    bool ShowFullPath = false;
    int32_t MenuPosition = 0;
    // Called with the index in the list of the entry the user chose.
    std::function<void(size_t)> OnChoose;

    // Removes the tagged items, then inserts one "&N  name" item per file at MenuPosition, with a separator
    // before them unless they start the submenu or follow one, and after them unless they end it or a
    // separator follows.
    void Rebuild(const std::vector<std::string>& files) const;
};

} // namespace tavrik
