// The update worker: a std::thread per job, progress and outcome handed to the window's thread as
// queued calls, so the window never lets events through from inside the transfer.
#include "update/UpdateWorker.h"

#include <QMetaObject>

#include <chrono>

namespace tavrik {

namespace {

// Progress reaches the dialog at most this often; a fast download would otherwise flood the event queue.
constexpr auto ProgressInterval = std::chrono::milliseconds(50);

} // namespace

// The transfer events of one job, turned into the dialog's texts and posted to the window's thread.
class UpdateWorker::Events : public TransferEvents {
  public:
    explicit Events(UpdateWorker& worker) : Worker(worker) {}

    void WorkBegin(uint64_t expectedBytes) override {
        Shown = {"Beginning download...", 0, expectedBytes};
        Post(true);
    }
    void Work(uint64_t bytesSoFar) override {
        Shown.Position = bytesSoFar;
        Shown.Status = "Downloaded " + std::to_string(bytesSoFar) +
                       (Shown.Maximum > 0 ? " of " + std::to_string(Shown.Maximum) : std::string()) + " bytes";
        Post(false);
    }
    void WorkEnd() override {
        Shown.Position = Shown.Maximum;
        Shown.Status = "Download complete!";
        Post(true);
    }
    bool Cancelled() const override { return Worker.Cancel; }

  private:
    void Post(bool always) {
        const auto now = std::chrono::steady_clock::now();
        if (!always && now - LastPosted < ProgressInterval) return;
        LastPosted = now;
        QMetaObject::invokeMethod(
            &Worker, [worker = &Worker, shown = Shown] { emit worker->Progress(shown); }, Qt::QueuedConnection);
    }

    UpdateWorker& Worker;
    DownloadProgress Shown;
    std::chrono::steady_clock::time_point LastPosted{};
};

UpdateWorker::UpdateWorker(QObject* parent) : QObject(parent) {}

UpdateWorker::~UpdateWorker() { CancelAndWait(); }

void UpdateWorker::Start(Job job, Finished finished) {
    CancelAndWait();
    Cancel = false;
    OnFinished = std::move(finished);
    const uint64_t number = ++CurrentJob;
    Thread = std::thread([this, number, job = std::move(job)] {
        Events events(*this);
        std::string failure;
        try {
            job(events);
        } catch (const std::exception& error) {
            failure = error.what();
            if (failure.empty()) failure = "The update failed.";
        }
        QMetaObject::invokeMethod(this, [this, number, failure] { JobDone(number, failure); }, Qt::QueuedConnection);
    });
}

void UpdateWorker::CancelAndWait() {
    if (!Thread.joinable()) return;
    Cancel = true;
    Thread.join();
    ++CurrentJob;
    OnFinished = nullptr;
}

void UpdateWorker::JobDone(uint64_t job, const std::string& failure) {
    if (job != CurrentJob) return;
    Thread.join();
    Finished finished = std::move(OnFinished);
    OnFinished = nullptr;
    if (finished) finished(failure);
}

} // namespace tavrik
