// The map drawing written out literally, one cell and one pixel at a time, for differential tests of the
// span-copying DrawMap.
#pragma once

#include "imageio/Image.h"
#include "map/MapRenderer.h"
#include "map/MapVariables.h"

namespace tavrik::test {

// Same contract as DrawMap, for maps whose tile size is at least 1 and whose pointer tiles are not 0 bytes.
MapDrawOutcome ReferenceDrawMap(TMapVariables& map, Image& mapImage, const MapDrawContext& context);

} // namespace tavrik::test
