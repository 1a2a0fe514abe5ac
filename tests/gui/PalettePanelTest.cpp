// The palette section of the "Tile Ripper" tab, driven through the main window: the "Palette" menu, the
// palette buttons, the palette widget's popup menu on both tabs that use it, and binary palette files.
#include "ripper/PalettePanel.h"
#include "ripper/RipperPage.h"

#include "FormFixture.h"
#include "GuiTestRegistry.h"
#include "widgets/ColorPalette.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <memory>

namespace tavrik::test {

namespace {

PaletteEntry Grey(uint8_t level) { return PaletteEntry{level, level, level, 0}; }
PaletteEntry Rgb(uint8_t red, uint8_t green, uint8_t blue) { return PaletteEntry{blue, green, red, 0}; }

bool SameEntry(const PaletteEntry& a, const PaletteEntry& b) {
    return a.Blue == b.Blue && a.Green == b.Green && a.Red == b.Red && a.Reserved == b.Reserved;
}

bool SameEntries(const std::array<PaletteEntry, 256>& a, const std::array<PaletteEntry, 256>& b) {
    for (size_t i = 0; i < a.size(); ++i)
        if (!SameEntry(a[i], b[i])) return false;
    return true;
}

} // namespace

class PalettePanelTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        Fixture = std::make_unique<FormFixture>();
        Form = &Fixture->Create();
        Answers = &Fixture->Dialogs;
        Panel = &Form->Ripper().Palette();
        Widget = Panel->PaletteWidget();
        Menu = Form->findChild<QMenu*>("PopupMenuPalette");
        QVERIFY(Menu);
        Trigger("mnuDefaultPalette");
        ForgetRips();
    }

    void cleanup() {
        if (Menu) Menu->hide();
        Fixture.reset();
    }

    void CellHintsAndMenuItemsAreLive() {
        QCOMPARE(Widget->HintFor(2), QString("RGB(238, 0, 0)\nHex: EE0000"));
        QCOMPARE(Widget->PopupMenu(), Menu);
        for (const char* name : {"mnuColourBlack", "mnuColourFuchsia", "mnuColourCustom", "mnuSetAsSearchBackground",
                                 "mnuSwap4Colours", "mnuLoadPaletteFromBinaryFile", "mnuC64Palette"})
            QVERIFY2(Action(name)->isEnabled(), name);
    }

    void CellSizeFollowsTheShownColours_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("cellSize");
        QTest::addColumn<QString>("secondColour");
        QTest::newRow("C64 palette") << "mnuC64Palette" << 16 << 32 << QString::number(0xFFFFFF);
        QTest::newRow("default palette") << "mnuDefaultPalette" << 32 << 16 << QString::number(0xA0A0A0);
        QTest::newRow("black and white") << "mnuBlackAndWhite" << 256 << 8 << QString::number(0xFEFEFE);
    }

    void CellSizeFollowsTheShownColours() {
        QFETCH(QString, item);
        QFETCH(int, shown);
        QFETCH(int, cellSize);
        QFETCH(QString, secondColour);
        Trigger("mnuBlackAndWhite");
        ForgetRips();
        Trigger(item);
        QCOMPARE(Widget->Count(), shown);
        QCOMPARE(Widget->CellSize(), cellSize);
        QCOMPARE(Widget->Colours().at(0), QString("0"));
        QCOMPARE(Widget->Colours().at(1), secondColour);
        ExpectRips(1);
    }

    void SwappingSixteenTwiceRestoresTheEntries() {
        const auto before = Form->Work().Palette.Entries;
        Trigger("mnuSwap16Colours");
        QVERIFY(SameEntry(Form->Work().Palette.Entries[0], before[16]));
        QVERIFY(SameEntry(Form->Work().Palette.Entries[16], before[0]));
        Trigger("mnuSwap16Colours");
        QVERIFY(SameEntries(Form->Work().Palette.Entries, before));
        ExpectRips(2);
    }

    void DuplicateShowsAllEntriesWithTrailingRepeatsTrimmed() {
        const auto before = Form->Work().Palette.Entries;
        Trigger("mnuDuplicate4Colours");
        const auto& entries = Form->Work().Palette.Entries;
        for (size_t i = 0; i < 4; ++i)
            QVERIFY(SameEntry(entries[4 + i], before[i]));
        for (size_t i = 8; i < 256; ++i)
            QVERIFY(SameEntry(entries[i], before[i]));
        QCOMPARE(Form->Work().Palette.Colours.Count(), 256);
        // 32 colours of the default palette, then black up to entry 255: one black is shown.
        QCOMPARE(Widget->Count(), 33);
        QCOMPARE(Widget->CellSize(), 16);
        QCOMPARE(Widget->Colours().at(4), QString::number(0));
        QCOMPARE(Widget->Colours().at(5), QString::number(0xA0A0A0));
        ExpectRips(1);
    }

    void ExtraHalfBriteHalvesTheFirstThirtyTwo() {
        Trigger("mnuExtraHalfBriteColours");
        // Default entry 1 is a0a0a0, entry 31 white.
        QVERIFY(SameEntry(Form->Work().Palette.Entries[33], Grey(0x50)));
        QVERIFY(SameEntry(Form->Work().Palette.Entries[63], Grey(0x7F)));
        // Entries 64 to 255 stay black and show as one cell.
        QCOMPARE(Widget->Count(), 65);
        QCOMPARE(Widget->CellSize(), 8);
        ExpectRips(1);
    }

    void CustomColourReplacesTheCellItWasOpenedOn() {
        QVERIFY(RightClick(CellCentre(5)));
        QCOMPARE(Panel->PopupState().PopupCell, 5);
        QCOMPARE(Panel->PopupState().PopupColour, Colour{0x00EEFF});
        Answers->InputAnswers.push_back("FF0000");
        Trigger("mnuColourCustom");

        QCOMPARE(Answers->History.back().Kind, std::string("input"));
        QCOMPARE(Answers->History.back().Text, std::string("Replace colour"));
        QCOMPARE(Answers->History.back().Detail, std::string("Colour in RRGGBB format:|FFEE00"));
        const Workspace& ws = Form->Work();
        QVERIFY(SameEntry(ws.Palette.Entries[5], Rgb(255, 0, 0)));
        QCOMPARE(ws.Palette.Colours.Get(5), int32_t{0x0000FF});
        QVERIFY(SameEntry(ws.TileSheet.ColourTable[5], Rgb(255, 0, 0)));
        QCOMPARE(Widget->Colours().at(5), QString::number(0x0000FF));
        QVERIFY(SameEntry(ws.Palette.Entries[4], Rgb(0xDD, 0x88, 0x00)));
        ExpectRips(1);
    }

    void CustomAnswerThatIsNoNumberChangesNothing() {
        const auto before = Form->Work().Palette.Entries;
        QVERIFY(RightClick(CellCentre(5)));
        Answers->InputAnswers.push_back("zz");
        Trigger("mnuColourCustom");
        QVERIFY(SameEntries(Form->Work().Palette.Entries, before));
        QCOMPARE(Form->Work().Palette.Colours.Get(5), int32_t{0x00EEFF});
        // A cancelled box changes nothing either.
        QVERIFY(RightClick(CellCentre(5)));
        Trigger("mnuColourCustom");
        QVERIFY(SameEntries(Form->Work().Palette.Entries, before));
        ExpectRips(0);
        QVERIFY(Answers->Texts("error").empty());
    }

    void ColourItemReplacesThePopupCell() {
        QVERIFY(RightClick(CellCentre(3)));
        Trigger("mnuColourBlue");
        QVERIFY(SameEntry(Form->Work().Palette.Entries[3], Rgb(0, 0, 255)));
        QCOMPARE(Widget->ColourOf(3), Colour{0xFF0000});
        QCOMPARE(Form->Work().SearchBackgroundColour, Colour{0xFF00FF});
        ExpectRips(1);
    }

    void RightClickOutsideTheCellsOpensNoMenu() {
        // 32 colours at 16 pixels fill the upper 64 rows of the widget.
        QVERIFY(!RightClick(QPoint(10, 100)));
        QCOMPARE(Panel->PopupState().PopupCell, -1);
        QCOMPARE(Panel->PopupState().PopupColour, Colour{0xFF00FF});
        Trigger("mnuColourRed");
        Trigger("mnuSetAsSearchBackground");
        QCOMPARE(Form->Work().Palette.Colours.Get(0), int32_t{0});
        QCOMPARE(Form->Work().SearchBackgroundColour, Colour{0xFF00FF});
        ExpectRips(0);
    }

    void SetAsSearchBackgroundTakesThePopupColour() {
        QVERIFY(RightClick(CellCentre(2)));
        QVERIFY(Action("mnuSetAsSearchBackground")->isVisible());
        QVERIFY(Action("mnuPopupMenuPaletteDivider")->isVisible());
        Trigger("mnuSetAsSearchBackground");
        QCOMPARE(Form->Work().SearchBackgroundColour, Colour{0x0000EE});
        ExpectRips(0);
    }

    void OnTheMapSearchTabTheMenuSetsOnlyTheSearchBackground() {
        const auto before = Form->Work().Palette.Entries;
        QVERIFY(RightClick(CellCentre(6)));
        Menu->hide();
        Form->PageControl()->setCurrentWidget(Form->findChild<QWidget*>("TabSheetSearch"));
        Menu->popup(QPoint(0, 0));
        QVERIFY(!Action("mnuSetAsSearchBackground")->isVisible());
        QVERIFY(!Action("mnuPopupMenuPaletteDivider")->isVisible());
        Trigger("mnuColourGreen");
        QCOMPARE(Form->Work().SearchBackgroundColour, Colour{0x00FF00});

        Answers->InputAnswers.push_back("0000FF");
        Trigger("mnuColourCustom");
        QCOMPARE(Answers->History.back().Detail, std::string("Colour in RRGGBB format:|00FF00"));
        QCOMPARE(Form->Work().SearchBackgroundColour, Colour{0xFF0000});
        Answers->InputAnswers.push_back("zz");
        Trigger("mnuColourCustom");
        QCOMPARE(Form->Work().SearchBackgroundColour, Colour{0xFF0000});

        QVERIFY(SameEntries(Form->Work().Palette.Entries, before));
        QCOMPARE(Widget->Colours().at(6), QString::number(0x00FF88));
        ExpectRips(0);

        Menu->hide();
        Form->PageControl()->setCurrentWidget(Form->findChild<QWidget*>("TabSheetGfx"));
        Menu->popup(QPoint(0, 0));
        QVERIFY(Action("mnuSetAsSearchBackground")->isVisible());
    }

    void SavedPalettesBeforeAnyLoadAreBlack() {
        Trigger("mnuBlackAndWhite");
        Click("ButtonECSPalette");
        const auto& entries = Form->Work().Palette.Entries;
        for (size_t i = 0; i < 32; ++i)
            QVERIFY(SameEntry(entries[i], PaletteEntry{}));
        QVERIFY(SameEntry(entries[32], Grey(255 - 32)));
        QCOMPARE(Form->Work().Palette.Colours.Count(), 32);
        // Thirty-two blacks show as two cells.
        QCOMPARE(Widget->Count(), 2);
        QCOMPARE(Widget->CellSize(), 32);

        Click("ButtonAGAPalette");
        QCOMPARE(Form->Work().Palette.Colours.Count(), 256);
        QVERIFY(SameEntry(entries[255], PaletteEntry{}));
        ExpectRips(3);
    }

    void SavedPaletteOfALoadIsShownAndRipped() {
        Snapshot().AgaPalette[200] = Rgb(7, 8, 9);
        Panel->ApplySavedPalette(SavedPalette::Aga);
        // Blacks up to entry 199, the one colour, then blacks that show as one cell.
        QVERIFY(SameEntry(Form->Work().TileSheet.ColourTable[200], Rgb(7, 8, 9)));
        QCOMPARE(Widget->Count(), 202);
        Panel->ApplySavedPalette(SavedPalette::None);
        QCOMPARE(Widget->Count(), 202);
        ExpectRips(1);
    }

    void CopperPaletteSetsTheFirstThirtyTwoEntries() {
        Trigger("mnuBlackAndWhite");
        std::array<PaletteEntry, 32> copper{};
        for (size_t i = 0; i < copper.size(); ++i)
            copper[i] = Rgb(static_cast<uint8_t>(i * 8), 0, 0);
        Panel->SetCopperPalette(copper);
        const Workspace& ws = Form->Work();
        QVERIFY(SameEntry(ws.Palette.Entries[31], Rgb(248, 0, 0)));
        QVERIFY(SameEntry(ws.Palette.Entries[32], Grey(255 - 32)));
        QVERIFY(SameEntry(ws.TileSheet.ColourTable[31], Rgb(248, 0, 0)));
        QCOMPARE(ws.Palette.Colours.Count(), 32);
        QCOMPARE(Widget->Count(), 32);
        ExpectRips(2);
    }

    void CopperlistButtonRunsTheCopperListWalk() {
        auto* start = Form->findChild<QLineEdit*>("EditGfxPaletteAddress");
        start->setText("not yet walked");
        Click("ButtonCopperlistPalette");
        // The walk writes the address it started from.
        QVERIFY(start->text() != "not yet walked");
    }

    void ShortBinaryPaletteFileReadsBlackPastItsEnd() {
        const std::string path = WriteTestFile(*Fixture, "short.pal", {0x0F, 0x00, 0x00, 0xF0, 0x00});
        Answers->FileAnswers.push_back(path);
        Trigger("mnuLoadPaletteFromBinaryFile");
        QCOMPARE(Answers->History.back().Kind, std::string("open"));
        QCOMPARE(Answers->History.back().Text, std::string("Open Palette"));
        QCOMPARE(Answers->History.back().Detail,
                 std::string("WinUAE Save State File (*.uss)|*.uss|All Files (*.*)|*.*"));
        const Workspace& ws = Form->Work();
        QVERIFY(SameEntry(ws.Palette.Entries[0], Rgb(255, 0, 0)));
        QVERIFY(SameEntry(ws.Palette.Entries[1], Rgb(0, 255, 0)));
        QVERIFY(SameEntry(ws.Palette.Entries[2], PaletteEntry{}));
        QVERIFY(SameEntry(ws.Palette.Entries[31], PaletteEntry{}));
        QCOMPARE(ws.Palette.Colours.Count(), 256);
        QCOMPARE(Widget->Count(), 3);
        QCOMPARE(Widget->CellSize(), 32);
        QVERIFY(Answers->Texts("error").empty());
        ExpectRips(1);
    }

    void BinaryPaletteDialogCancelledOrFileMissing() {
        const auto before = Form->Work().Palette.Entries;
        Trigger("mnuLoadPaletteFromBinaryFile");
        QCOMPARE(Form->Work().Palette.Colours.Count(), 32);
        ExpectRips(0);
        // A name that is no file still shows all 256 entries.
        Answers->FileAnswers.push_back(Fixture->Folder.File("missing.pal"));
        Trigger("mnuLoadPaletteFromBinaryFile");
        QVERIFY(SameEntries(Form->Work().Palette.Entries, before));
        QCOMPARE(Form->Work().Palette.Colours.Count(), 256);
        ExpectRips(1);
    }

  private:
    QAction* Action(const char* name) const {
        auto* action = Form->findChild<QAction*>(name);
        if (!action) qFatal("no menu item %s", name);
        return action;
    }
    void Trigger(const QString& name) const { Action(name.toUtf8().constData())->trigger(); }
    void Click(const char* name) const { Form->findChild<QPushButton*>(name)->click(); }

    QPoint CellCentre(int cell) const { return Widget->CellRect(cell).center(); }
    // A right click on the palette widget; tells whether the popup menu opened.
    bool RightClick(QPoint position) {
        Menu->hide();
        QContextMenuEvent event(QContextMenuEvent::Mouse, position, Widget->mapToGlobal(position));
        QApplication::sendEvent(Widget, &event);
        return Menu->isVisible();
    }

    ChipsetSnapshot& Snapshot() { return Form->Work().Memory.Snapshot; }

    // A palette change rips; the rip is seen in the tile sheet it rebuilds.
    void ForgetRips() { Form->Work().TileSheet = Image(); }
    void ExpectRips(int count) const { QCOMPARE(!Form->Work().TileSheet.Empty(), count > 0); }

    std::unique_ptr<FormFixture> Fixture;
    TForm1* Form = nullptr;
    ScriptedDialogs* Answers = nullptr;
    PalettePanel* Panel = nullptr;
    TmbColorPalette* Widget = nullptr;
    QMenu* Menu = nullptr;
};

static const GuiTestRegistration<PalettePanelTest> palettePanelRegistration;

} // namespace tavrik::test

#include "PalettePanelTest.moc"
