// TFormUpdate, the download dialog of "Check for updates": a status line over a progress bar. The window
// hands it to the update check as the check's view of the window (busy cursor, progress, events).
#pragma once

#include "update/UpdateCheck.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace tavrik {

class TFormUpdate : public QDialog {
    Q_OBJECT
  public:
    explicit TFormUpdate(QWidget* parent = nullptr);

    QLabel* StatusLabel() const { return LabelStatus; }
    QProgressBar* ProgressBar() const { return ProgressBarDownload; }
    void ShowProgress(const DownloadProgress& progress);

  private:
    QLabel* LabelStatus = nullptr;
    QProgressBar* ProgressBarDownload = nullptr;
};

// The window as the update check sees it; the dialog is made on the first download.
class UpdateWindowOfForm : public UpdateWindow {
  public:
    explicit UpdateWindowOfForm(QWidget* owner) : Owner(owner) {}
    ~UpdateWindowOfForm() override;
    UpdateWindowOfForm(const UpdateWindowOfForm&) = delete;
    UpdateWindowOfForm& operator=(const UpdateWindowOfForm&) = delete;

    void SetBusyCursor(bool busy) override;
    void ShowDownload(const DownloadProgress& progress) override;
    void UpdateDownload(const DownloadProgress& progress) override;
    void CloseDownload() override;
    void LetEventsRun() override;

    TFormUpdate* Dialog() const { return FormUpdate; }

  private:
    QWidget* Owner;
    TFormUpdate* FormUpdate = nullptr; // owned by Owner
    bool Busy = false;
};

} // namespace tavrik
