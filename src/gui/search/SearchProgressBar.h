// Tile matching and the map search reporting to the "Map Search" tab: the progress bar, the status label and
// the Cancel button, with window events let through at most every few milliseconds so a long run stays
// responsive without spending its time repainting.
#pragma once

#include "search/SearchProgress.h"

#include <QElapsedTimer>

class QLabel;
class QPlainTextEdit;
class QProgressBar;

namespace tavrik {

class SearchProgressBar : public SearchProgress {
  public:
    // cancelRequested is the page's flag that the Cancel button sets; the map search's result lines are
    // appended to results as they come when it is given.
    SearchProgressBar(QProgressBar& bar, QLabel& status, const bool& cancelRequested,
                      QPlainTextEdit* results = nullptr);

    void Start(int32_t maximum) override;
    void Advance() override;
    void Status(std::string_view text) override;
    void ResultLine(std::string_view line) override;
    void ProcessEvents() override;
    bool Cancelled() override { return CancelRequested; }

  private:
    QProgressBar& Bar;
    QLabel& StatusLabel;
    const bool& CancelRequested;
    QPlainTextEdit* Results;
    QElapsedTimer SinceEvents;
};

} // namespace tavrik
