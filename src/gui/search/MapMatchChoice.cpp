// Choosing a find of the map search on the first map tab.
#include "search/MapMatchChoice.h"

#include "map/MapPage.h"
#include "map/MapRipper.h"
#include "search/MapMatch.h"
#include "widgets/Controls.h"
#include "widgets/ImageView.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace tavrik {

void ShowMapMatchItems(QComboBox* list, const QStringList& items) {
    const QSignalBlocker blocker(list);
    list->clear();
    list->addItems(items);
}

void ComboBoxMapMatchesChange(Workspace& ws, MapPage& firstMap, MapRipper& maps, int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= ws.MapMatchList.size()) return;
    MapControls controls = firstMap.ReadControls();
    ApplyMapMatch(ws.MapMatchList[static_cast<size_t>(index)], controls, ws.Addresses());
    firstMap.WriteControls(controls);
    const MapPageWidgets& widgets = firstMap.Controls();
    SetIndex(widgets.ComboBoxMemoryType, controls.MemoryTypeIndex);
    SetIndex(widgets.ComboBoxDirection, controls.DirectionIndex);
    maps.ReadMapSettings(1);
    maps.DrawMap(1);
    widgets.View->ScrollToEdge(TImgView32::Edge::Left);
    widgets.View->ScrollToEdge(TImgView32::Edge::Top);
}

} // namespace tavrik
