// One tile match or map search on a worker thread. The worker reads only what the job was given (shared,
// read-only snapshots); what it reports is queued and handed to the tab's progress on the window's thread, so
// the window never lets events through from inside the work. Cancel stops the worker and waits for it.
#pragma once

#include "search/SearchProgress.h"

#include <QObject>

#include <atomic>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tavrik {

class SearchJob final : public QObject, private SearchProgress {
    Q_OBJECT
  public:
    // work runs on the worker with this job as its progress; finished runs on the window's thread once the
    // work has ended (cancelled tells whether Cancel came first; failure holds what the work threw).
    using Work = std::function<void(SearchProgress& progress)>;
    using Finished = std::function<void(bool cancelled, std::exception_ptr failure)>;

    // Starts the worker at once. shown receives the reports on the window's thread.
    SearchJob(SearchProgress& shown, Work work, Finished finished);
    // Cancels and waits, without calling finished.
    ~SearchJob() override;

    // Asks the work to stop, waits for the worker to end, hands over what it reported and calls finished:
    // afterwards the job is over. Nothing when it already is.
    void Cancel();
    bool Over() const { return FinishedCalled; }

  private:
    // The reports gathered since the last delivery.
    struct Reports {
        std::optional<int32_t> Maximum;
        int32_t Advances = 0;
        std::optional<std::string> Status;
        std::vector<std::string> Lines;
        bool Ended = false;
        bool DeliveryPosted = false;
    };

    // SearchProgress, on the worker.
    void Start(int32_t maximum) override;
    void Advance() override;
    void Status(std::string_view text) override;
    void ResultLine(std::string_view line) override;
    bool Cancelled() override { return CancelFlag.load(std::memory_order_relaxed); }

    // Runs change on the reports under the lock and makes sure a delivery is on its way.
    void Report(const std::function<void(Reports&)>& change);
    // On the window's thread: passes the reports to shown, and ends the job once the work has ended.
    void Deliver();
    void End();

    SearchProgress& Shown;
    Finished OnFinished;
    std::mutex Lock;
    Reports Pending;
    std::atomic<bool> CancelFlag{false};
    std::exception_ptr Failure;
    bool FinishedCalled = false;
    std::thread Worker;
};

} // namespace tavrik
