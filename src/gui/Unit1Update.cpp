// TForm1's updates: "Check for updates" and the update timer running the update check, its outcome applied
// to the settings and the exit order, the old executable removed at start and "Generate update".
#include "Unit1.h"

#include "platform/HandlerGuard.h"
#include "update/GenerateUpdate.h"
#include "update/TFormUpdate.h"

#include <QAction>
#include <QDir>
#include <QScreen>
#include <QTimer>

namespace tavrik {

namespace {

// The automatic check waits until the window has come up.
constexpr int UpdateTimerDelayMs = 1000;

// Disables "Check for updates" while a check runs, so a second one cannot start from the events the
// first lets through.
class ItemDisabled {
  public:
    explicit ItemDisabled(QAction* item) : Item(item) { Item->setEnabled(false); }
    ~ItemDisabled() { Item->setEnabled(true); }
    ItemDisabled(const ItemDisabled&) = delete;
    ItemDisabled& operator=(const ItemDisabled&) = delete;

  private:
    QAction* Item;
};

} // namespace

void TForm1::ConnectUpdateMenuItems() {
    ConnectMenuItem("mnuCheckforUpdates", [this] { CheckForUpdates(UpdateSender::Menu); });
    ConnectMenuItem("mnuGenerateUpdate", [this] { GenerateUpdateClick(); });
    TimerUpdate = new QTimer(this);
    TimerUpdate->setObjectName("TimerUpdate");
    TimerUpdate->setSingleShot(true);
    TimerUpdate->setInterval(UpdateTimerDelayMs);
    ConnectHandler(TimerUpdate, &QTimer::timeout, this, UserDialogs(),
                   [this] { CheckForUpdates(UpdateSender::Timer); });
}

// Start-up: the copy a replacement left aside is deleted, the developer's command shown where the change
// log lies beside the program, and the automatic check armed at most once per third of a day.
void TForm1::PrepareUpdates() {
    Files = {ProgramFolder(), RunningProgramFiles().ExecutableName};
    DeleteOldExecutable(Files);
    const bool developer = GenerateUpdateVisible(ProgramFolder());
    for (const char* name : {"mnuGenerateUpdate", "mnuDeveloperSeparator"})
        findChild<QAction*>(name)->setVisible(developer);
    if (UpdateCheckDue(Settings, CurrentDateTime())) TimerUpdate->start();
}

void TForm1::CheckForUpdates(UpdateSender sender) {
    auto* item = findChild<QAction*>("mnuCheckforUpdates");
    if (!item->isEnabled()) return;
    const ItemDisabled disabled(item);
    UpdateCheckOptions options;
    options.UpdateServer = Settings.UpdateServer;
    options.Files = Files;
    options.ReplaceRunningExecutable = Settings.ReplaceRunningExecutable;
    options.Sender = sender;
    options.Now = CurrentDateTime();
    options.MachineId = MachineId();
    options.TotalRunTime = TotalRunTime;
    options.Version = RunningVersion();
    if (const QScreen* shown = screen()) {
        options.ScreenWidth = shown->size().width();
        options.ScreenHeight = shown->size().height();
    }
    if (!UpdateView) UpdateView = std::make_unique<UpdateWindowOfForm>(this);
    ApplyUpdateResult(tavrik::CheckForUpdates(options, UserDialogs(), *UpdateView));
}

void TForm1::ApplyUpdateResult(const UpdateCheckResult& result) {
    if (result.LastUpdateCheck) Settings.LastUpdateCheck = *result.LastUpdateCheck;
    if (result.ReplaceRunningExecutable) {
        Settings.ReplaceRunningExecutable = *result.ReplaceRunningExecutable;
        ReplaceExecutableClick();
    }
    if (result.OpenArchiveAtExit) OpenArchiveAtExit = *result.OpenArchiveAtExit;
    if (result.ExecutableReplaced) {
        ExecutableReplaced = true;
        // The exit order saves the work and starts the new executable.
        close();
    }
}

void TForm1::GenerateUpdateClick() {
    const GenerateUpdatePaths paths{ProgramFolder(), QDir::currentPath().toStdString() + "/"};
    if (const auto versionFile = GenerateUpdate(paths, RunningVersion(), UserDialogs()))
        Services.Desktop.OpenDocument(*versionFile);
}

} // namespace tavrik
