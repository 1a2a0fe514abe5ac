// TFormUpdate, the download dialog of "Check for updates": a status line over a progress bar, and the
// window's holder of it, made on the first download and kept.
#pragma once

#include "update/UpdateWorker.h"

#include <QDialog>

#include <functional>

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

class UpdateWindowOfForm {
  public:
    // closedByUser runs when the user closes the dialog during a download (the download is then stopped).
    UpdateWindowOfForm(QWidget* owner, std::function<void()> closedByUser = {})
        : Owner(owner), ClosedByUser(std::move(closedByUser)) {}
    ~UpdateWindowOfForm();
    UpdateWindowOfForm(const UpdateWindowOfForm&) = delete;
    UpdateWindowOfForm& operator=(const UpdateWindowOfForm&) = delete;

    // A busy cursor that still lets the user work: the check runs beside the window.
    void SetBusyCursor(bool busy);
    // Creates the dialog the first time, shows the progress and brings the dialog to the front.
    void ShowDownload(const DownloadProgress& progress);
    void UpdateDownload(const DownloadProgress& progress);
    void CloseDownload();

    TFormUpdate* Dialog() const { return FormUpdate; }

  private:
    QWidget* Owner;
    std::function<void()> ClosedByUser;
    TFormUpdate* FormUpdate = nullptr; // owned by Owner
    bool Busy = false;
};

} // namespace tavrik
