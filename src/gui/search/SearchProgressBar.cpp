// The "Map Search" tab's progress bar, status label and Cancel button behind the search progress calls.
#include "search/SearchProgressBar.h"

#include "widgets/QtText.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>

namespace tavrik {

namespace {

// Often enough for the bar to move smoothly and Cancel to answer at once.
constexpr qint64 EventIntervalMs = 30;

} // namespace

SearchProgressBar::SearchProgressBar(QProgressBar& bar, QLabel& status, const bool& cancelRequested,
                                     QPlainTextEdit* results)
    : Bar(bar), StatusLabel(status), CancelRequested(cancelRequested), Results(results) {}

void SearchProgressBar::Start(int32_t maximum) {
    Bar.setRange(0, maximum);
    Bar.setValue(0);
}

void SearchProgressBar::Advance() {
    if (Bar.value() < Bar.maximum()) Bar.setValue(Bar.value() + 1);
}

void SearchProgressBar::Status(std::string_view text) { StatusLabel.setText(QText(text)); }

void SearchProgressBar::ResultLine(std::string_view line) {
    if (!Results) return;
    Results->appendPlainText(QText(line));
    ProcessEvents();
}

void SearchProgressBar::ProcessEvents() {
    // The first call lets events through at once, so even a run that ends at its first step shows itself.
    if (SinceEvents.isValid() && SinceEvents.elapsed() < EventIntervalMs) return;
    QCoreApplication::processEvents();
    SinceEvents.restart();
}

} // namespace tavrik
