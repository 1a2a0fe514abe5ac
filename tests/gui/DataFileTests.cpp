// "Open..." loading a data file into the "Info" tab, names that are no file, and "Save Uncompressed
// State...".
#include "FormFixture.h"
#include "GuiTestRegistry.h"

#include "app/Files.h"
#include "support/SaveStateBuilder.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <optional>

namespace tavrik::test {

namespace {

const std::string DataFileFilter =
    "Tavrik File (*.uss;*.ini;*.png;*.bmp;*.iff;*.neo;*.pc1;*.pi1)|*.uss;*.ini;*.png;*.bmp;*.iff;*.neo;*.pc1;*.pi1|"
    "WinUAE Save State File (*.uss)|*.uss|INI File (*.ini)|*.ini|PNG File (*.png)|*.png|Bitmap File (*.bmp)|*.bmp|"
    "ILBM File (*.iff)|*.iff|NEO File (*.neo)|*.neo|DEGAS Compressed File (*.pc1)|*.pc1|DEGAS File (*.pi1)|*.pi1|"
    "All Files (*.*)|*.*";

std::vector<uint8_t> CompressedState() {
    SaveStateBuilder state;
    ChipRegisters registers;
    registers.COP1LC = 0x1000;
    registers.DDFSTRT = 0x38;
    registers.DDFSTOP = 0xD0;
    registers.COLOR[1] = 0x0F80;
    state.Compressed("CRAM", VariedChipRam(0x8000));
    state.Stored("CHIP", ChipChunkData(registers));
    state.End();
    return state.Data();
}

void Open(FormFixture& fixture, const std::optional<std::string>& path) {
    fixture.Dialogs.FileAnswers.push_back(path);
    fixture.Find<QAction>("mnuOpen")->trigger();
}

} // namespace

class DataFileTest : public QObject {
    Q_OBJECT

  private slots:
    void OpenLoadsASaveStateAndFillsTheInfoTab() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        const std::string path = WriteTestFile(fixture, "game.uss", CompressedState());
        Open(fixture, path);

        QCOMPARE(fixture.Dialogs.History.size(), size_t{1});
        QCOMPARE(fixture.Dialogs.History[0].Kind, std::string("open"));
        QCOMPARE(fixture.Dialogs.History[0].Text, std::string("Load Data File"));
        QCOMPARE(fixture.Dialogs.History[0].Detail, DataFileFilter);
        const QStringList lines = fixture.MemoLines("MemoInfo");
        QCOMPARE(lines.front(), QString("Amiga State File detected: UAE 4.10.1"));
        QVERIFY(lines.at(1).startsWith("ZLib compressed chunk CRAM found at offset $"));
        QVERIFY(lines.contains("Total chip memory: $8000 (32kb)"));
        QVERIFY(lines.contains("Copperlist address in chip memory: $1000"));
        QVERIFY(lines.contains("DDFStrt: $38, DDFStop: $D0, Width: 304"));
        QCOMPARE(form.windowTitle().toStdString(), "game.uss - " + form.ProgramTitle());
        QCOMPARE(form.DataFileName, path);
        QCOMPARE(form.Work().Memory.ChipRamSize, uint32_t{0x8000});
    }

    void ABadFileLeavesTheMemoAndCaptionAsTheyWere() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        auto* memo = fixture.Find<QPlainTextEdit>("MemoInfo");
        memo->setPlainText("earlier report");
        const QString caption = form.windowTitle();
        SaveStateBuilder state;
        const std::vector<uint8_t> notZlib(64, 0xA5);
        state.CompressedStream("CRAM", 0x1000, notZlib);
        state.End();
        Open(fixture, WriteTestFile(fixture, "broken.uss", state.Data()));

