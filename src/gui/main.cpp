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

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QStringList>

#include <algorithm>
#include <iostream>
#include <optional>

namespace {

struct StartRequest {
    std::string FileName;
    std::optional<tavrik::RipRequest> Rip;
};

constexpr const char* Usage = "usage: tavrik [FILE [rip options]]\n"
                              "  FILE: a save state, memory dump or picture to open at start\n";

// The file to open and the rip options after it; a bad option ends the program with a usage error.
StartRequest ReadStartRequest(const QStringList& arguments) {
    tavrik::CommandArguments words;
    for (qsizetype i = 1; i < arguments.size(); ++i)
        words.push_back(arguments.at(i).toStdString());
    StartRequest request;
    if (words.empty()) return request;
    const tavrik::OptionReader options(words, tavrik::RipValueOptions(), tavrik::RipFlagOptions());
    options.ExpectPositionals(1);
    request.FileName = options.Positional(0, "FILE");
    if (words.size() > 1) request.Rip = tavrik::ReadRipRequest(options);
    return request;
}

} // namespace

int main(int argc, char* argv[]) {
    // The help needs no display, so it is answered before the toolkit starts.
    if (std::find(argv + 1, argv + argc, std::string("--help")) != argv + argc) {
        std::cout << Usage << "rip options (as tavrik-cli rip takes them):\n" << tavrik::RipOptionsHelp() << "\n";
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tavrik");
    StartRequest start;
    try {
        start = ReadStartRequest(QApplication::arguments());
    } catch (const tavrik::UsageError& error) {
        std::cerr << "tavrik: " << error.Message << "\n" << Usage;
        return 2;
    }

    tavrik::QtDialogs dialogs;
    const tavrik::SingleInstance instance(QDir::tempPath(), dialogs);
    tavrik::LowerThreadPriority();

    tavrik::QtDesktopServices desktop;
    tavrik::HelpWindow help;
    const tavrik::FormServices services{dialogs, help, desktop, tavrik::ExecutableFolder(), tavrik::ReadMachineId("/")};
    tavrik::TForm1 form(services);
    dialogs.SetParent(&form);
    // Without a window manager a maximised window keeps its normal size; give it the screen then.
    if (const QScreen* screen = form.screen()) form.setGeometry(screen->availableGeometry());
    form.show();

    if (!start.FileName.empty()) {
        tavrik::RunHandler(dialogs, [&] { form.OpenProgramArgument(start.FileName, start.Rip); });
    }

    return tavrik::RunEventLoop([] { return QApplication::exec(); }, std::cerr);
}
