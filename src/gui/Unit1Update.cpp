// TForm1's updates: "Check for updates" and the update timer running the shared update check beside the
// window (check, download and install on the update worker, questions on the window's thread), its outcome
// applied to the settings and the exit order, the old executable removed at start and "Generate update".
#include "Unit1.h"

#include "platform/HandlerGuard.h"
#include "update/GenerateUpdate.h"
#include "update/InstallUpdate.h"
#include "update/TFormUpdate.h"
#include "update/UpdateWorker.h"

#include <QAction>
#include <QDir>
#include <QTimer>

namespace tavrik {

namespace {

// The automatic check waits until the window has come up.
constexpr int UpdateTimerDelayMs = 1000;

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
    Updater = new UpdateWorker(this);
    UpdateView = std::make_unique<UpdateWindowOfForm>(this, [this] {
        if (!Updater->Busy()) return;
        CancelUpdate();
        EndUpdate();
    });
    connect(Updater, &UpdateWorker::Progress, this,
            [this](const DownloadProgress& progress) { UpdateView->UpdateDownload(progress); });
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

// "Check for updates" stays disabled from the check until the update ends, so only one runs at a time.
void TForm1::CheckForUpdates(UpdateSender sender) {
    auto* item = findChild<QAction*>("mnuCheckforUpdates");
    if (!item->isEnabled()) return;
    if (!HasUpdateServer(Settings.UpdateServer)) {
        if (sender == UpdateSender::Menu) UserDialogs().Information(NoUpdateServerMessage);
        return;
    }
    item->setEnabled(false);
    UpdateView->SetBusyCursor(true);
    const UpdateRequest request{Settings.UpdateServer, RunningVersion(), Files};
    auto server = std::make_shared<ServerVersion>();
    Updater->Start([request, server](TransferEvents& events) { *server = CheckUpdateServer(request, &events); },
                   [this, sender, server](const std::string& failure) {
                       UpdateView->SetBusyCursor(false);
                       RunHandler(UserDialogs(), [&] { UpdateCheckFinished(sender, failure, *server); });
                   });
}

void TForm1::UpdateCheckFinished(UpdateSender sender, const std::string& failure, const ServerVersion& server) {
    if (!failure.empty()) {
        UserDialogs().Error(failure);
        return EndUpdate();
    }
    Settings.LastUpdateCheck = CurrentDateTime();
    if (!server.Newer) {
        if (sender == UpdateSender::Menu) UserDialogs().Information(LatestVersionShownMessage);
        return EndUpdate();
    }
    if (!ProgramFolderWritable(Files.Folder)) {
        UserDialogs().Information(AvailableMessage(server.File.Newest, RunningVersion()) + ".\n\n" +
                                  PackageManagerMessage(Files.Folder));
        return EndUpdate();
    }
    if (!UserDialogs().Confirm(NewVersionQuestion(server.File, Files.Archive()))) return EndUpdate();
    UpdateView->ShowDownload({"Connecting to download site...", 0, 0});
    const UpdateRequest request{Settings.UpdateServer, RunningVersion(), Files};
    auto archive = std::make_shared<std::vector<uint8_t>>();
    Updater->Start(
        [request, file = server.File, archive](TransferEvents& events) {
            *archive = DownloadUpdate(request, file, &events);
        },
        [this, archive](const std::string& downloadFailure) {
            UpdateView->CloseDownload();
            RunHandler(UserDialogs(), [&] { UpdateDownloaded(downloadFailure, archive); });
        });
}

// The archive arrived whole and checked: replace now, or keep it for the user, as the setting says (asked
// once while it is undecided).
void TForm1::UpdateDownloaded(const std::string& failure, const std::shared_ptr<std::vector<uint8_t>>& archive) {
    if (!failure.empty()) {
        UserDialogs().Error(failure);
        return EndUpdate();
    }
    if (Settings.ReplaceRunningExecutable == 2) {
        Settings.ReplaceRunningExecutable = UserDialogs().InformationYesNo(ReplaceQuestion) ? 1 : 0;
        ReplaceExecutableClick();
    }
    if (Settings.ReplaceRunningExecutable != 1) {
        EndUpdate();
        SaveUpdateArchive(*archive, Files);
        OpenArchiveAtExit = true;
        UserDialogs().Information(OpenAtExitMessage);
        return;
    }
    const ProgramFiles files = Files;
    Updater->Start([archive, files](TransferEvents&) { InstallUpdate(*archive, files); },
                   [this](const std::string& installFailure) {
                       EndUpdate();
                       if (!installFailure.empty()) return UserDialogs().Error(installFailure);
                       ExecutableReplaced = true;
                       close(); // the exit order saves the work and starts the new executable
                   });
}

void TForm1::EndUpdate() { findChild<QAction*>("mnuCheckforUpdates")->setEnabled(true); }

void TForm1::CancelUpdate() {
    Updater->CancelAndWait();
    UpdateView->CloseDownload();
    UpdateView->SetBusyCursor(false);
}

void TForm1::GenerateUpdateClick() {
    const GenerateUpdatePaths paths{ProgramFolder(), QDir::currentPath().toStdString() + "/"};
    if (const auto versionFile = GenerateUpdate(paths, RunningVersion(), UserDialogs()))
        Services.Desktop.OpenDocument(*versionFile);
}

} // namespace tavrik
