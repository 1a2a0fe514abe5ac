// The map ripper's handlers for both map pages: reading a page into its map, drawing it, the map keys, the
// cell read-out, saving the picture, the mask presets and the map data file. The first page's shared
// controls (flip boxes, "Show Bad Tiles", "Show Indexes", the replacements, the map data file) act for
// both maps, which is why one object serves the two pages.
#pragma once

#include "app/Dialogs.h"
#include "map/MapRenderer.h"
#include "map/MapSettings.h"
#include "ripper/RipperKeys.h"
#include "widgets/StatusSink.h"
#include "workspace/Workspace.h"

#include <QObject>
#include <QPoint>

#include <array>
#include <functional>

class QMenu;
class QPlainTextEdit;

namespace tavrik {

class MapPage;

// What the map ripper is given by the window.
struct MapRipperServices {
    Workspace& Work;
    Dialogs& UserDialogs;
    StatusSink Status;
    // 1 or 2 while that map's tab is the active tab, else 0.
    std::function<int32_t()> ActiveMap;
    QPlainTextEdit* MemoMapData = nullptr;
    // Shows the "Map Data" tab (it stays visible afterwards).
    std::function<void()> ShowMapDataTab;
    QMenu* MaskPresets = nullptr; // PopupMenuMapMask
};

class MapRipper : public QObject {
    Q_OBJECT
  public:
    MapRipper(MapPage& first, MapPage& second, const MapRipperServices& services, QObject* parent = nullptr);

    // ButtonCreateAnyMapClick: ReadMapSettings and DrawMap for the map of the active tab.
    void ButtonCreateAnyMapClick();
    // ReadMapSettings (first map: also the second map's tile size) and DrawMap.
    void ReadMapSettings(int32_t mapNumber);
    void DrawMap(int32_t mapNumber);
    // "Create Map" of the second tab: reads its settings and draws the second map.
    void CreateMap2();
    void SaveMap(int32_t mapNumber);
    // "Export Tiled Map...": the map as last drawn, for the Tiled map editor; the kept tiles go to the status bar.
    void ExportTiledMap(int32_t mapNumber);
    void MapKeyDown(int32_t senderMap, const KeyPress& key);
    void CellReadOut(QPoint pixel);
    void MaskPresetChosen(int32_t itemIndex);
    void OpenMapDataFile();
    void LoadMapData();
    void UseLoadedMapClicked();
    // ButtonCreateMapClick: the first tab's reading for "Use Loaded Map", then the first map's draw.
    void ButtonCreateMapClick();
    void ApplyKeyboardLayout(const LayoutKeys& keys);

    // A drawn map (or why it was not drawn) on its page; also for the maps a project load drew.
    void ShowOutcome(int32_t mapNumber, const MapDrawOutcome& outcome);

    bool ConfirmOverwritingMaps = true;

  private:
    MapPage& Page(int32_t mapNumber) const { return *Pages[mapNumber == 2 ? 1 : 0]; }
    // A page's controls with the shared ones taken from the first page.
    MapControls ReadControls(int32_t mapNumber) const;
    void ConnectPage(MapPage& page);
    void ConnectMaskPresets();

    std::array<MapPage*, 2> Pages;
    MapRipperServices Services;
    LayoutKeys Keys;
};

} // namespace tavrik
