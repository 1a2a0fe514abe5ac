// The desktop program's entry: the single-instance guard, the main window and the event loop.
// An optional file argument is opened at start as "Open..." would open it; the options of tavrik-cli rip
// may follow it, and the rip they describe is what the window first shows.
#include "Unit1.h"
#include "app/Files.h"
#include "platform/DesktopServices.h"
#include "platform/HandlerGuard.h"
#include "platform/HelpWindow.h"
#include "platform/MachineIdentity.h"
#include "platform/ProgramInfo.h"
#include "platform/QtDialogs.h"
#include "platform/SingleInstance.h"
#include "update/VersionFile.h"
#include "workspace/RipRequest.h"

#include <CLI/CLI.hpp>

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QScreen>
#include <QStringList>

#include <algorithm>
#include <iostream>
#include <optional>

namespace {

struct StartRequest {
    std::optional<std::string> FileName;
    tavrik::RipOptionTexts RipTexts;
    std::optional<tavrik::RipRequest> Rip;
};

// The file to open and the rip options after it. Returns the exit status when the program should stop here:
// 0 after --help or --version, 2 after a usage error.
std::optional<int> ReadStartRequest(std::vector<std::string> words, StartRequest& request) {
    CLI::App app("Tavrik: rips graphics, palettes and maps out of Amiga memory snapshots.", "tavrik");
    tavrik::UseProgramOptionRules(app);
    app.set_version_flag("--version", "tavrik " + tavrik::VersionText(tavrik::RunningVersion()));
    app.add_option("FILE", request.FileName, "a save state, memory dump, picture or project to open at start");
    tavrik::AddRipOptions(app, request.RipTexts);
    const bool ripOptionsGiven = words.size() > 1 || (words.size() == 1 && words[0].starts_with("-"));
    std::reverse(words.begin(), words.end()); // CLI11 reads the words from the back, and takes them out
    try {
        app.parse(words);
    } catch (const CLI::Success& done) {
        return app.exit(done);
    } catch (const CLI::ParseError& error) {
        std::cerr << "tavrik: " << error.what() << "\nusage: tavrik [FILE [rip options]]  (tavrik --help for more)\n";
        return 2;
    }
    if (!request.FileName && ripOptionsGiven) {
        std::cerr << "tavrik: the rip options need a FILE to rip\nusage: tavrik [FILE [rip options]]\n";
        return 2;
    }
    if (ripOptionsGiven) request.Rip = tavrik::ReadRipRequest(request.RipTexts);
    return std::nullopt;
}

bool AsksForHelpOrVersion(int argc, char* argv[]) {
    return std::any_of(argv + 1, argv + argc, [](const std::string& word) {
        return word == "--help" || word == "-h" || word == "--version";
    });
}

QIcon BuiltInIcon() {
    QIcon icon;
    for (const QString& picture : QDir(":/icon").entryList(QDir::Files))
        icon.addFile(":/icon/" + picture);
    return icon;
}

} // namespace

int main(int argc, char* argv[]) {
    StartRequest start;
    // The help and the version need no display, so they are answered before the toolkit starts.
    if (AsksForHelpOrVersion(argc, argv)) return ReadStartRequest({argv + 1, argv + argc}, start).value_or(0);
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tavrik");
    // The desktop entry's name lets a Wayland desktop match the window to its menu entry and icon.
    QApplication::setDesktopFileName("org.tavrik.Tavrik");
    QApplication::setWindowIcon(BuiltInIcon());
    std::vector<std::string> words; // without the toolkit's own options, which QApplication took out
    for (const QString& word : QApplication::arguments().mid(1))
        words.push_back(word.toStdString());
    if (const std::optional<int> status = ReadStartRequest(words, start)) return *status;

    tavrik::QtDialogs dialogs;
    const tavrik::SingleInstance instance(tavrik::InstanceLockFolder(), dialogs);
    tavrik::LowerThreadPriority();

    tavrik::QtDesktopServices desktop;
    tavrik::HelpWindow help;
    const tavrik::FormServices services{dialogs, help, desktop, tavrik::ExecutableFolder(), tavrik::ReadMachineId("/")};
    tavrik::TForm1 form(services);
    dialogs.SetParent(&form);
    // Without a window manager a maximised window keeps its normal size; give it the screen then.
    if (const QScreen* screen = form.screen()) form.setGeometry(screen->availableGeometry());
    form.show();

    if (start.FileName) {
        tavrik::RunHandler(dialogs, [&] { form.OpenProgramArgument(*start.FileName, start.Rip); });
    }

    return tavrik::RunEventLoop([] { return QApplication::exec(); }, std::cerr);
}
