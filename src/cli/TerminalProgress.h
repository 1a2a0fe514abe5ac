// Long jobs of tavrik-cli: Ctrl+C stops them cleanly, and with a terminal on standard error a job that runs
// for more than a second shows a one-line progress display there.
#pragma once

#include "app/ProgressLine.h"
#include "search/SearchProgress.h"

#include <chrono>

namespace tavrik::cli {

// Thrown once Ctrl+C has stopped a job: tavrik-cli exits with 130 without writing its results.
struct Interrupted {};
inline constexpr int InterruptedExitCode = 130; // 128 + SIGINT, as the shell reports a program Ctrl+C ended

// From now on a first Ctrl+C asks the running job to stop; a second one ends the program at once.
void CatchInterrupt();
bool InterruptRequested();

class TerminalProgress : public SearchProgress {
  public:
    TerminalProgress();
    // The progress line is wiped, so that what follows starts on a clean line.
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void Start(int32_t maximum) override;
    void Advance() override;
    void Status(std::string_view text) override;
    void ResultLine(std::string_view line) override;
    bool Cancelled() override;

    // After the job: throws Interrupted when Ctrl+C stopped it.
    void ThrowIfInterrupted() const;

  private:
    void Redraw();

    bool Terminal;
    std::chrono::steady_clock::time_point Began = std::chrono::steady_clock::now();
    ProgressLine Line;
};

} // namespace tavrik::cli