        const auto errors = fixture.Dialogs.Texts("error");
        QCOMPARE(errors.size(), size_t{1});
        QVERIFY(!errors.front().empty());
        QCOMPARE(memo->toPlainText(), QString("earlier report"));
        QCOMPARE(form.windowTitle(), caption);
        QVERIFY(form.Work().Memory.MemoryImage.empty());
    }

    // Chosen in the dialog or given as the window's argument: a name that is no file is reported, and the
    // work loaded before stays.
    void AMissingFileOrAFolderIsReportedAndChangesNothing() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        const std::string state = WriteTestFile(fixture, "game.uss", CompressedState());
        Open(fixture, state);
        const QString report = fixture.Find<QPlainTextEdit>("MemoInfo")->toPlainText();
        const QString caption = form.windowTitle();
        const std::string missing = fixture.Folder.File("nowhere.uss");
        Open(fixture, missing);
        form.OpenProgramArgument(missing, std::nullopt);
        form.OpenProgramArgument(fixture.Folder.Path().string(), std::nullopt);
        const std::string gone = "The file " + missing + " does not exist.";
        QCOMPARE(fixture.Dialogs.Texts("error"),
                 (std::vector<std::string>{gone, gone, fixture.Folder.Path().string() + " is a folder, not a file."}));
        QCOMPARE(fixture.Find<QPlainTextEdit>("MemoInfo")->toPlainText(), report);
        QCOMPARE(form.windowTitle(), caption);
        QCOMPARE(form.DataFileName, state);
        QCOMPARE(form.Work().Memory.ChipRamSize, uint32_t{0x8000});
    }

    // After a save state, a raw file is memory alone: the Info tab says so and keeps nothing of the state.
    void ARawFileAfterAStateIsMemoryAsItStands() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        Open(fixture, WriteTestFile(fixture, "game.uss", CompressedState()));
        fixture.Find<QPushButton>("ButtonGfxWalkCopperlist")->click();
        QVERIFY(!fixture.Find<QPlainTextEdit>("MemoCopperlist")->toPlainText().isEmpty());
        const std::vector<uint8_t> raw{1, 2, 3, 4, 5};
        Open(fixture, WriteTestFile(fixture, "dump.bin", raw));
        QCOMPARE(form.Work().Memory.MemoryImage, raw);
        QCOMPARE(fixture.MemoLines("MemoInfo"), QStringList{"The file was read as raw memory of 5 bytes."});
        QCOMPARE(fixture.Find<QPlainTextEdit>("MemoCopperlist")->toPlainText(), QString());
        QCOMPARE(form.Work().Memory.ChipRamOffset, 0u);
        QCOMPARE(fixture.Find<QLineEdit>("EditGfxPaletteAddress")->text(), QString("$0"));
        QCOMPARE(form.windowTitle().toStdString(), "dump.bin - " + form.ProgramTitle());
    }

    void CancellingTheOpenDialogLoadsNothing() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        fixture.Find<QPlainTextEdit>("MemoInfo")->setPlainText("kept");
        Open(fixture, std::nullopt);
        QCOMPARE(fixture.Find<QPlainTextEdit>("MemoInfo")->toPlainText(), QString("kept"));
        QVERIFY(form.DataFileName.empty());
    }

    void SaveUncompressedStateWritesTheInflatedCopyAndAsksBeforeOverwriting() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        Open(fixture, WriteTestFile(fixture, "game.uss", CompressedState()));
        QAction* save = fixture.Find<QAction>("mnuSaveUncompressedState");

        fixture.Dialogs.FileAnswers.push_back(fixture.Folder.File("copy.bin"));
        save->trigger();
        const std::string written = fixture.Folder.File("copy.uss");
        QCOMPARE(fixture.Dialogs.History.back().Text, std::string("Save Uncompressed State"));
        QCOMPARE(fixture.Dialogs.History.back().Detail,
                 std::string("WinUAE Save State File (*.uss)|*.uss|All Files (*.*)|*.*"));
        QCOMPARE(ReadWholeFile(written), form.Work().Memory.MemoryImage);

        const std::vector<uint8_t> other{9, 9};
        WriteWholeFile(written, other);
        fixture.Dialogs.FileAnswers.push_back(fixture.Folder.File("copy.uss"));
        fixture.Dialogs.ConfirmAnswers.push_back(false);
        save->trigger();
        QCOMPARE(fixture.Dialogs.Texts("confirm"),
                 std::vector<std::string>{written + " already exists! Are you sure you wish to overwrite it?"});
        QCOMPARE(ReadWholeFile(written), other);

        fixture.Dialogs.FileAnswers.push_back(fixture.Folder.File("copy"));
        fixture.Dialogs.ConfirmAnswers.push_back(true);
        save->trigger();
        QCOMPARE(ReadWholeFile(written), form.Work().Memory.MemoryImage);
    }
};

static const GuiTestRegistration<DataFileTest> dataFileRegistration;

} // namespace tavrik::test

#include "DataFileTests.moc"
