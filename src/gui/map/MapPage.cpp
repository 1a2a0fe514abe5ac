// Builds a map page in Qt layouts: the settings the map reading takes in a column of labelled fields, the
// actions, the map data file and the replacements in a second column, and the map view filling the rest.
#include "map/MapPage.h"

#include "app/Address.h"
#include "map/MapItems.h"
#include "platform/HandlerGuard.h"
#include "widgets/Controls.h"
#include "widgets/ImageView.h"
#include "widgets/KeyCapture.h"
#include "widgets/Memo.h"
#include "widgets/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <span>

namespace tavrik {

namespace {

constexpr int ActionsColumnWidth = 260;
constexpr int ScaleModeFit = 1;

std::string Text(const QLineEdit* field) { return StdText(field->text()); }

// The map tabs' controls are named after their map: "EditMapAddress" on the first, "EditMap2Address" on the
// second.
QString MapPrefix(int32_t mapNumber) { return mapNumber == 1 ? "Map" : QString("Map%1").arg(mapNumber); }

} // namespace

QString MapControlName(const QString& firstTabName, const QString& prefix) {
    return QString(firstTabName).replace("Map", prefix);
}

MapPage::MapPage(int32_t mapNumber, const MapPageServices& services, QWidget* parent)
    : QWidget(parent), Number(mapNumber), NamePrefix(MapPrefix(mapNumber)), Services(services) {
    setObjectName(Number == 1 ? "TabSheetMap" : "TabSheetMap2");
    BuildControls();
    SetHelpContexts();
    ConnectHandlers();
    // The view starts in the list's mode ("Scale to fit") at scale 1, whatever the gauge shows.
    ComboBoxMapScaleModeChange();
}

// ---- Building ----

void MapPage::BuildControls() {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(16);
    auto* settings = new QGridLayout;
    settings->setHorizontalSpacing(6);
    settings->setVerticalSpacing(4);
    BuildSettingsColumn(settings);
    layout->addLayout(settings);
    auto* actions = new QGridLayout;
    actions->setHorizontalSpacing(6);
    actions->setVerticalSpacing(4);
    BuildActionsColumn(actions);
    layout->addLayout(actions);

    MapPageWidgets& w = Widgets;
    w.View = Named(new TImgView32(this), MapControlName("ImgView32Map", NamePrefix));
    w.View->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(w.View, 1);
    // Keys meant for the view arrive here; the window moves the field 1000 pixels up at start-up.
    w.EditKeyCapture = MakeKeyCaptureField(this, Name("EditMapKeyCapture"), Name("EditMapKeyCapture"));
}

void MapPage::BuildSettingsColumn(QGridLayout* grid) {
    MapPageWidgets& w = Widgets;
    int row = 0;
    // A labelled field of the column, with the keys that change it when it has any.
    const auto field = [&](const char* role, const char* caption, const char* text, const char* hint = "",
                           QLabel** keys = nullptr, const char* keysText = "") {
        grid->addWidget(MakeLabel(this, Name("LabelMap") + role, caption), row, 0);
        QLineEdit* edit = MakeEdit(this, Name("EditMap") + role, text, hint);
        grid->addWidget(edit, row, 1);
        if (keys) {
            *keys = MakeLabel(this, Name("LabelMap") + role + "Keys", keysText);
            grid->addWidget(*keys, row, 2);
        }
        ++row;
        return edit;
    };
    const auto list = [&](const char* role, const char* caption, const QStringList& items, const char* hint = "") {
        grid->addWidget(MakeLabel(this, Name("LabelMap") + role, caption), row, 0);
        QComboBox* combo = MakeList(this, Name("ComboBoxMap") + role, items, hint);
        grid->addWidget(combo, row++, 1, 1, 2);
        return combo;
    };
    QLabel* fixedKeys = nullptr;

    w.EditAddress = field("Address", "Address", "0");
    w.EditWidthInTiles =
        field("WidthInTiles", "Width", "40", "Width of the map (in tiles)", &w.LabelWidthInTilesKeys, "Q/A");
    w.EditHeightInTiles =
        field("HeightInTiles", "Height", "32", "Height of the map (in tiles)", &w.LabelHeightInTilesKeys, "W/S");
    w.EditTrimTiles = field("TrimTiles", "Trim Tiles", "0",
                            "Slice this many tiles off the right-hand side of the map. Used in games with static width "
                            "maps but small game areas",
                            &fixedKeys, "E/D");
    w.EditSkipBytes = field("SkipBytes", "Skip Bytes", "0",
                            "Skip this many bytes between reading each value from the map. For example, Brat needs to "
                            "skip 15 bytes between each byte read from the map",
                            &fixedKeys, "R/F");
    w.EditAdjust = field("Adjust", "Adjust", "0",
                         "If you have not located the first actual tile correctly, make an adjustment here. eg. Tile 1 "
                         "in your graphics might actually be tile 0, so set the adjustment to 1",
                         &fixedKeys, "1/2");
    w.EditShift = field("Shift", "Shift", "0",
                        "Shift the map data this many times to the right (negative values shift left but this is "
                        "unusual in Amiga games)");
    w.EditMask = field("Mask", "Mask", "$ffffffff",
                       "Mask the map data (after shifting) with this value to create the final tile index");
    w.EditFlipYMask = field("FlipYMask", "Flip-Y Mask", "$0",
                            "If the tile index when masked with this value is not 0, the tile will be vertically "
                            "flipped. eg. Global Gladiators uses a mask of $1000 to flip vertically");
    w.CheckBoxFlipYMask = MakeCheck(this, Name("CheckBoxMapFlipYMask"), "Enabled",
                                    "Enable vertical flipping of tiles via the mask. Toggle it on and off to see "
                                    "vertically flipped tiles");
    grid->addWidget(w.CheckBoxFlipYMask, row - 1, 2);
    w.EditFlipXMask = field("FlipXMask", "Flip-X Mask", "$0",
                            "If the tile index when masked with this value is not 0, the tile will be horizontally "
                            "flipped. eg. Global Gladiators uses a mask of $2000 to indicate flipping the tile "
                            "horizontally");
    w.CheckBoxFlipXMask = MakeCheck(this, Name("CheckBoxMapFlipXMask"), "Enabled",
                                    "Enable horizontal flipping of tiles via the mask. Toggle it on and off to see "
                                    "horizontally flipped tiles");
    grid->addWidget(w.CheckBoxFlipXMask, row - 1, 2);
    w.ComboBoxMemoryType = list("MemoryType", "Type", QTexts(MapMemoryTypeItems));
    w.ComboBoxDirection = list("Direction", "Format", QTexts(MapDirectionItems));
    w.ComboBoxCustomGame = list("CustomGame", "Custom", QTexts(CustomGameItems),
                                "Some games require custom hacks to display the maps correctly!");

    // The block counts and their order share the "Arrange" row.
    grid->addWidget(MakeLabel(this, Name("LabelMapTilesPerBlock"), "Arrange"), row, 0);
    auto* blocks = new QHBoxLayout;
    blocks->setSpacing(4);
    w.EditTilesPerBlockAcross = MakeBlockCountField(this, Name("EditMapTilesPerBlockAcross"), true);
    w.EditTilesPerBlockDown = MakeBlockCountField(this, Name("EditMapTilesPerBlockDown"), false);
    w.ComboBoxTilesPerBlockDirection =
        MakeList(this, Name("ComboBoxMapTilesPerBlockDirection"), QTexts(MapBlockDirectionItems));
    blocks->addWidget(w.EditTilesPerBlockAcross);
    blocks->addWidget(w.EditTilesPerBlockDown);
    blocks->addWidget(w.ComboBoxTilesPerBlockDirection, 1);
    grid->addLayout(blocks, row++, 1, 1, 2);

    grid->addWidget(MakeLabel(this, Name("LabelMapScaleMode"), "View"), row, 0);
    w.ComboBoxScaleMode = MakeList(this, Name("ComboBoxMapScaleMode"), QTexts(MapScaleModeItems));
    w.ComboBoxScaleMode->setCurrentIndex(ScaleModeFit);
    grid->addWidget(w.ComboBoxScaleMode, row, 1);
    grid->addWidget(MakeLabel(this, Name("LabelMapScaleModeKeys"), "V"), row++, 2);

    w.LabelZoom = MakeLabel(this, Name("LabelMapZoom"), "Zoom:");
    grid->addWidget(w.LabelZoom, row, 0);
    w.GaugeBarZoom = MakeSlider(this, Name("GaugeBarMapZoom"), {10, 400, 10, 20, 200});
    grid->addWidget(w.GaugeBarZoom, row++, 1, 1, 2);
    grid->setRowStretch(row, 1);
}

void MapPage::BuildActionsColumn(QGridLayout* grid) {
    MapPageWidgets& w = Widgets;
    int row = 0;
    grid->setColumnMinimumWidth(1, ActionsColumnWidth / 2);
    w.ButtonCreateMap = MakeButton(this, Name("ButtonCreateMap"), "Create Map");
    grid->addWidget(w.ButtonCreateMap, row, 0, 1, 2);
    w.ButtonMapSave = MakeButton(this, Name("ButtonMapSave"), "Save Map");
    grid->addWidget(w.ButtonMapSave, row++, 2);
    w.CheckBoxShowBadTiles = MakeCheck(this, Name("CheckBoxMapShowBadTiles"), "Show Bad Tiles");
    grid->addWidget(w.CheckBoxShowBadTiles, row, 0, 1, 2);
    w.ButtonMapExportTiled = MakeButton(this, Name("ButtonMapExportTiled"), "Export Tiled Map...");
    grid->addWidget(w.ButtonMapExportTiled, row++, 2);
    w.CheckBoxShowIndexes = MakeCheck(this, Name("CheckBoxMapShowIndexes"), "Show Indexes",
                                      "Show the tile data as hex numbers in the Map Data tab");
    grid->addWidget(w.CheckBoxShowIndexes, row++, 0, 1, 3);

    // The actual tile size sets the second map's tile size, so only the first page has it.
    if (Number == 1) {
        w.LabelTileSize = MakeLabel(this, "LabelMapTileSize", "Actual tile size:");
        grid->addWidget(w.LabelTileSize, row, 0);
        w.ComboBoxTileSize = MakeList(this, "ComboBoxMapTileSize", QTexts(TileSizeItems), "", true);
        w.ComboBoxTileSize->setMaxVisibleItems(12);
        grid->addWidget(w.ComboBoxTileSize, row++, 1, 1, 2);
    }

    grid->addWidget(MakeLabel(this, Name("LabelMapFileName"), "Map File:"), row, 0);
    auto* file = new QHBoxLayout;
    file->setSpacing(4);
    w.EditFileName = MakeEdit(this, Name("EditMapFileName"), "");
    file->addWidget(w.EditFileName, 1);
    w.ButtonOpenMap = MakeEllipsisButton(this, Name("ButtonOpenMap"));
    file->addWidget(w.ButtonOpenMap);
    grid->addLayout(file, row++, 1, 1, 2);
    w.ButtonLoadMap = MakeButton(this, Name("ButtonLoadMap"), "Load Map");
    grid->addWidget(w.ButtonLoadMap, row, 0, 1, 2);
    w.CheckBoxUseLoadedMap = MakeCheck(this, Name("CheckBoxMapUseLoadedMap"), "Use Loaded Map");
    grid->addWidget(w.CheckBoxUseLoadedMap, row++, 2);
    grid->addWidget(MakeLabel(this, Name("LabelMapMatches"), "Matches:"), row, 0);
    w.ComboBoxMatches = MakeList(this, Name("ComboBoxMapMatches"), {"- No matches found -"});
    grid->addWidget(w.ComboBoxMatches, row++, 1, 1, 2);

    grid->addWidget(MakeLabel(this, Name("LabelMapTileIndexReplacements"), "Replacement Tiles (Old-Old2 = New)"), row++,
                    0, 1, 3);
    w.MemoTileIndexReplacements = CreateMemo(this, Name("MemoMapTileIndexReplacements"));
    w.MemoTileIndexReplacements->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    w.MemoTileIndexReplacements->setToolTip(
        "Replace certain tile indexes with other values. eg. First Samurai uses $8035=248 to replace rocket animation "
        "tiles. Specify ranges with the minus sign. eg. $100-$105=$0 would replace tiles from $100 to $105 with the "
        "value $0");
    grid->addWidget(w.MemoTileIndexReplacements, row++, 0, 1, 3);

    w.LabelSummary = MakeLabel(this, Name("LabelMapSummary"), "");
    w.LabelSummary->setWordWrap(true);
    grid->addWidget(w.LabelSummary, row++, 0, 1, 3);
    w.LabelMapIsActive = MakeLabel(this, Name("LabelMapMapIsActive"), "Map is active! Use shortcut keys to move!");
    w.LabelMapIsActive->setWordWrap(true);
    KeepPlaceWhenHidden(w.LabelMapIsActive);
    w.LabelMapIsActive->hide();
    grid->addWidget(w.LabelMapIsActive, row++, 0, 1, 3);
    grid->setRowStretch(row, 1);
    for (int column = 0; column < 3; ++column)
        grid->setColumnStretch(column, 1);
}

void MapPage::SetHelpContexts() {
    const MapPageWidgets& w = Widgets;
    w.EditMask->setProperty("helpContext", 2001);
    w.EditShift->setProperty("helpContext", 2002);
    w.MemoTileIndexReplacements->setProperty("helpContext", 2003);
    for (QWidget* flip : std::initializer_list<QWidget*>{
             w.EditFlipYMask, w.CheckBoxFlipYMask, w.EditFlipXMask, w.CheckBoxFlipXMask,
             findChild<QLabel*>(Name("LabelMapFlipYMask")), findChild<QLabel*>(Name("LabelMapFlipXMask"))})
        flip->setProperty("helpContext", 2004);
    w.ComboBoxCustomGame->setProperty("helpContext", 2005);
}

// ---- Handlers ----

void MapPage::ConnectHandlers() {
    const MapPageWidgets& w = Widgets;
    Dialogs& dialogs = Services.UserDialogs;
    const auto onClick = [&](QAbstractButton* button, std::function<void()> handler) {
        ConnectHandler(button, &QAbstractButton::clicked, this, dialogs, std::move(handler));
    };
    const auto onIndex = [&](QComboBox* list, std::function<void()> handler) {
        ConnectHandler(list, &QComboBox::currentIndexChanged, this, dialogs, std::move(handler));
    };
    const auto createMap = [this] { ButtonCreateAnyMapClick(); };
    // The second tab's "Create Map" only reads its settings (CreateMap2).
    onClick(
        w.ButtonCreateMap, Number == 1 ? std::function<void()>(createMap) : [this] { emit CreateMap2Requested(); });
    onIndex(w.ComboBoxMemoryType, createMap);
    onIndex(w.ComboBoxDirection, createMap);
    onIndex(w.ComboBoxCustomGame, createMap);
    onClick(w.CheckBoxFlipYMask, createMap);
    onClick(w.CheckBoxFlipXMask, createMap);
    onClick(w.ButtonMapSave, [this] { ButtonMapSaveClick(); });
    onClick(w.ButtonMapExportTiled, [this] { emit ExportTiledRequested(); });
    onClick(w.ButtonOpenMap, [this] { emit OpenMapFileRequested(); });
    onClick(w.ButtonLoadMap, [this] { emit LoadMapRequested(); });
    onClick(w.CheckBoxUseLoadedMap, [this] { emit UseLoadedMapClicked(); });
    ConnectHandler(w.GaugeBarZoom, &QSlider::valueChanged, this, dialogs, [this] { GaugeBarMapZoomChange(); });
    onIndex(w.ComboBoxScaleMode, [this] { ComboBoxMapScaleModeChange(); });
    onIndex(w.ComboBoxTilesPerBlockDirection, [this] { ComboBoxMapScaleModeChange(); });

    connect(w.View, &TImgView32::PictureMousePress, this, [this] { ImgView32MapClick(); });
    connect(w.View, &TImgView32::PictureMouseMove, this, [this](QPoint pixel) { emit PointerMoved(pixel); });
    CaptureKeys(w.EditKeyCapture, {[this](bool entered) { emit KeyFieldFocusChanged(entered); },
                                   [this](const QKeyEvent& key) { emit MapKeyPressed(TranslateViewKey(key)); }});

    // Both mask fields open the presets; they act only while the first tab is shown (MaskPresetChosen).
    if (QMenu* presets = Services.MaskPresets) {
        w.EditMask->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w.EditMask, &QWidget::customContextMenuRequested, this,
                [this, presets](const QPoint& at) { presets->popup(Widgets.EditMask->mapToGlobal(at)); });
    }
}

