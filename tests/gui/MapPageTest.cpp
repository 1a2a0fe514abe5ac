// The two map tabs: the "Map 2" tab holds a copy of every control of the "Map Ripper" tab except the actual
// tile size and its label, named with "Map2" for every "Map", in the same order and alike in every way a
// user sees; each tab has its own view and key field.
#include "FormFixture.h"
#include "GuiTestRegistry.h"

#include "map/MapPage.h"
#include "ripper/RipperPage.h"
#include "widgets/ImageView.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace tavrik::test {

namespace {

QList<QWidget*> ControlsOf(const QWidget* page) { return page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly); }

// What a user sees of a control: its kind, caption or text, items, hint, help, state.
QStringList Look(const QWidget* control) {
    QStringList look{control->metaObject()->className(),
                     control->property("text").toString(),
                     control->toolTip(),
                     control->property("helpContext").toString(),
                     control->isEnabled() ? "enabled" : "disabled",
                     control->isHidden() ? "hidden" : "shown"};
    if (const auto* list = qobject_cast<const QComboBox*>(control)) {
        look << list->currentText() << QString::number(list->isEditable());
        for (int i = 0; i < list->count(); ++i)
            look << list->itemText(i);
    }
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(control)) look << memo->toPlainText();
    return look;
}

} // namespace

class MapPageTest : public QObject {
    Q_OBJECT

  private slots:
    void Map2TabCopiesEveryControlButTheTileSizeInOrder() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        const QList<QWidget*> first = ControlsOf(&form.Map(1));
        const QList<QWidget*> second = ControlsOf(&form.Map(2));
        QList<const QWidget*> originals;
        for (const QWidget* control : first)
            if (control->objectName() != "LabelMapTileSize" && control->objectName() != "ComboBoxMapTileSize")
                originals << control;
        QCOMPARE(second.size(), originals.size());
        QCOMPARE(originals.size(), first.size() - 2);
        for (qsizetype i = 0; i < originals.size(); ++i) {
            const QString name = QString(originals[i]->objectName()).replace("Map", "Map2");
            QCOMPARE(second[i]->objectName(), name);
            // New Project starts map 2 without a size; everything else looks as on the first tab.
            if (name == "EditMap2WidthInTiles" || name == "EditMap2HeightInTiles") continue;
            QCOMPARE(Look(second[i]), Look(originals[i]));
        }
        QVERIFY(form.Map(2).findChild<QWidget*>("LabelMap2Map2IsActive"));
        QVERIFY(fixture.Dialogs.History.empty());
    }

    // Either view takes the keys once clicked; only the first tab's "Map is active!" label shows it.
    void AClickOnAViewGivesItsKeyFieldTheFocus() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const MapPageWidgets& first = form.Map(1).Controls();
        for (const int map : {2, 1}) {
            form.PageControl()->setCurrentWidget(&form.Map(map));
            const MapPageWidgets& controls = form.Map(map).Controls();
            QTest::mouseClick(controls.View->viewport(), Qt::LeftButton);
            QVERIFY(controls.EditKeyCapture->hasFocus());
            QVERIFY(!first.LabelMapIsActive->isHidden());
            QVERIFY(form.Map(2).Controls().LabelMapIsActive->isHidden());
        }
        form.PageControl()->setCurrentWidget(&form.Ripper());
        QVERIFY(first.LabelMapIsActive->isHidden());
    }

    void EachTabLaysItsControlsBesideItsView() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        form.setWindowState(Qt::WindowNoState);
        form.resize(1042, 670);
        form.show();
        for (const int map : {1, 2}) {
            form.PageControl()->setCurrentWidget(&form.Map(map));
            const MapPageWidgets& controls = form.Map(map).Controls();
            QTRY_VERIFY(controls.View->isVisible());
            QVERIFY(controls.View->width() > 200 && controls.View->height() > 300);
            QVERIFY(controls.View->x() > controls.MemoTileIndexReplacements->geometry().right());
            QVERIFY(controls.EditAddress->geometry().right() < controls.ButtonCreateMap->x());
        }
    }
};

static const GuiTestRegistration<MapPageTest> mapPageRegistration;

} // namespace tavrik::test

#include "MapPageTest.moc"
