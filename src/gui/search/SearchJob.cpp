// The worker of a tile match or map search and the hand-over of its reports to the window's thread.
#include "search/SearchJob.h"

#include <QMetaObject>

namespace tavrik {

SearchJob::SearchJob(SearchProgress& shown, Work work, Finished finished)
    : Shown(shown), OnFinished(std::move(finished)) {
    Worker = std::thread([this, work = std::move(work)] {
        try {
            work(*this);
        } catch (...) {
            Failure = std::current_exception();
        }
        Report([](Reports& reports) { reports.Ended = true; });
    });
}

SearchJob::~SearchJob() {
    CancelFlag = true;
    if (Worker.joinable()) Worker.join();
}

void SearchJob::Cancel() {
    if (FinishedCalled) return;
    CancelFlag = true;
    if (Worker.joinable()) Worker.join();
    Deliver();
}

void SearchJob::Start(int32_t maximum) {
    Report([maximum](Reports& reports) {
        reports.Maximum = maximum;
        reports.Advances = 0;
    });
}

void SearchJob::Advance() {
    Report([](Reports& reports) { ++reports.Advances; });
}

void SearchJob::Status(std::string_view text) {
    Report([text](Reports& reports) { reports.Status = std::string(text); });
}

void SearchJob::ResultLine(std::string_view line) {
    Report([line](Reports& reports) { reports.Lines.emplace_back(line); });
}

void SearchJob::Report(const std::function<void(Reports&)>& change) {
    const std::lock_guard guard(Lock);
    change(Pending);
    if (Pending.DeliveryPosted) return;
    Pending.DeliveryPosted = true;
    // A delivery still queued when the job is destroyed is dropped with it.
    QMetaObject::invokeMethod(this, &SearchJob::Deliver, Qt::QueuedConnection);
}

void SearchJob::Deliver() {
    if (FinishedCalled) return;
    Reports taken;
    {
        const std::lock_guard guard(Lock);
        taken = std::move(Pending);
        Pending = Reports{};
    }
    if (taken.Maximum) Shown.Start(*taken.Maximum);
    for (int32_t i = 0; i < taken.Advances; ++i)
        Shown.Advance();
    if (taken.Status) Shown.Status(*taken.Status);
    for (const std::string& line : taken.Lines)
        Shown.ResultLine(line);
    if (taken.Ended) End();
}

void SearchJob::End() {
    if (Worker.joinable()) Worker.join();
    FinishedCalled = true;
    OnFinished(CancelFlag.load(), Failure);
}

} // namespace tavrik
