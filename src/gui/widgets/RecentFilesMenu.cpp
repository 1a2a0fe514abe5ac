// The "Open Recent" submenu's items, rebuilt from the recent-files list.
#include "widgets/RecentFilesMenu.h"

#include "app/Files.h"
#include "widgets/QtText.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

namespace tavrik {

namespace {

bool IsTagged(const QAction* item) { return item->data().toULongLong() == RecentFilesTag; }

QAction* Tagged(QAction* item) {
    item->setData(static_cast<qulonglong>(RecentFilesTag));
    return item;
}

QAction* TaggedSeparator(QMenu* owner) {
    auto* separator = new QAction(owner);
    separator->setSeparator(true);
    return Tagged(separator);
}

} // namespace

void RecentFilesMenu::Rebuild(const std::vector<std::string>& files) const {
    // Not deleted at once: the chosen item may be the one whose handler runs this.
    for (QAction* old : Owner->actions())
        if (IsTagged(old)) {
            Owner->removeAction(old);
            old->deleteLater();
        }
    if (files.empty()) return;
    const QList<QAction*> items = Owner->actions();
    const auto position = static_cast<qsizetype>(std::clamp<qsizetype>(MenuPosition, 0, items.size()));
    QAction* before = position < items.size() ? items[position] : nullptr;
    QList<QAction*> inserted;
    if (position > 0 && !items[position - 1]->isSeparator()) inserted.push_back(TaggedSeparator(Owner));
    for (size_t index = 0; index < files.size(); ++index) {
        const std::string shown = ShowFullPath ? files[index] : FileNamePart(files[index]);
        auto* item = Tagged(new QAction(QText("&" + std::to_string(index + 1) + "  " + shown), Owner));
        QObject::connect(item, &QAction::triggered, Owner, [choose = OnChoose, index] { choose(index); });
        inserted.push_back(item);
    }
    if (before && !before->isSeparator()) inserted.push_back(TaggedSeparator(Owner));
    Owner->insertActions(before, inserted);
}

} // namespace tavrik
