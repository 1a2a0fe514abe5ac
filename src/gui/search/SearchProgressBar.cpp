// The "Map Search" tab's progress bar, status label and results memo behind the search progress calls.
#include "search/SearchProgressBar.h"

#include "widgets/QtText.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>

namespace tavrik {

SearchProgressBar::SearchProgressBar(QProgressBar& bar, QLabel& status, QPlainTextEdit& results)
    : Bar(bar), StatusLabel(status), Results(results) {}

void SearchProgressBar::Start(int32_t maximum) {
    Bar.setRange(0, maximum);
    Bar.setValue(0);
}

void SearchProgressBar::Advance() {
    if (Bar.value() < Bar.maximum()) Bar.setValue(Bar.value() + 1);
}

void SearchProgressBar::Status(std::string_view text) { StatusLabel.setText(QText(text)); }

void SearchProgressBar::ResultLine(std::string_view line) { Results.appendPlainText(QText(line)); }

} // namespace tavrik
