// The controls of the "Tile Ripper" tab and where they sit: the parameters, copper list and palette in a
// column on the left, the sheet view filling the rest between its display options above and the tile
// size, arrangement, file and save controls below. The key capture field sits directly on the page, outside every
// layout, so that the window can move it out of sight.
#include "ripper/PalettePanel.h"
#include "ripper/RipperPage.h"
#include "widgets/Controls.h"
#include "widgets/ImageView.h"
#include "widgets/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>

namespace tavrik {

namespace {

constexpr int FieldWidth = 150;
constexpr int ColumnWidth = 290;

constexpr const char* TileSizeHint = "Set the actual tile size that the map ripper will use. Useful when bitplane "
                                     "graphics are 320x256 but tiles are actually 16x16";
constexpr const char* RearrangeHint =
    "Rearrange the tiles into a different configuration. eg. Some games have a very wide but short strip of tiles "
    "and it's easier to rearrange them into a more suitable layout such as 256 x 256";
constexpr const char* PaletteAddressHint = "Copperlist address that will be followed to pickup the palette. Type a "
                                           "+ symbol before the address to reference an Amiga address.";

// One row of the parameter column: the label, the field and the keys that change it.
class ParameterGrid {
  public:
    explicit ParameterGrid(QWidget* parent) : Parent(parent), Grid(new QGridLayout(parent)) {
        Grid->setContentsMargins(0, 0, 0, 0);
        Grid->setHorizontalSpacing(6);
        Grid->setVerticalSpacing(4);
        Grid->setColumnStretch(1, 1);
    }

    int Add(const char* labelName, const char* caption, QWidget* field, const char* keysName = nullptr,
            const char* keys = "") {
        Grid->addWidget(MakeLabel(Parent, labelName, caption), Row, 0);
        Grid->addWidget(field, Row, 1);
        if (keysName) Grid->addWidget(MakeLabel(Parent, keysName, keys), Row, 2);
        return Row++;
    }
    int AddWide(QWidget* widget) {
        Grid->addWidget(widget, Row, 0, 1, 3);
        return Row++;
    }
    int AddWide(QLayout* layout) {
        Grid->addLayout(layout, Row, 0, 1, 3);
        return Row++;
    }
    void AddSpace(int height) { Grid->setRowMinimumHeight(Row++, height); }
    void Finish() { Grid->setRowStretch(Row, 1); }
    QGridLayout* Layout() const { return Grid; }

