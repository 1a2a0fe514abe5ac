// A map tab: the "Map Ripper" tab (prefix "Map") and the "Map 2" tab (prefix "Map2") are two pages of this
// class. Every control is named as on the first tab with each "Map" replaced by the page's prefix, so the
// second page holds the first page's controls in the same order, with the same captions, defaults, items
// and hints; only the first page has the actual tile size and its label. Each page has its own view and
// key field.
#pragma once

#include "app/Dialogs.h"
#include "map/MapRenderer.h"
#include "map/MapSettings.h"
#include "ripper/RipperKeys.h"
#include "widgets/StatusSink.h"
#include "workspace/Workspace.h"

#include <QString>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSlider;

namespace tavrik {

class TImgView32;
struct ProjectMap;

// The name of a control on the page of prefix: every "Map" of the first tab's name becomes the prefix.
QString MapControlName(const QString& firstTabName, const QString& prefix);

// The controls of one map page; the tile size pair is null on the second page.
struct MapPageWidgets {
    QLineEdit* EditAddress = nullptr;
    QLineEdit* EditWidthInTiles = nullptr;
    QLabel* LabelWidthInTilesKeys = nullptr;
    QLineEdit* EditHeightInTiles = nullptr;
    QLabel* LabelHeightInTilesKeys = nullptr;
    QLineEdit* EditTrimTiles = nullptr;
    QLineEdit* EditSkipBytes = nullptr;
    QLineEdit* EditAdjust = nullptr;
    QLineEdit* EditShift = nullptr;
    QLineEdit* EditMask = nullptr;
    QLineEdit* EditFlipYMask = nullptr;
    QCheckBox* CheckBoxFlipYMask = nullptr;
    QLineEdit* EditFlipXMask = nullptr;
    QCheckBox* CheckBoxFlipXMask = nullptr;
    QComboBox* ComboBoxMemoryType = nullptr;
    QComboBox* ComboBoxDirection = nullptr;
    QComboBox* ComboBoxCustomGame = nullptr;
    QLineEdit* EditTilesPerBlockAcross = nullptr;
    QLineEdit* EditTilesPerBlockDown = nullptr;
    QComboBox* ComboBoxTilesPerBlockDirection = nullptr;
    QComboBox* ComboBoxScaleMode = nullptr;
    QLabel* LabelZoom = nullptr;
    QSlider* GaugeBarZoom = nullptr;
    QPushButton* ButtonCreateMap = nullptr;
    QPushButton* ButtonMapSave = nullptr;
    QPushButton* ButtonMapExportTiled = nullptr;
    QCheckBox* CheckBoxShowBadTiles = nullptr;
    QCheckBox* CheckBoxShowIndexes = nullptr;
    QLabel* LabelTileSize = nullptr;
    QComboBox* ComboBoxTileSize = nullptr;
    QLineEdit* EditFileName = nullptr;
    QPushButton* ButtonOpenMap = nullptr;
    QPushButton* ButtonLoadMap = nullptr;
    QCheckBox* CheckBoxUseLoadedMap = nullptr;
    QComboBox* ComboBoxMatches = nullptr;
    QPlainTextEdit* MemoTileIndexReplacements = nullptr;
    QLabel* LabelSummary = nullptr;
    QLabel* LabelMapIsActive = nullptr;
    TImgView32* View = nullptr;
    QLineEdit* EditKeyCapture = nullptr;
};

// What a map page is given by the window.
struct MapPageServices {
    Workspace& Work;
    Dialogs& UserDialogs;
    StatusSink Status;
    QMenu* MaskPresets = nullptr; // PopupMenuMapMask, opened on the mask field
};

class MapPage : public QWidget {
    Q_OBJECT
  public:
    // mapNumber 1 builds the "Map Ripper" page (TabSheetMap), 2 the "Map 2" page (TabSheetMap2).
    MapPage(int32_t mapNumber, const MapPageServices& services, QWidget* parent = nullptr);

    int32_t MapNumber() const { return Number; }
    const QString& Prefix() const { return NamePrefix; }
    const MapPageWidgets& Controls() const { return Widgets; }

    // What this page's own controls hold; the shared ones (block order, tile size) only the first page has.
    MapControls ReadControls() const;
    // Writes back what the map keys changed (the text fields only).
    void WriteControls(const MapControls& controls);
    // The first tab's controls that act for both maps, with the replacement memo's text.
    MapSharedOptions SharedOptions(const std::string& replacements) const;
    std::string ReplacementText() const;
    // MapPageProject.cpp: the page's part of a project, and back.
    void ReadProject(ProjectMap& map) const;
    void ShowProject(const ProjectMap& map);
    // A drawn map in the view, keeping the edges the view showed in "Normal" mode; and its summary.
    void ShowMap(const Image& picture);
    void ShowSummary(const std::string& summary);
    // The V key: "Normal" and "Scale to fit" swap (the view follows; nothing is redrawn).
    void ToggleScaleMode();
    // The address field in the current address form.
    void ShowAddress(int64_t& storedAddress);
    void ClearSummary();
    // "Map is active!": the first page's label shows while either page's key field has the focus.
    void ShowActiveLabel(bool shown);
    void ApplyKeyboardLayout(const LayoutKeys& keys);

    // F5 on this page: ReadMapSettings and DrawMap, once the map ripper is in.
    void Refresh();

    // The handlers, bound once when the page is built.
    void ButtonCreateAnyMapClick();
    void ButtonMapSaveClick();
    void GaugeBarMapZoomChange();
    void ComboBoxMapScaleModeChange();
    // A click on the view gives its key field the focus.
    void ImgView32MapClick();

  signals:
    // What the window acts upon (the maps are drawn and saved by the map ripper).
    void CreateMapRequested();
    void SaveMapRequested();
    void ExportTiledRequested();
    void OpenMapFileRequested();
    void LoadMapRequested();
    void UseLoadedMapClicked();
    // The key field was entered (true) or left; a key was pressed in it (the map keys).
    void KeyFieldFocusChanged(bool entered);
    void MapKeyPressed(const KeyPress& key);
    // The second tab's "Create Map": read its settings without drawing.
    void CreateMap2Requested();
    // The pointer moved over the view, in picture pixels (the cell read-out).
    void PointerMoved(QPoint pixel);

  private:
    QString Name(const char* firstTabName) const {
        return MapControlName(QString::fromLatin1(firstTabName), NamePrefix);
    }
    void BuildControls();
    void BuildSettingsColumn(QGridLayout* grid);
    void BuildActionsColumn(QGridLayout* grid);
    void ConnectHandlers();
    void SetHelpContexts();

    int32_t Number;
    QString NamePrefix;
    MapPageServices Services;
    MapPageWidgets Widgets;
};

} // namespace tavrik
