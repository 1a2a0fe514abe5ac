// One step of the map search done fast: the memory decoded into the step's values once, and the passes over
// them that find the same maps as testing every position in every pass, in memory that does not grow with
// the number of candidates.
#pragma once

#include "search/MapSearch.h"
#include "search/SearchValues.h"

#include <cstdint>

namespace tavrik {

// The step's passes over the values, adding lines and finds to run; returns whether it found a map.
bool RunSearchStep(const MapSearchRow& row, const MatchGrid& grid, const SearchValues& values,
                   const MapSearchOptions& options, MapSearchRun& run, SearchProgress& progress);

} // namespace tavrik
