// The one-line progress display of a long job on a terminal: the step, how far it is and how long it has run,
// shown only once the job has run for a second and redrawn at most ten times a second.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrik {

class ProgressLine {
  public:
    static constexpr double QuietSeconds = 1.0;
    static constexpr double RedrawSeconds = 0.1;

    void Start(int32_t maximum);
    void Advance();
    void Step(std::string_view text);
    // The line to draw after elapsed seconds ("Checking for word data...  25%  3.4 s"), or nullopt when
    // nothing is to be drawn yet.
    std::optional<std::string> Due(double elapsed);
    // Whether a line was drawn, which must then be wiped when the job ends.
    bool Drawn() const { return LastDrawn.has_value(); }

  private:
    int32_t Maximum = 0;
    int32_t Done = 0;
    std::string StepText;
    std::optional<double> LastDrawn;
};

} // namespace tavrik
