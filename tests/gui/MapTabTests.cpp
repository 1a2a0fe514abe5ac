// The "Map Ripper" tab's controls and the "Map 2" tab built from copies of them.
#include "FormFixture.h"
#include "GuiTestRegistry.h"

#include "ImageView.h"
#include "MapTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

#include <algorithm>

namespace tavrik::test {

namespace {

QList<QWidget*> DirectControls(const QWidget* page) { return page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly); }

bool NotCloned(const QString& name) {
    return std::any_of(std::begin(MapControlsNotCloned), std::end(MapControlsNotCloned),
                       [&](const char* excluded) { return name == QLatin1String(excluded); });
}

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

bool HiddenOnPurpose(const QWidget* control) {
    return control->isHidden() && control->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

// Compares what a user sees of a control and its copy; returns what differs.
QString Difference(const QWidget* source, const QWidget* copy) {
    if (QString(source->metaObject()->className()) != copy->metaObject()->className()) return "class";
    if (source->geometry() != copy->geometry()) return "geometry";
    if (source->toolTip() != copy->toolTip()) return "hint";
    if (source->isEnabled() != copy->isEnabled()) return "enabled";
    if (HiddenOnPurpose(source) != HiddenOnPurpose(copy)) return "hidden";
    if (source->property("helpContext") != copy->property("helpContext")) return "help context";
    if (source->font() != copy->font()) return "font";
    if (auto* label = qobject_cast<const QLabel*>(source))
        if (label->text() != qobject_cast<const QLabel*>(copy)->text() ||
            label->wordWrap() != qobject_cast<const QLabel*>(copy)->wordWrap())
            return "label";
    if (auto* edit = qobject_cast<const QLineEdit*>(source))
        if (edit->text() != qobject_cast<const QLineEdit*>(copy)->text() ||
            edit->maxLength() != qobject_cast<const QLineEdit*>(copy)->maxLength())
            return "edit";
    if (auto* combo = qobject_cast<const QComboBox*>(source)) {
        auto* other = qobject_cast<const QComboBox*>(copy);
        if (Items(combo) != Items(other) || combo->currentIndex() != other->currentIndex() ||
            combo->isEditable() != other->isEditable() || combo->maxVisibleItems() != other->maxVisibleItems())
            return "combo";
    }
    if (auto* button = qobject_cast<const QAbstractButton*>(source))
        if (button->text() != qobject_cast<const QAbstractButton*>(copy)->text() ||
            button->isChecked() != qobject_cast<const QAbstractButton*>(copy)->isChecked())
            return "button";
    if (auto* slider = qobject_cast<const QSlider*>(source)) {
        auto* other = qobject_cast<const QSlider*>(copy);
        if (slider->minimum() != other->minimum() || slider->maximum() != other->maximum() ||
            slider->singleStep() != other->singleStep() || slider->pageStep() != other->pageStep() ||
            slider->value() != other->value())
            return "slider";
    }
    if (auto* memo = qobject_cast<const QPlainTextEdit*>(source))
        if (memo->lineWrapMode() != qobject_cast<const QPlainTextEdit*>(copy)->lineWrapMode() ||
            memo->toPlainText() != qobject_cast<const QPlainTextEdit*>(copy)->toPlainText())
            return "memo";
    return {};
}

} // namespace

class MapTabTest : public QObject {
    Q_OBJECT

