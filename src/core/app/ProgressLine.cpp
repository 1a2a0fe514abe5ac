// The progress line's text and timing.
#include "app/ProgressLine.h"

#include <algorithm>
#include <cstdio>

namespace tavrik {

void ProgressLine::Start(int32_t maximum) {
    Maximum = maximum;
    Done = 0;
}

void ProgressLine::Advance() { Done = std::min(Done + 1, Maximum); }

void ProgressLine::Step(std::string_view text) { StepText = text; }

std::optional<std::string> ProgressLine::Due(double elapsed) {
    if (elapsed < QuietSeconds) return std::nullopt;
    if (LastDrawn && elapsed - *LastDrawn < RedrawSeconds) return std::nullopt;
    LastDrawn = elapsed;
    const int32_t percent = Maximum > 0 ? static_cast<int32_t>(int64_t{Done} * 100 / Maximum) : 0;
    char figures[48];
    std::snprintf(figures, sizeof figures, "  %3d%%  %.1f s", percent, elapsed);
    return StepText + figures;
}

} // namespace tavrik
