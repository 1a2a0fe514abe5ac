// The keys of the map views: walking a map through memory and nudging its size, trim, skip and adjustment
// until the level appears. No toolkit types: the GUI translates its key events into KeyPress.
#pragma once

#include "app/Address.h"
#include "map/MapSettings.h"
#include "map/MapVariables.h"
#include "ripper/RipperKeys.h"

#include <cstdint>

namespace tavrik {

// What the GUI does after a map key has changed the controls and the record.
enum class MapKeyAction : uint8_t {
    Nothing,
    Redraw,          // DrawMap for the map whose key it was
    ToggleScaleMode, // "View" switches between "Normal" and "Scale to fit" (item (1 - i) AND 1); no redraw
};

// Applies one key of a map view. The caller has chosen the map (the tab or key field the key came from)
// and emptied its key field. The map's settings are read first with ReadMapSettings (secondMap as that
// reading wants it: the first map's tile size setting gives the second map its tile size); a changed value
// is stored in the record and written back into its control text. An overflow of a size, trim, skip or
// adjust key throws tavrik::Error and leaves the field as it was; a movement key that fails ends silently
// with Nothing and changes no field.
MapKeyAction MapKeyDown(const KeyPress& key, const LayoutKeys& layout, MapControls& controls, TMapVariables& map,
                        TMapVariables& secondMap, const AddressMode& addresses);

// MoveMapAddress: the address in the field plus delta, raised to 0 (or to the first address the display
// form can show), shown back into the field in the current display form and stored in the record. Returns
// false, changing nothing, when the new address does not fit the record.
bool MoveMapAddress(MapControls& controls, TMapVariables& map, int32_t delta, const AddressMode& addresses);

} // namespace tavrik
