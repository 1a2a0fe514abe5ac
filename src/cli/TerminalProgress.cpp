// Ctrl+C and the progress line of tavrik-cli.
#include "TerminalProgress.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace tavrik::cli {

namespace {

std::atomic<bool> interruptRequested{false};

extern "C" void OnInterrupt(int) { interruptRequested.store(true); }

} // namespace

void CatchInterrupt() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // The handler gives way to the default after one Ctrl+C, so a second one ends a job that does not stop.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
}

bool InterruptRequested() { return interruptRequested.load(); }

TerminalProgress::TerminalProgress() : Terminal(::isatty(STDERR_FILENO) == 1) {}

TerminalProgress::~TerminalProgress() {
    if (Line.Drawn()) std::fputs("\r\033[K", stderr);
}

void TerminalProgress::Start(int32_t maximum) {
    Line.Start(maximum);
    Redraw();
}

void TerminalProgress::Advance() {
    Line.Advance();
    Redraw();
}

void TerminalProgress::Status(std::string_view text) {
    Line.Step(text);
    Redraw();
}

void TerminalProgress::ResultLine(std::string_view line) {
    Line.Step(line);
    Redraw();
}

// Asked often by the work, so the elapsed time moves on between steps too.
bool TerminalProgress::Cancelled() {
    Redraw();
    return InterruptRequested();
}

void TerminalProgress::ThrowIfInterrupted() const {
    if (InterruptRequested()) throw Interrupted{};
}

void TerminalProgress::Redraw() {
    if (!Terminal) return;
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - Began).count();
    if (const auto text = Line.Due(elapsed)) std::fprintf(stderr, "\r\033[K%s", text->c_str());
}

} // namespace tavrik::cli
