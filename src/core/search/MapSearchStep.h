// One step of the map search done fast: the memory decoded into the step's values once, and the passes over
// them that find the same maps as testing every position in every pass, in memory that does not grow with
// the number of candidates.
#pragma once

#include "search/MapSearch.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tavrik {

// SearchValues: the memory image from byte skip on as values of the type (pointers turned into tile numbers,
// read sign-extended as the map ripper reads them), followed by the zero padding. bytes past the end of
// memory read as 0.
std::vector<int32_t> DecodeSearchValues(std::span<const uint8_t> memory, MapSearchType type, int32_t skip,
                                        const PointerTiles& pointers);

// The step's passes over values (as DecodeSearchValues gives them), adding lines and finds to run; returns
// whether it found a map.
bool RunSearchStep(const MapSearchRow& row, const MatchGrid& grid, const std::vector<int32_t>& values,
                   const MapSearchOptions& options, MapSearchRun& run, SearchProgress& progress);

} // namespace tavrik