  private slots:
    void FieldsCarryTheirDefaultsHintsAndItems() {
        FormFixture fixture;
        fixture.Create();
        QCOMPARE(fixture.Find<QLineEdit>("EditMapAddress")->text(), QString("$0"));
        QCOMPARE(fixture.Find<QLineEdit>("EditMapWidthInTiles")->text(), QString("40"));
        QCOMPARE(fixture.Find<QLineEdit>("EditMapWidthInTiles")->toolTip(), QString("Width of the map (in tiles)"));
        QCOMPARE(fixture.Find<QLineEdit>("EditMapHeightInTiles")->text(), QString("32"));
        QCOMPARE(fixture.Find<QLineEdit>("EditMapMask")->text(), QString("$ffffffff"));
        QCOMPARE(fixture.Find<QLineEdit>("EditMapFlipYMask")->text(), QString("$0"));
        QCOMPARE(fixture.Find<QLineEdit>("EditMapTilesPerBlockAcross")->maxLength(), 2);
        QCOMPARE(fixture.Find<QLabel>("LabelMapFlipYMask")->text(), QString("Flip-Y Mask"));
        QCOMPARE(fixture.Find<QLabel>("LabelMapTileIndexReplacements")->text(),
                 QString("Replacement Tiles (Old-Old2 = New)"));
        QCOMPARE(Items(fixture.Find<QComboBox>("ComboBoxMapMemoryType")),
                 QStringList({"Byte", "Word", "Longword", "Pointers", "Word Pointers"}));
        QCOMPARE(Items(fixture.Find<QComboBox>("ComboBoxMapCustomGame")),
                 QStringList({"", "Action Fighter", "Battle Squadron", "Brat", "Captain Fizz", "Lost Vikings",
                              "Quadralien", "Yo! Joe!"}));
        QCOMPARE(fixture.Find<QComboBox>("ComboBoxMapScaleMode")->currentText(), QString("Scale to fit"));
        auto* tileSize = fixture.Find<QComboBox>("ComboBoxMapTileSize");
        QVERIFY(tileSize->isEditable());
        QCOMPARE(tileSize->maxVisibleItems(), 12);
        QCOMPARE(tileSize->count(), 11);
        QCOMPARE(Items(fixture.Find<QComboBox>("ComboBoxMapMatches")), QStringList({"- No matches found -"}));
        auto* zoom = fixture.Find<QSlider>("GaugeBarMapZoom");
        QCOMPARE(QList<int>({zoom->minimum(), zoom->maximum(), zoom->singleStep(), zoom->pageStep(), zoom->value()}),
                 QList<int>({10, 400, 10, 20, 200}));
        QCOMPARE(fixture.Find<QLabel>("LabelMapZoom")->text(), QString("Zoom:"));
        QCOMPARE(fixture.Find<QCheckBox>("CheckBoxMapShowIndexes")->toolTip(),
                 QString("Show the tile data as hex numbers in the Map Data tab"));
        QVERIFY(HiddenOnPurpose(fixture.Find<QLabel>("LabelMapMapIsActive")));
        QCOMPARE(fixture.Find<QLineEdit>("EditMapKeyCapture")->maxLength(), 3);
        QVERIFY(fixture.Find<TImgView32>("ImgView32Map"));
        QCOMPARE(fixture.Find<QWidget>("EditMapMask")->property("helpContext").toInt(), 2001);
        QCOMPARE(fixture.Find<QWidget>("ComboBoxMapCustomGame")->property("helpContext").toInt(), 2005);
    }