void MapPage::ImgView32MapClick() { Widgets.EditKeyCapture->setFocus(Qt::MouseFocusReason); }

void MapPage::Refresh() { ButtonCreateAnyMapClick(); }

void MapPage::ButtonCreateAnyMapClick() { emit CreateMapRequested(); }

void MapPage::ButtonMapSaveClick() { emit SaveMapRequested(); }

void MapPage::GaugeBarMapZoomChange() {
    const int position = Widgets.GaugeBarZoom->value();
    Widgets.View->SetScale(position / 100.0);
    Widgets.LabelZoom->setText(QString("Zoom %1%").arg(position));
    ComboBoxMapScaleModeChange();
}

// "Scale to fit" keeps the zoom while the map fits the view and shrinks it when it does not.
void MapPage::ComboBoxMapScaleModeChange() {
    Widgets.View->SetScaleMode(Widgets.ComboBoxScaleMode->currentIndex() == ScaleModeFit
                                   ? TImgView32::ScaleMode::ShrinkToFitOnly
                                   : TImgView32::ScaleMode::Normal);
}

// ---- The window's requests ----

MapControls MapPage::ReadControls() const {
    const MapPageWidgets& w = Widgets;
    MapControls c;
    c.Address = Text(w.EditAddress);
    c.WidthInTiles = Text(w.EditWidthInTiles);
    c.HeightInTiles = Text(w.EditHeightInTiles);
    c.TrimTiles = Text(w.EditTrimTiles);
    c.SkipBytes = Text(w.EditSkipBytes);
    c.MemoryTypeIndex = w.ComboBoxMemoryType->currentIndex();
    c.DirectionIndex = w.ComboBoxDirection->currentIndex();
    c.CustomGame = StdText(w.ComboBoxCustomGame->currentText());
    c.FlipYMask = Text(w.EditFlipYMask);
    c.FlipXMask = Text(w.EditFlipXMask);
    c.Shift = Text(w.EditShift);
    c.Mask = Text(w.EditMask);
    c.Adjust = Text(w.EditAdjust);
    c.TilesPerBlockAcross = Text(w.EditTilesPerBlockAcross);
    c.TilesPerBlockDown = Text(w.EditTilesPerBlockDown);
    c.TilesPerBlockDirectionIndex = w.ComboBoxTilesPerBlockDirection->currentIndex();
    if (w.ComboBoxTileSize) c.TileSize = ComboText(w.ComboBoxTileSize);
    return c;
}

