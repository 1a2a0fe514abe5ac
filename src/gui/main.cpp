// The desktop program's entry: the single-instance guard, the main window and the event loop.
// One optional argument names a file to open at start, as "Open..." would open it.
#include "Unit1.h"
#include "platform/DesktopServices.h"
#include "platform/HandlerGuard.h"
#include "platform/HelpViewer.h"
#include "platform/MachineIdentity.h"
#include "platform/ProgramInfo.h"
#include "platform/QtDialogs.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QStringList>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tavrik");

    tavrik::QtDialogs dialogs;
    const tavrik::SingleInstance instance(QDir::tempPath(), dialogs);
    tavrik::LowerThreadPriority();

    tavrik::QtDesktopServices desktop;
    tavrik::BrowserHelpViewer help(desktop);
    const tavrik::FormServices services{dialogs, help, desktop, tavrik::ExecutableFolder(), tavrik::ReadMachineId("/")};
    tavrik::TForm1 form(services);
    dialogs.SetParent(&form);
    // Without a window manager a maximised window keeps its normal size; give it the screen then.
    if (const QScreen* screen = form.screen()) form.setGeometry(screen->availableGeometry());
    form.show();

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        const std::string fileName = arguments.at(1).toStdString();
        tavrik::RunHandler(dialogs, [&] { form.OpenChosenFile(fileName); });
    }

    try {
        QApplication::exec();
    } catch (...) {
        // An error escaping the event loop ends the program quietly.
    }
    return 0;
}