    void ControlsDoNotOverlapAndCaptionsFit() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        form.PageControl()->setCurrentIndex(1);
        form.show();
        QList<QWidget*> placed;
        for (QWidget* control : DirectControls(form.PageControl()->widget(1)))
            if (control->isVisible() && control->objectName() != "EditMapKeyCapture") placed << control;
        for (int i = 0; i < placed.size(); ++i) {
            for (int j = i + 1; j < placed.size(); ++j)
                QVERIFY2(!placed[i]->geometry().intersects(placed[j]->geometry()),
                         qPrintable(placed[i]->objectName() + " overlaps " + placed[j]->objectName()));
            if (auto* label = qobject_cast<QLabel*>(placed[i]); label && !label->wordWrap())
                QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->objectName()));
            if (auto* check = qobject_cast<QCheckBox*>(placed[i]))
                QVERIFY2(check->sizeHint().width() <= check->width(), qPrintable(check->objectName()));
            if (auto* button = qobject_cast<QPushButton*>(placed[i]))
                QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) + 8 <= button->width(),
                         qPrintable(button->objectName()));
        }
        QWidget* view = fixture.Find<QWidget>("ImgView32Map");
        QVERIFY(view->width() > 100 && view->height() > 100);
    }

    void Map2TabHoldsACopyOfEveryControlButTheFour() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        const QWidget* source = form.PageControl()->widget(1);
        const QWidget* target = form.PageControl()->widget(5);
        int copies = 0;
        for (const QWidget* control : DirectControls(source)) {
            QString name = control->objectName();
            const QString copyName = name.replace("Map", "Map2");
            const auto* copy = target->findChild<QWidget*>(copyName, Qt::FindDirectChildrenOnly);
            if (NotCloned(control->objectName())) {
                if (copyName == "ImgView32Map2" || copyName == "EditMap2KeyCapture") continue; // the tab's own
                QVERIFY2(!copy, qPrintable(copyName));
                continue;
            }
            QVERIFY2(copy, qPrintable(copyName));
            const QString difference = Difference(control, copy);
            QVERIFY2(difference.isEmpty(), qPrintable(copyName + ": " + difference));
            ++copies;
        }
        QCOMPARE(copies, DirectControls(source).size() - 4);
        QCOMPARE(DirectControls(target).size(), copies + 2);
        for (const char* name : {"EditMap2Address", "ButtonCreateMap2", "LabelMap2Map2IsActive", "ImgView32Map2",
                                 "EditMap2KeyCapture", "MemoMap2TileIndexReplacements", "GaugeBarMap2Zoom"})
            QVERIFY2(target->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly), name);
        QVERIFY(fixture.Dialogs.History.empty());
    }

    void CopiesShowOnTheMap2Tab() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        form.show();
        form.PageControl()->setCurrentIndex(5);
        QVERIFY(fixture.Find<QPushButton>("ButtonCreateMap2")->isVisible());
        QVERIFY(!fixture.Find<QLabel>("LabelMap2Map2IsActive")->isVisible());
        QVERIFY(fixture.Find<TImgView32>("ImgView32Map2")->isVisible());
    }

    void ANameWithoutMapOrAnUnknownKindIsReportedAndTheCopyGoesOn() {
        FormFixture fixture;
        QWidget source;
        QWidget target;
        (new QLabel("plain", &source))->setObjectName("Label1");
        (new QGroupBox("frame", &source))->setObjectName("GroupBoxMapFrame");
        (new QLabel("after", &source))->setObjectName("LabelMapAfter");
        CloneMapTab(&source, &target, false, {}, fixture.Dialogs, &target);
        QCOMPARE(fixture.Dialogs.Texts("error"),
                 std::vector<std::string>(
                     {"Error creating a suitable control name Label1", "Error duplicating control GroupBoxMapFrame"}));
        QCOMPARE(target.findChild<QLabel*>("Label1_")->text(), QString("plain"));
        QCOMPARE(target.findChild<QLabel*>("LabelMap2After")->text(), QString("after"));
        QCOMPARE(DirectControls(&target).size(), 2);
    }

    void CopyingTwiceFindsTheNamesTaken() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        QWidget extra;
        CloneMapTab(form.PageControl()->widget(1), &extra, false, {}, fixture.Dialogs, &form);
        QVERIFY(DirectControls(&extra).isEmpty());
        const auto errors = fixture.Dialogs.Texts("error");
        QCOMPARE(errors.size(), static_cast<size_t>(DirectControls(form.PageControl()->widget(1)).size() - 4));
        QCOMPARE(errors.front(), std::string("Error duplicating control LabelMapAddress"));
    }

    void CopiesGetTheHandlersOfTheirSourcesWhenAsked() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        QWidget* source = form.PageControl()->widget(1);
        fixture.Find<QPushButton>("ButtonCreateMap")->setEnabled(true);
        QStringList clicked;
        MapHandlerTable handlers;
        handlers["ButtonCreateMap"] = [&](QWidget* control) {
            auto* button = qobject_cast<QPushButton*>(control);
            QObject::connect(button, &QPushButton::clicked, [&clicked, button] { clicked << button->objectName(); });
        };
        QWidget wired;
        CloneMapTab(source, &wired, true, handlers, fixture.Dialogs, &wired);
        QWidget unwired;
        CloneMapTab(source, &unwired, false, handlers, fixture.Dialogs, &unwired);
        wired.findChild<QPushButton*>("ButtonCreateMap2")->click();
        unwired.findChild<QPushButton*>("ButtonCreateMap2")->click();
        QCOMPARE(clicked, QStringList({"ButtonCreateMap2"}));
    }
};

static const GuiTestRegistration<MapTabTest> mapTabRegistration;

} // namespace tavrik::test

#include "MapTabTests.moc"