void MapPage::ShowAddress(int64_t& storedAddress) {
    Widgets.EditAddress->setText(QText(tavrik::ShowAddress(storedAddress, Services.Work.Addresses())));
}

void MapPage::WriteControls(const MapControls& c) {
    const MapPageWidgets& w = Widgets;
    const std::pair<QLineEdit*, const std::string*> fields[] = {{w.EditAddress, &c.Address},
                                                                {w.EditWidthInTiles, &c.WidthInTiles},
                                                                {w.EditHeightInTiles, &c.HeightInTiles},
                                                                {w.EditTrimTiles, &c.TrimTiles},
                                                                {w.EditSkipBytes, &c.SkipBytes},
                                                                {w.EditFlipYMask, &c.FlipYMask},
                                                                {w.EditFlipXMask, &c.FlipXMask},
                                                                {w.EditShift, &c.Shift},
                                                                {w.EditMask, &c.Mask},
                                                                {w.EditAdjust, &c.Adjust},
                                                                {w.EditTilesPerBlockAcross, &c.TilesPerBlockAcross},
                                                                {w.EditTilesPerBlockDown, &c.TilesPerBlockDown}};
    for (const auto& [field, text] : fields)
        if (field->text() != QText(*text)) field->setText(QText(*text));
}

MapSharedOptions MapPage::SharedOptions(const std::string& replacements) const {
    const MapPageWidgets& w = Widgets;
    return {w.CheckBoxFlipXMask->isChecked(), w.CheckBoxFlipYMask->isChecked(), w.CheckBoxShowBadTiles->isChecked(),
            w.CheckBoxShowIndexes->isChecked(), replacements};
}

