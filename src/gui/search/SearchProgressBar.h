// Tile matching and the map search shown on the "Map Search" tab: the progress bar, the status label and the
// results memo, fed on the window's thread with what the job's worker reported.
#pragma once

#include "search/SearchProgress.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;

namespace tavrik {

class SearchProgressBar : public SearchProgress {
  public:
    SearchProgressBar(QProgressBar& bar, QLabel& status, QPlainTextEdit& results);

    void Start(int32_t maximum) override;
    void Advance() override;
    void Status(std::string_view text) override;
    void ResultLine(std::string_view line) override;

  private:
    QProgressBar& Bar;
    QLabel& StatusLabel;
    QPlainTextEdit& Results;
};

} // namespace tavrik
