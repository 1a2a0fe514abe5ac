// The tile number replacements typed into the replacement memo ("Old-Old2 = New" lines), built at the
// start of every draw and applied to each cell's value in order.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tavrik {

struct ReplacementRule {
    int32_t First = 0;
    int32_t Last = 0;
    int32_t NewValue = 0;

    bool operator==(const ReplacementRule&) const = default;
};

using ReplacementRules = std::vector<ReplacementRule>;

// One rule per readable item of every line; lines and items that cannot be read are left out silently.
ReplacementRules BuildReplacementRules(std::string_view memoText);

// Every rule in order; a later rule sees what an earlier one made, so rules chain.
int32_t ApplyReplacementRules(const ReplacementRules& rules, int32_t value);

} // namespace tavrik
