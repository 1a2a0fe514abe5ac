// The rip request that tavrik-cli rip's options give, for tests that start the window on a rip.
#pragma once

#include "workspace/RipRequest.h"

#include <string>
#include <vector>

namespace tavrik::test {

// Reads words such as {"--bitplanes", "5", "--tile", "16x16"} as the programs read their rip options; a bad
// option throws std::invalid_argument.
RipRequest RipRequestFromWords(const std::vector<std::string>& words);

} // namespace tavrik::test