std::string MapPage::ReplacementText() const { return StdText(Widgets.MemoTileIndexReplacements->toPlainText()); }

void MapPage::ShowMap(const Image& picture) {
    TImgView32& view = *Widgets.View;
    const bool normal = Widgets.ComboBoxScaleMode->currentIndex() != ScaleModeFit;
    const ViewEdges before = view.EdgesShown();
    view.SetImage(picture);
    // In "Normal" mode a view that showed an edge of the old picture keeps showing that edge of the new one.
    if (normal) {
        if (before.Right)
            view.ScrollToEdge(TImgView32::Edge::Right);
        else if (before.Left)
            view.ScrollToEdge(TImgView32::Edge::Left);
        if (before.Bottom)
            view.ScrollToEdge(TImgView32::Edge::Bottom);
        else if (before.Top)
            view.ScrollToEdge(TImgView32::Edge::Top);
    }
    // Painted before the handler returns, so a held key shows every step.
    if (view.isVisible()) view.viewport()->repaint();
}

void MapPage::ShowSummary(const std::string& summary) { Widgets.LabelSummary->setText(QText(summary)); }

void MapPage::ToggleScaleMode() {
    Widgets.ComboBoxScaleMode->setCurrentIndex((1 - Widgets.ComboBoxScaleMode->currentIndex()) & 1);
}

void MapPage::ClearSummary() { Widgets.LabelSummary->clear(); }

void MapPage::ShowActiveLabel(bool shown) { Widgets.LabelMapIsActive->setVisible(shown); }

void MapPage::ApplyKeyboardLayout(const LayoutKeys& keys) {
    const LayoutKeyLabels labels = KeyLabelsFor(keys);
    Widgets.LabelWidthInTilesKeys->setText(QText(labels.TileWidthKeys));
    Widgets.LabelHeightInTilesKeys->setText(QText(labels.TileHeightKeys));
}

} // namespace tavrik
