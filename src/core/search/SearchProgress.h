// How tile matching and the map search report progress and learn of a cancel: the desktop program passes
// these from its worker to its progress bar, status label and results memo; the command line to its progress line.
#pragma once

#include <cstdint>
#include <string_view>

namespace tavrik {

class SearchProgress {
  public:
    virtual ~SearchProgress() = default;
    // The progress bar restarts at 0 with this maximum (it stops at the maximum when advanced further).
    virtual void Start(int32_t /*maximum*/) {}
    virtual void Advance() {}
    // The status label's text (tile matching only).
    virtual void Status(std::string_view /*text*/) {}
    // A line of the map search's results, as the search reaches it (the finished run holds them all), so a
    // long search shows what it is doing.
    virtual void ResultLine(std::string_view /*line*/) {}
    // A point where the work has reached a settled state: inside every jackpot check and after every pass of
    // the map search. Tests count these to cancel at a known moment; the programs run the work on a worker and
    // need nothing here.
    virtual void ProcessEvents() {}
    // Whether the job was cancelled (the Cancel button, an action that changes what it reads, Ctrl+C); asked
    // often enough that the work stops within a few milliseconds.
    virtual bool Cancelled() { return false; }
};

} // namespace tavrik
