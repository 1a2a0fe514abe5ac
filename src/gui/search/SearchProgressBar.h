// Tile matching and the map search reporting to the "Map Search" tab: the progress bar, the status label and
// the Cancel button, with window events let through at most every few milliseconds so a long run stays
// responsive without spending its time repainting.
#pragma once

#include "search/SearchProgress.h"

#include <QElapsedTimer>

class QLabel;
class QProgressBar;

namespace tavrik {

class SearchProgressBar : public SearchProgress {
  public:
    // cancelRequested is the page's flag that the Cancel button sets.
    SearchProgressBar(QProgressBar& bar, QLabel& status, const bool& cancelRequested);

    void Start(int32_t maximum) override;
    void Advance() override;
    void Status(std::string_view text) override;
    void ProcessEvents() override;
    bool Cancelled() override { return CancelRequested; }

  private:
    QProgressBar& Bar;
    QLabel& StatusLabel;
    const bool& CancelRequested;
    QElapsedTimer SinceEvents;
};

} // namespace tavrik
