// A main window for one test: scripted dialogs, the help window, a desktop that records what it was
// asked, and a temporary program folder, so no test blocks on a dialog or writes beside the sources.
#pragma once

#include "Unit1.h"
#include "platform/DesktopServices.h"
#include "platform/HelpWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QMap>
#include <QStringList>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tavrik::test {

class RecordingDesktop : public DesktopServices {
  public:
    std::vector<std::string> Opened;
    std::vector<std::string> Started;

    bool OpenDocument(const std::string& pathOrUrl) override {
        Opened.push_back(pathOrUrl);
        return true;
    }
    bool StartProgram(const std::string& path) override {
        Started.push_back(path);
        return true;
    }
};

class FormFixture {
  public:
    TempDir Folder;
    ScriptedDialogs Dialogs;
    // Where the help window reads its pages; tests of missing pages point it elsewhere.
    QString HelpRoot = ":/help/";
    std::unique_ptr<HelpWindow> Help;
    RecordingDesktop Desktop;
    std::unique_ptr<TForm1> Form;
    // When set, a first start finds the automatic-update question already answered (No), as every start
    // after the first does; tests of the first start clear it.
    bool UpdateQuestionAnswered = true;

    // The program folder with its trailing separator.
    std::string ProgramFolder() const { return Folder.Path().string() + "/"; }
    // Builds the window (the start-up order runs); files meant to lie beside the program go in first.
    TForm1& Create(const std::string& machineId = "1234ABCD");

    template <typename Control> Control* Find(const char* name) const {
        return Form->findChild<Control*>(QString::fromLatin1(name));
    }
    // The lines of a memo of the window.
    QStringList MemoLines(const char* memo) const;
};

// Every value a user can set on the ripper, map and search tabs, by control name: what a project must give
// back.
QMap<QString, QString> ControlValues(const TForm1& form);

// Writes bytes into a file of the fixture's folder and returns its path.
std::string WriteTestFile(const FormFixture& fixture, const std::string& name, const std::vector<uint8_t>& bytes);

} // namespace tavrik::test
