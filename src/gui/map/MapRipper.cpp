// The map ripper's handlers: each reads its page's controls, calls the core and shows what came back.
#include "map/MapRipper.h"

#include "app/Files.h"
#include "imageio/PngFile.h"
#include "map/CellReadOut.h"
#include "map/MapItems.h"
#include "map/MapKeys.h"
#include "map/MapPage.h"
#include "map/MapSettings.h"
#include "platform/HandlerGuard.h"
#include "widgets/QtText.h"
#include "workspace/MapDataFile.h"
#include "workspace/MapDrawing.h"
#include "workspace/TiledExport.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStringList>

namespace tavrik {

MapRipper::MapRipper(MapPage& first, MapPage& second, const MapRipperServices& services, QObject* parent)
    : QObject(parent), Pages{&first, &second}, Services(services) {
    for (MapPage* page : Pages)
        ConnectPage(*page);
    ConnectMaskPresets();
}

// Every handler runs inside the error wrapper here, so nothing is thrown back through the page's signal.
void MapRipper::ConnectPage(MapPage& page) {
    const auto on = [&](auto signal, auto handler) {
        connect(&page, signal, this, [this, handler](auto&&... arguments) {
            RunHandler(Services.UserDialogs, [&] { handler(arguments...); });
        });
    };
    const int32_t map = page.MapNumber();
    on(&MapPage::CreateMapRequested, [this] { ButtonCreateAnyMapClick(); });
    on(&MapPage::CreateMap2Requested, [this] { CreateMap2(); });
    on(&MapPage::SaveMapRequested, [this, map] { SaveMap(map); });
    on(&MapPage::ExportTiledRequested, [this, map] { ExportTiledMap(map); });
    on(&MapPage::OpenMapFileRequested, [this] { OpenMapDataFile(); });
    on(&MapPage::LoadMapRequested, [this] { LoadMapData(); });
    on(&MapPage::UseLoadedMapClicked, [this] { UseLoadedMapClicked(); });
    on(&MapPage::MapKeyPressed, [this, map](const KeyPress& key) { MapKeyDown(map, key); });
    on(&MapPage::PointerMoved, [this](QPoint pixel) { CellReadOut(pixel); });
}

void MapRipper::ConnectMaskPresets() {
    if (!Services.MaskPresets) return;
    const QList<QAction*> items = Services.MaskPresets->actions();
    for (qsizetype i = 0; i < items.size(); ++i) {
        items[i]->setEnabled(true);
        connect(items[i], &QAction::triggered, this, [this, index = static_cast<int32_t>(i)] {
            RunHandler(Services.UserDialogs, [&] { MaskPresetChosen(index); });
        });
    }
}

// ---- Reading and drawing ----

MapControls MapRipper::ReadControls(int32_t mapNumber) const {
    MapControls controls = Page(mapNumber).ReadControls();
    if (mapNumber == 2) controls.TilesPerBlockDirectionIndex = Page(1).ReadControls().TilesPerBlockDirectionIndex;
    return controls;
}

void MapRipper::ButtonCreateAnyMapClick() {
    const int32_t map = Services.ActiveMap();
    if (map == 0) return;
    ReadMapSettings(map);
    DrawMap(map);
}

void MapRipper::ReadMapSettings(int32_t mapNumber) {
    Workspace& ws = Services.Work;
    tavrik::ReadMapSettings(ReadControls(mapNumber), MapRecord(ws, mapNumber), ws.Maps[1], ws.Addresses());
}

void MapRipper::DrawMap(int32_t mapNumber) {
    const std::string replacements = Page(1).ReplacementText();
    ShowOutcome(mapNumber, DrawWorkspaceMap(Services.Work, mapNumber, Page(1).SharedOptions(replacements)));
}

void MapRipper::ShowOutcome(int32_t mapNumber, const MapDrawOutcome& outcome) {
    if (outcome.ClearIndexDump) Services.MemoMapData->clear();
    if (outcome.Result == MapDrawResult::TooLarge || outcome.Result == MapDrawResult::NoMemory)
        Services.UserDialogs.Information(outcome.Message);
    if (outcome.Result != MapDrawResult::Drawn) return;
    if (outcome.ShowMapDataTab) Services.ShowMapDataTab();
    if (!outcome.IndexDump.empty()) {
        QStringList lines;
        for (const std::string& line : outcome.IndexDump)
            lines.push_back(QText(line));
        Services.MemoMapData->setPlainText(lines.join('\n'));
    }
    MapPage& page = Page(mapNumber);
    page.ShowMap(MapPicture(Services.Work, mapNumber));
    page.ShowSummary(outcome.Summary);
}

void MapRipper::CreateMap2() {
    ReadMapSettings(2);
    DrawMap(2);
}

void MapRipper::SaveMap(int32_t mapNumber) {
    SavePngAs(MapPicture(Services.Work, mapNumber), Services.UserDialogs, {SaveMapTitle, SaveMapFilter, "", "png"},
              ConfirmOverwritingMaps);
}

void MapRipper::ExportTiledMap(int32_t mapNumber) {
    bool uniqueTiles = false;
    const auto chosen = Services.UserDialogs.SaveFileWithOption(
        {"Export Tiled Map", "Tiled Map (*.tmx)|*.tmx|Tiled JSON Map (*.tmj;*.json)|*.tmj;*.json", "", "tmx"},
        "Unique tiles", uniqueTiles);
    if (!chosen) return;
    if (ConfirmOverwritingMaps && !ConfirmOverwrite(*chosen, Services.UserDialogs)) return;
    const std::string kept =
        tavrik::ExportTiledMap(Services.Work, mapNumber, *chosen, {TiledFormatOfPath(*chosen), uniqueTiles});
    Services.Status(mapNumber == 2 ? 4 : 3, QText(kept));
}

// ---- Keys, pointer and presets ----

void MapRipper::MapKeyDown(int32_t senderMap, const KeyPress& key) {
    const int32_t map = senderMap == 2 || Services.ActiveMap() == 2 ? 2 : 1;
    Workspace& ws = Services.Work;
    MapControls controls = ReadControls(map);
    const MapKeyAction action = tavrik::MapKeyDown(key, Keys, controls, MapRecord(ws, map), ws.Maps[1], ws.Addresses());
    Page(map).WriteControls(controls);
    switch (action) {
    case MapKeyAction::Nothing: break;
    case MapKeyAction::Redraw: DrawMap(map); break;
    case MapKeyAction::ToggleScaleMode: Page(map).ToggleScaleMode(); break;
    }
}

void MapRipper::CellReadOut(QPoint pixel) {
    const int32_t map = Services.ActiveMap() == 2 ? 2 : 1;
    if (const auto text = tavrik::CellReadOut(map, pixel.x(), pixel.y(), MapRecord(Services.Work, map)))
        Services.Status(map == 2 ? 4 : 3, QText(*text));
}

void MapRipper::MaskPresetChosen(int32_t itemIndex) {
    if (Services.ActiveMap() != 1) return;
    Page(1).Controls().EditMask->setText(QText(MaskPresetText(itemIndex)));
}

void MapRipper::ApplyKeyboardLayout(const LayoutKeys& keys) { Keys = keys; }

// ---- The map data file (first map only) ----

void MapRipper::OpenMapDataFile() {
    QLineEdit* field = Page(1).Controls().EditFileName;
    const auto chosen =
        Services.UserDialogs.OpenFile({MapDataFileTitle, MapDataFileFilter, StdText(field->text()), ""});
    if (!chosen) return;
    field->setText(QText(*chosen));
    LoadMapData();
}

void MapRipper::LoadMapData() {
    const MapPageWidgets& first = Page(1).Controls();
    const MapDataLoad load =
        tavrik::LoadMapData(Services.Work, StdText(first.EditFileName->text()), Services.UserDialogs);
    if (!load.Found || !load.CheckUseLoadedMap) return;
    const bool wasChecked = first.CheckBoxUseLoadedMap->isChecked();
    first.CheckBoxUseLoadedMap->setChecked(true);
    if (!wasChecked) UseLoadedMapClicked();
}

void MapRipper::UseLoadedMapClicked() {
    Services.Work.Maps[0].UseLoadedMap = Page(1).Controls().CheckBoxUseLoadedMap->isChecked();
    ButtonCreateMapClick();
}

void MapRipper::ButtonCreateMapClick() {
    Workspace& ws = Services.Work;
    if (!ReadCreateMapSettings(ReadControls(1), ws.Maps[0], ws.Maps[1], ws.Addresses())) return;
    DrawMap(1);
}

} // namespace tavrik
