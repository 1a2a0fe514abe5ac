// How tile matching and the map search report progress and learn of a cancel: the desktop program drives
// its progress bar, status label and Cancel button through this; the command line uses the silent default.
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
    // Lets pending window events run: once per alignment tried while matching, and inside every jackpot
    // check and after every pass of the map search (where a Cancel click can arrive).
    virtual void ProcessEvents() {}
    // Whether Cancel was clicked since the search started; only the map search asks.
    virtual bool Cancelled() { return false; }
};

} // namespace tavrik
