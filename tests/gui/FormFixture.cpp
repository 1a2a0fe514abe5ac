// The test window's construction and test files.
#include "FormFixture.h"

#include "app/Files.h"
#include "app/IniFile.h"
#include "app/Settings.h"

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

std::string WriteTestFile(const FormFixture& fixture, const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = fixture.Folder.File(name);
    WriteWholeFile(path, bytes);
    return path;
}

} // namespace tavrik::test
