// The first map tab's match list: the finds of the last map search as its items, and choosing an item
// writes the find into that tab's controls and draws the map it describes.
#pragma once

#include "workspace/Workspace.h"

#include <QStringList>

class QComboBox;

namespace tavrik {

class MapPage;
class MapRipper;

// The list's items replaced by the finds' texts (none while a search runs), without running its handler.
void ShowMapMatchItems(QComboBox* list, const QStringList& items);

// ComboBoxMapMatchesChange: the find of item index written into the first map page's fields and lists,
// then the first map read and drawn as "Create Map" does, and its view scrolled to the top-left corner.
void ComboBoxMapMatchesChange(Workspace& ws, MapPage& firstMap, MapRipper& maps, int32_t index);

} // namespace tavrik
