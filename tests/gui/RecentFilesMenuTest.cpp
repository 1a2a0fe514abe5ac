// The "Open Recent" items in a submenu that holds items of its own: the fencing separators, the numbered
// captions with and without folders, a rebuild that leaves the foreign items alone, and the chosen index.
#include "GuiTestRegistry.h"

#include "widgets/RecentFilesMenu.h"

#include <QAction>
#include <QMenu>
#include <QtTest>

namespace tavrik {

namespace {

QStringList Captions(const QMenu& menu) {
    QStringList captions;
    for (const QAction* item : menu.actions())
        captions.push_back(item->isSeparator() ? "-" : item->text());
    return captions;
}

} // namespace

class RecentFilesMenuTest : public QObject {
    Q_OBJECT

  private slots:
    void EntriesAmongOtherItemsAreFencedAndReplacedOnRebuild() {
        QMenu menu;
        menu.addAction("Clear list");
        menu.addAction("Reopen");
        std::vector<size_t> chosen;
        const RecentFilesMenu recent{&menu, false, 1, [&](size_t index) { chosen.push_back(index); }};
        recent.Rebuild({"/p/y.ini", "/p/x.ini"});
        QCOMPARE(Captions(menu), QStringList({"Clear list", "-", "&1  y.ini", "&2  x.ini", "-", "Reopen"}));
        menu.actions().at(3)->trigger();
        QCOMPARE(chosen, std::vector<size_t>{1});

        recent.Rebuild({"/p/x.ini", "/p/y.ini", "/p/z.ini"});
        QCOMPARE(Captions(menu),
                 QStringList({"Clear list", "-", "&1  x.ini", "&2  y.ini", "&3  z.ini", "-", "Reopen"}));
        recent.Rebuild({});
        QCOMPARE(Captions(menu), QStringList({"Clear list", "Reopen"}));
    }

    void AnEmptySubmenuGetsNoSeparatorsAndFullPathsWhenAsked() {
        QMenu menu;
        const RecentFilesMenu recent{&menu, true, 5, [](size_t) {}};
        recent.Rebuild({"/p/a.ini"});
        QCOMPARE(Captions(menu), QStringList({"&1  /p/a.ini"}));
    }
};

static const test::GuiTestRegistration<RecentFilesMenuTest> recentFilesMenuRegistration;

} // namespace tavrik

#include "RecentFilesMenuTest.moc"
