// TFormUpdate and its holder: the progress of a download as the update worker reports it.
#include "update/TFormUpdate.h"

#include "widgets/QtText.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace tavrik {

namespace {

// A progress bar counts in int: sizes past its range are shown in kilobytes.
int BarValue(uint64_t value, uint64_t maximum) {
    constexpr uint64_t limit = std::numeric_limits<int>::max();
    const uint64_t scaled = maximum > limit ? value / 1024 : value;
    return static_cast<int>(std::min(scaled, limit));
}

} // namespace

TFormUpdate::TFormUpdate(QWidget* parent) : QDialog(parent) {
    setObjectName("FormUpdate");
    setWindowTitle("Update");
    auto* layout = new QVBoxLayout(this);
    LabelStatus = new QLabel(this);
    LabelStatus->setObjectName("LabelStatus");
    ProgressBarDownload = new QProgressBar(this);
    ProgressBarDownload->setObjectName("ProgressBarDownload");
    ProgressBarDownload->setMinimum(0);
    layout->addWidget(LabelStatus);
    layout->addWidget(ProgressBarDownload);
    resize(360, 90);
}

void TFormUpdate::ShowProgress(const DownloadProgress& progress) {
    LabelStatus->setText(QText(progress.Status));
    ProgressBarDownload->setMaximum(BarValue(progress.Maximum, progress.Maximum));
    ProgressBarDownload->setValue(BarValue(std::min(progress.Position, progress.Maximum), progress.Maximum));
}

UpdateWindowOfForm::~UpdateWindowOfForm() { SetBusyCursor(false); }

void UpdateWindowOfForm::SetBusyCursor(bool busy) {
    if (busy == Busy) return;
    Busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

void UpdateWindowOfForm::ShowDownload(const DownloadProgress& progress) {
    if (!FormUpdate) {
        FormUpdate = new TFormUpdate(Owner);
        QObject::connect(FormUpdate, &QDialog::rejected, Owner, [this] {
            if (ClosedByUser) ClosedByUser();
        });
    }
    FormUpdate->ShowProgress(progress);
    FormUpdate->show();
    FormUpdate->raise();
}

void UpdateWindowOfForm::UpdateDownload(const DownloadProgress& progress) {
    if (FormUpdate) FormUpdate->ShowProgress(progress);
}

void UpdateWindowOfForm::CloseDownload() {
    if (FormUpdate) FormUpdate->hide();
}

} // namespace tavrik