  private:
    QWidget* Parent;
    QGridLayout* Grid;
    int Row = 0;
};

QFrame* Separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

void RipperPage::BuildControls() {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(8);
    // The column scrolls when the window is made smaller than its controls.
    auto* columnScroller = Named(new QScrollArea(this), "ScrollBoxGfxParameters");
    columnScroller->setFrameShape(QFrame::NoFrame);
    columnScroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    columnScroller->setWidgetResizable(true);
    columnScroller->setWidget(BuildParameterColumn(columnScroller));
    columnScroller->setFixedWidth(ColumnWidth + columnScroller->verticalScrollBar()->sizeHint().width());
    layout->addWidget(columnScroller);

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(BuildViewBar(this));
    ImgView32Extract = Named(new TImgView32(this), "ImgView32Extract");
    ImgView32Extract->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    right->addWidget(ImgView32Extract, 1);
    right->addWidget(BuildSheetBar(this));
    right->addWidget(BuildFileBar(this));
    layout->addLayout(right, 1);

    // Keys meant for the view arrive here; the window moves the field 1000 pixels up at start-up.
    EditGfxKeyCapture = MakeKeyCaptureField(this, "EditGfxKeyCapture", "");

    AttachDimensionPresets();
}

QWidget* RipperPage::BuildParameterColumn(QWidget* parent) {
    auto* column = Named(new QWidget(parent), "PanelGfxParameters");
    column->setFixedWidth(ColumnWidth);
    ParameterGrid grid(column);

    EditGfxAddress = MakeEdit(column, "EditGfxAddress", "0");
    grid.Add("LabelGfxAddress", "Address:", EditGfxAddress);
    EditGfxTileWidth = MakeEdit(column, "EditGfxTileWidth", "16");
    grid.Add("LabelGfxTileWidth", "Bpl Width:", EditGfxTileWidth, "LabelGfxTileWidthKeys", "Q/A");
    EditGfxTileHeight = MakeEdit(column, "EditGfxTileHeight", "16");
    grid.Add("LabelGfxTileHeight", "Bpl Height:", EditGfxTileHeight, "LabelGfxTileHeightKeys", "W/S");
    EditGfxBitplaneCount = MakeEdit(column, "EditGfxBitplaneCount", "1");
    EditGfxBitplaneCount->setProperty("helpContext", 1000);
    grid.Add("LabelGfxBitplaneCount", "Bitplanes:", EditGfxBitplaneCount, "LabelGfxBitplaneCountKeys", "E/D");

    EditGfxSkipBytes = MakeEdit(column, "EditGfxSkipBytes", "0");
    ComboBoxGfxSkipMode =
        MakeList(column, "ComboBoxGfxSkipMode", {"Tiles", "Bitplanes"}, "Skip bytes between tiles or bitplanes");
    auto* skip = new QWidget(column);
    auto* skipLayout = new QHBoxLayout(skip);
    skipLayout->setContentsMargins(0, 0, 0, 0);
    skipLayout->setSpacing(4);
    skipLayout->addWidget(EditGfxSkipBytes, 1);
    skipLayout->addWidget(ComboBoxGfxSkipMode, 1);
    grid.Add("LabelGfxSkipBytes", "Skip bytes:", skip, "LabelGfxSkipBytesKeys", "R/F");

    EditGfxRipWidth = MakeEdit(column, "EditGfxRipWidth", "320");
    grid.Add("LabelGfxRipWidth", "Rip Width:", EditGfxRipWidth, "LabelGfxRipWidthKeys", "T/G");
    EditGfxRipHeight = MakeEdit(column, "EditGfxRipHeight", "256");
    grid.Add("LabelGfxRipHeight", "Rip Height:", EditGfxRipHeight, "LabelGfxRipHeightKeys", "Y/H");
    ComboBoxGfxMode = MakeList(column, "ComboBoxGfxMode", {"Amiga ACBM", "Amiga ILBM", "Atari ST", "Sprites", "C64"});
    ComboBoxGfxMode->setProperty("helpContext", 1002);
    const int modeRow = grid.Add("LabelGfxMode", "Mode:", ComboBoxGfxMode, "LabelGfxModeKeys", "M");
    grid.Layout()->itemAtPosition(modeRow, 0)->widget()->setProperty("helpContext", 1000);

    // The sprite bank takes the place of the mask options, which "Sprites" mode hides.
    CheckBoxGfxMaskBefore = MakeCheck(column, "CheckBoxGfxMaskBefore", "Mask Before Graphics");
    CheckBoxGfxMaskAfter = MakeCheck(column, "CheckBoxGfxMaskAfter", "Mask After Graphics");
    for (QCheckBox* mask : {CheckBoxGfxMaskBefore, CheckBoxGfxMaskAfter}) {
        mask->setProperty("helpContext", 1001);
        KeepPlaceWhenHidden(mask);
    }
    const int maskRow = grid.AddWide(CheckBoxGfxMaskBefore);
    grid.AddWide(CheckBoxGfxMaskAfter);
    LabelGfxSprite4ColourBank = MakeLabel(column, "LabelGfxSprite4ColourBank", "Col bank:");
    LabelGfxSprite4ColourBank->setProperty("helpContext", 1000);
    ComboBoxGfxSpriteMode =
        MakeList(column, "ComboBoxGfxSpriteMode", {"Sprite 0/1", "Sprite 2/3", "Sprite 4/5", "Sprite 6/7"});
    ComboBoxGfxSpriteMode->setProperty("helpContext", 1002);
    LabelGfxColourBankKeys = MakeLabel(column, "LabelGfxColourBankKeys", "0-7");
    for (QWidget* bankControl :
         std::initializer_list<QWidget*>{LabelGfxSprite4ColourBank, ComboBoxGfxSpriteMode, LabelGfxColourBankKeys})
        KeepPlaceWhenHidden(bankControl);
    grid.Layout()->addWidget(LabelGfxSprite4ColourBank, maskRow, 0);
    grid.Layout()->addWidget(ComboBoxGfxSpriteMode, maskRow, 1);
    grid.Layout()->addWidget(LabelGfxColourBankKeys, maskRow, 2);

    LabelBitplaneOrder = MakeLabel(column, "LabelBitplaneOrder", "Bitplane Order:");
    KeepPlaceWhenHidden(LabelBitplaneOrder);
    grid.AddWide(LabelBitplaneOrder);
    ButtonGfxRip = MakeButton(column, "ButtonGfxRip", "Rip Tiles (F5)");
    grid.AddWide(ButtonGfxRip);
    LabelGfxMapActive = MakeLabel(column, "LabelGfxMapActive", "Map is active! Use shortcut keys to move!");
    LabelGfxMapActive->setWordWrap(true);
    QFont bold = LabelGfxMapActive->font();
    bold.setBold(true);
    LabelGfxMapActive->setFont(bold);
    KeepPlaceWhenHidden(LabelGfxMapActive);
    LabelGfxMapActive->hide();
    grid.AddWide(LabelGfxMapActive);

    grid.AddSpace(4);
    grid.AddWide(Separator(column));
    EditGfxPaletteAddress = MakeEdit(column, "EditGfxPaletteAddress", "$0", PaletteAddressHint);
    ButtonGfxWalkCopperlist = MakeButton(column, "ButtonGfxWalkCopperlist", "Process");
    auto* copper = new QWidget(column);
    auto* copperLayout = new QHBoxLayout(copper);
    copperLayout->setContentsMargins(0, 0, 0, 0);
    copperLayout->setSpacing(4);
    copperLayout->addWidget(EditGfxPaletteAddress, 1);
    copperLayout->addWidget(ButtonGfxWalkCopperlist);
    grid.Add("LabelGfxCopper", "Copperlist:", copper);
    EditGfxCopperlistStopYPos = MakeEdit(column, "EditGfxCopperlistStopYPos", "$80");
    grid.Add("LabelGfxCopperlistStopYPos", "Stop at line::", EditGfxCopperlistStopYPos,
             "LabelGfxCopperlistStopYPosKeys", "U/J");

    grid.AddSpace(4);
    PaletteSection = new PalettePanel({Work(), UserDialogs(), Services.PaletteMenu, Services.PalettePlace,
                                       [this] { ButtonGfxRipClick(); }, [this] { CopperlistAction(); }},
                                      column);
    grid.AddWide(PaletteSection);
    grid.Finish();
    // The keys that follow the keyboard layout.
    LabelGfxTileWidthKeys = column->findChild<QLabel*>("LabelGfxTileWidthKeys");
    LabelGfxTileHeightKeys = column->findChild<QLabel*>("LabelGfxTileHeightKeys");
    LabelGfxRipHeightKeys = column->findChild<QLabel*>("LabelGfxRipHeightKeys");
    LabelGfxModeKeys = column->findChild<QLabel*>("LabelGfxModeKeys");

    for (QLineEdit* field : {EditGfxAddress, EditGfxTileWidth, EditGfxTileHeight, EditGfxBitplaneCount, EditGfxRipWidth,
                             EditGfxRipHeight, EditGfxCopperlistStopYPos})
        field->setMaximumWidth(FieldWidth);
    ComboBoxGfxMode->setMaximumWidth(FieldWidth);
    ComboBoxGfxSpriteMode->setMaximumWidth(FieldWidth);
    return column;
}

QWidget* RipperPage::BuildViewBar(QWidget* parent) {
    auto* bar = Named(new QWidget(parent), "PanelGfxView");
    QHBoxLayout* layout = RowLayout(bar);

    layout->addWidget(MakeLabel(bar, "LabelGfxZoom", "Zoom:"));
    GaugeBarGfxZoom = Named(new QSlider(Qt::Horizontal, bar), "GaugeBarGfxZoom");
    GaugeBarGfxZoom->setRange(100, 800);
    GaugeBarGfxZoom->setSingleStep(50);
    GaugeBarGfxZoom->setPageStep(100);
    GaugeBarGfxZoom->setValue(200);
    GaugeBarGfxZoom->setFixedWidth(160);
    layout->addWidget(GaugeBarGfxZoom);
    LabelGfxZoomValue = MakeLabel(bar, "LabelGfxZoomValue", "100%");
    LabelGfxZoomValue->setMinimumWidth(LabelGfxZoomValue->fontMetrics().horizontalAdvance("Automatic") + 4);
    layout->addWidget(LabelGfxZoomValue);

    layout->addSpacing(8);
    layout->addWidget(MakeLabel(bar, "LabelGfxScaleMode", "View:"));
    ComboBoxGfxScaleMode = MakeList(bar, "ComboBoxGfxScaleMode", {"Normal", "Scale to fit"});
    layout->addWidget(ComboBoxGfxScaleMode);
    layout->addWidget(MakeLabel(bar, "LabelGfxScaleModeKeys", "V"));

    layout->addSpacing(8);
    CheckBoxGfxGrid = MakeCheck(bar, "CheckBoxGfxGrid", "Grid");
    layout->addWidget(CheckBoxGfxGrid);
    layout->addStretch(1);
    return bar;
}

QWidget* RipperPage::BuildSheetBar(QWidget* parent) {
    auto* bar = Named(new QWidget(parent), "PanelGfxSheet");
    QHBoxLayout* layout = RowLayout(bar);

    layout->addWidget(MakeLabel(bar, "LabelGfxTileSize", "Actual tile size:"));
    ComboBoxGfxTileSize = MakeList(bar, "ComboBoxGfxTileSize", QTexts(TileSizeItems), TileSizeHint, true);
    ComboBoxGfxTileSize->setMaxVisibleItems(12);
    layout->addWidget(ComboBoxGfxTileSize);
    layout->addSpacing(12);

    CheckBoxGfxRearrange = MakeCheck(bar, "CheckBoxGfxRearrange", "Rearrange", RearrangeHint);
    layout->addWidget(CheckBoxGfxRearrange);
    ComboBoxGfxTilesPerBlockSize =
        MakeList(bar, "ComboBoxGfxTilesPerBlockSize", QTexts(TileSizeItems), TileSizeHint, true);
    layout->addWidget(ComboBoxGfxTilesPerBlockSize);
    // The block counts sit between the two words of "as ... by".
    layout->addWidget(MakeLabel(bar, "LabelGfxTilesPerBlock", "as"));
    EditGfxTilesPerBlockAcross = MakeBlockCountField(bar, "EditGfxTilesPerBlockAcross", true);
    layout->addWidget(EditGfxTilesPerBlockAcross);
    layout->addWidget(MakeLabel(bar, "LabelGfxTilesPerBlockBy", "by"));
    EditGfxTilesPerBlockDown = MakeBlockCountField(bar, "EditGfxTilesPerBlockDown", false);
    layout->addWidget(EditGfxTilesPerBlockDown);
    ComboBoxGfxTilesPerBlockDirection = MakeList(bar, "ComboBoxGfxTilesPerBlockDirection", {"Across", "Down"});
    layout->addWidget(ComboBoxGfxTilesPerBlockDirection);

    layout->addStretch(1);
    return bar;
}

QWidget* RipperPage::BuildFileBar(QWidget* parent) {
    auto* bar = Named(new QWidget(parent), "PanelGfxFiles");
    QHBoxLayout* layout = RowLayout(bar);

    layout->addWidget(MakeLabel(bar, "LabelGfxFileName", "SaveState:"));
    EditGfxFileName = MakeEdit(bar, "EditGfxFileName", "");
    layout->addWidget(EditGfxFileName, 1);
    ButtonOpenGfx = MakeEllipsisButton(bar, "ButtonOpenGfx");
    layout->addWidget(ButtonOpenGfx);

    layout->addSpacing(8);
    layout->addWidget(MakeLabel(bar, "LabelGfxTilesFileName", "Tiles:"));
    EditGfxTilesFileName = MakeEdit(bar, "EditGfxTilesFileName", "");
    layout->addWidget(EditGfxTilesFileName, 1);
    ButtonOpenGfxTiles = MakeEllipsisButton(bar, "ButtonOpenGfxTiles");
    layout->addWidget(ButtonOpenGfxTiles);
    ButtonLoadTiles = MakeButton(bar, "ButtonLoadTiles", "Load Tiles");
    ButtonLoadTiles->hide();
    layout->addWidget(ButtonLoadTiles);
    ButtonClearTiles = MakeButton(bar, "ButtonClearTiles", "Clear Tiles");
    layout->addWidget(ButtonClearTiles);
    CheckBoxUseMap = MakeCheck(bar, "CheckBoxUseMap", "Use Loaded Tiles");
    layout->addWidget(CheckBoxUseMap);
    layout->addSpacing(8);
    ButtonSaveGfx = MakeButton(bar, "ButtonSaveGfx", "Save Gfx");
    layout->addWidget(ButtonSaveGfx);
    return bar;
}

void RipperPage::AttachDimensionPresets() {
    QMenu* presets = Services.DimensionPresets;
    for (QLineEdit* field : {EditGfxTileWidth, EditGfxTileHeight}) {
        field->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(field, &QWidget::customContextMenuRequested, this,
                [presets, field](const QPoint& position) { presets->popup(field->mapToGlobal(position)); });
    }
}

} // namespace tavrik
