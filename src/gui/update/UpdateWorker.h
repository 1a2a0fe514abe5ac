// The update's network and disk work on a worker thread, one job at a time: the window keeps running
// while a check, download or install goes on, sees the progress through queued calls and gets the
// outcome back on its own thread. Closing the window cancels the job and waits for it.
#pragma once

#include "update/HttpClient.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace tavrik {

// What the download dialog shows: LabelStatus and ProgressBarDownload.
struct DownloadProgress {
    std::string Status;
    uint64_t Position = 0;
    uint64_t Maximum = 0;
};

class UpdateWorker : public QObject {
    Q_OBJECT
  public:
    // Runs on the worker thread; a tavrik::Error (or any exception) it throws becomes the failure text.
    using Job = std::function<void(TransferEvents& events)>;
    // Runs on the window's thread with "" when the job succeeded, else the failure text.
    using Finished = std::function<void(const std::string& failure)>;

    explicit UpdateWorker(QObject* parent = nullptr);
    ~UpdateWorker() override;

    bool Busy() const { return Thread.joinable(); }
    void Start(Job job, Finished finished);
    // Stops a running job at its next progress point and waits for it; its Finished is dropped.
    void CancelAndWait();

  signals:
    void Progress(const tavrik::DownloadProgress& progress);

  private:
    class Events;
    void JobDone(uint64_t job, const std::string& failure);

    std::thread Thread;
    std::atomic<bool> Cancel{false};
    uint64_t CurrentJob = 0; // a Finished arriving for an older job was cancelled
    Finished OnFinished;
};

} // namespace tavrik
