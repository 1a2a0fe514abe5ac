// The test window's construction, test files and the values of its controls.
#include "FormFixture.h"

#include "app/Files.h"
#include "app/IniFile.h"
#include "app/Settings.h"
#include "map/MapPage.h"
#include "ripper/RipperPage.h"
#include "search/SearchPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace tavrik::test {

TForm1& FormFixture::Create(const std::string& machineId) {
    // The settings and the recent-files list stay in the test's own folder.
    qunsetenv("TAVRIK_CONFIG_DIR");
    const std::string settings = Folder.File(SettingsFileName);
    if (UpdateQuestionAnswered && !PathIsFile(settings))
        WriteWholeFile(settings, "[Settings]\nAutomaticUpdates=0\n");
    Help = std::make_unique<HelpWindow>(HelpRoot);
    Form = std::make_unique<TForm1>(FormServices{Dialogs, *Help, Desktop, ProgramFolder(), machineId});
    return *Form;
}

QStringList FormFixture::MemoLines(const char* memo) const {
    return Find<QPlainTextEdit>(memo)->toPlainText().split('\n');
}

QMap<QString, QString> ControlValues(const TForm1& form) {
    QMap<QString, QString> values;
    const QList<QWidget*> pages{&form.Ripper(), &form.Map(1), &form.Map(2), &form.Search()};
    for (const QWidget* page : pages) {
        for (const QLineEdit* field : page->findChildren<QLineEdit*>())
            if (!field->objectName().contains("KeyCapture") && !field->objectName().isEmpty())
                values[field->objectName()] = field->text();
        for (const QComboBox* list : page->findChildren<QComboBox*>())
            values[list->objectName()] = list->currentText();
        for (const QCheckBox* box : page->findChildren<QCheckBox*>())
            values[box->objectName()] = box->isChecked() ? "on" : "off";
        for (const QPlainTextEdit* memo : page->findChildren<QPlainTextEdit*>())
            values[memo->objectName()] = memo->toPlainText();
    }
    return values;
}

std::string WriteTestFile(const FormFixture& fixture, const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = fixture.Folder.File(name);
    WriteWholeFile(path, bytes);
    return path;
}

} // namespace tavrik::test
