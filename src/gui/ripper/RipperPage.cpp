// The "Tile Ripper" tab's handlers: each reads its controls, calls the core and shows what came back.
#include "RipperTab.h"

#include "ImageView.h"
#include "InfoTab.h"
#include "PalettePanel.h"
#include "workspace/TilePictures.h"
#include "app/Address.h"
#include "app/Checked.h"
#include "app/Error.h"
#include "app/IntegerText.h"
#include "imageio/ImageLoader.h"
#include "memory/CopperList.h"
#include "platform/HandlerGuard.h"
#include "workspace/Rip.h"
#include "ripper/RipParameterReader.h"
#include "ripper/TileSheet.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStringList>

#include <exception>

namespace tavrik {

namespace {

std::string Text(const QLineEdit* field) { return field->text().toStdString(); }
QString Text(const std::string& text) { return QString::fromStdString(text); }

EditableComboText ComboText(const QComboBox* list) {
    const QString text = list->currentText();
    const int index = list->currentIndex();
    return EditableComboText{index >= 0 && list->itemText(index) == text ? index : -1, text.toStdString()};
}

void SetIndex(QComboBox* list, int32_t index) {
    const QSignalBlocker blocker(list);
    if (index >= 0 && index < list->count()) list->setCurrentIndex(index);
}

// The grid thickness and keyboard layout items carry their value as the action's data.
constexpr std::pair<const char*, int32_t> GridItems[] = {
    {"mnuGrid1Pixel", 1}, {"mnuGrid2Pixels", 2}, {"mnuGrid3Pixels", 3}};
constexpr std::pair<const char*, KeyboardLayout> LayoutItems[] = {{"mnuKeyboardQwerty", KeyboardLayout::Qwerty},
                                                                  {"mnuKeyboardQwertz", KeyboardLayout::Qwertz},
                                                                  {"mnuKeyboardAzerty", KeyboardLayout::Azerty}};

constexpr int ScaleModeNormal = 0;
constexpr int ScaleModeFit = 1;

} // namespace

TRipperTab::TRipperTab(TForm1& form, QWidget* page) : QObject(page), Form(form), Page(page) {
    setObjectName("RipperTab");
    BuildControls();
    ConnectHandlers();
    ConnectMenuItems();
    EditGfxFileName->setText(Text(Form.DataFileName));
    ModeChanged();
    RefreshGridControls();
    ApplyKeyboardLayout(Layout);
    Form.RegisterTabHandlers(Page, this);
    Form.ChosenFileHandler = [this](const std::string& fileName) { OpenChosenFile(fileName); };
    // A new piece of work starts with the default palette, which also makes the first rip.
    RunHandler(UserDialogs(), [this] { PaletteSection->mnuDefaultPaletteClick(); });
}

void TRipperTab::ConnectHandlers() {
    Dialogs& dialogs = UserDialogs();
    const auto onClick = [&](QAbstractButton* button, std::function<void()> handler) {
        ConnectHandler(button, &QAbstractButton::clicked, this, dialogs, std::move(handler));
    };
    const auto onIndex = [&](QComboBox* list, std::function<void()> handler) {
        ConnectHandler(list, &QComboBox::currentIndexChanged, this, dialogs, std::move(handler));
    };
    const auto rip = [this] { ButtonGfxRipClick(); };

    onClick(ButtonGfxRip, rip);
    onClick(CheckBoxGfxMaskBefore, rip);
    onClick(CheckBoxGfxMaskAfter, rip);
    onClick(CheckBoxGfxRearrange, rip);
    ConnectHandler(ComboBoxGfxTilesPerBlockSize, &QComboBox::currentTextChanged, this, dialogs, rip);
    onIndex(ComboBoxGfxMode, [this] {
        ModeChanged();
        ButtonGfxRipClick();
    });
    onIndex(ComboBoxGfxSkipMode, rip);
    onIndex(ComboBoxGfxScaleMode, [this] {
        StartZoomPending = false;
        ScaleModeChanged();
    });
    ConnectHandler(GaugeBarGfxZoom, &QSlider::valueChanged, this, dialogs, [this] {
        StartZoomPending = false;
        ZoomChanged();
    });
    onClick(CheckBoxGfxGrid, [this] { GridCheckChanged(); });

    onClick(ButtonSaveGfx, [this] { SaveSheet(); });
    onClick(ButtonLoadTiles, [this] { LoadTiles(); });
    onClick(ButtonClearTiles, [this] { ClearTiles(); });
    onClick(CheckBoxUseMap, [this] { UseLoadedTilesClicked(); });
    onClick(ButtonOpenGfx, [this] { OpenDataFileDialog(); });
    onClick(ButtonOpenGfxTiles, [this] { OpenTilesDialog(); });
    onClick(ButtonGfxWalkCopperlist, [this] { ButtonGfxWalkCopperlistClick(); });

    // EditGfxFileName is where the data file's name lives; the window reads it as DataFileName.
    connect(EditGfxFileName, &QLineEdit::textChanged, this,
            [this](const QString& text) { Form.DataFileName = text.toStdString(); });

    connect(ImgView32Extract, &TImgView32::PictureMouseMove, this,
            [this](QPoint pixel) { RunHandler(UserDialogs(), [&] { PointerMoved(pixel); }); });
    connect(ImgView32Extract, &TImgView32::PictureMousePress, this,
            [this](QPoint pixel) { RunHandler(UserDialogs(), [&] { PointerPressed(pixel); }); });
    EditGfxKeyCapture->installEventFilter(this);
    ImgView32Extract->viewport()->installEventFilter(this);
}

void TRipperTab::ConnectMenuItems() {
    for (QAction* preset : PopupMenuGfxBitplaneDimensions->actions())
        if (!preset->isSeparator())
            Form.ConnectMenuItem(preset->objectName(),
                                 [this, caption = preset->text()] { ApplyDimensionPreset(caption); });
    for (const auto& [name, thickness] : GridItems)
        Form.ConnectMenuItem(name, [this, value = thickness] { GridThicknessChosen(value); });
    for (const auto& [name, layout] : LayoutItems)
        Form.ConnectMenuItem(name, [this, value = layout] { ApplyKeyboardLayout(value); });
}

// ---- Controls in and out ----

RipControls TRipperTab::ReadControls() const {
    RipControls c;
    c.Address = Text(EditGfxAddress);
    c.Bitplanes = Text(EditGfxBitplaneCount);
    c.TileWidth = Text(EditGfxTileWidth);
    c.TileHeight = Text(EditGfxTileHeight);
    c.SkipBytes = Text(EditGfxSkipBytes);
    c.SkipModeIndex = ComboBoxGfxSkipMode->currentIndex();
    c.RipWidth = Text(EditGfxRipWidth);
    c.RipHeight = Text(EditGfxRipHeight);
    c.ModeIndex = ComboBoxGfxMode->currentIndex();
    c.SpriteBankIndex = ComboBoxGfxSpriteMode->currentIndex();
    c.MaskBefore = CheckBoxGfxMaskBefore->isChecked();
    c.MaskAfter = CheckBoxGfxMaskAfter->isChecked();
    c.TilesPerBlockAcross = Text(EditGfxTilesPerBlockAcross);
    c.TilesPerBlockDown = Text(EditGfxTilesPerBlockDown);
    c.TilesPerBlockDirectionIndex = ComboBoxGfxTilesPerBlockDirection->currentIndex();
    c.TilesPerBlockSize = ComboText(ComboBoxGfxTilesPerBlockSize);
    c.ActualTileSize = ComboText(ComboBoxGfxTileSize);
    c.Rearrange = CheckBoxGfxRearrange->isChecked();
    c.UseLoadedTiles = CheckBoxUseMap->isChecked();
    c.CopperlistStopYPos = Text(EditGfxCopperlistStopYPos);
    return c;
}

// What the keys change; a text that is already there is left alone so the cursor stays.
void TRipperTab::WriteControls(const RipControls& c) {
    const auto put = [](QLineEdit* field, const std::string& text) {
        if (field->text() != Text(text)) field->setText(Text(text));
    };
    put(EditGfxAddress, c.Address);
    put(EditGfxBitplaneCount, c.Bitplanes);
    put(EditGfxTileWidth, c.TileWidth);
    put(EditGfxTileHeight, c.TileHeight);
    put(EditGfxSkipBytes, c.SkipBytes);
    put(EditGfxRipWidth, c.RipWidth);
    put(EditGfxRipHeight, c.RipHeight);
    put(EditGfxTilesPerBlockAcross, c.TilesPerBlockAcross);
    put(EditGfxTilesPerBlockDown, c.TilesPerBlockDown);
    put(EditGfxCopperlistStopYPos, c.CopperlistStopYPos);
    SetIndex(ComboBoxGfxSkipMode, c.SkipModeIndex);
    SetIndex(ComboBoxGfxMode, c.ModeIndex);
    SetIndex(ComboBoxGfxSpriteMode, c.SpriteBankIndex);
}

void TRipperTab::ApplyRipRequest(const RipRequest& request) {
    const RipControls& c = request.Controls;
    WriteControls(c);
    CheckBoxGfxMaskBefore->setChecked(c.MaskBefore);
    CheckBoxGfxMaskAfter->setChecked(c.MaskAfter);
    CheckBoxGfxRearrange->setChecked(c.Rearrange);
    SetIndex(ComboBoxGfxTilesPerBlockDirection, c.TilesPerBlockDirectionIndex);
    ComboBoxGfxTilesPerBlockSize->setCurrentText(Text(c.TilesPerBlockSize.Text));
    ComboBoxGfxTileSize->setCurrentText(Text(c.ActualTileSize.Text));
    ModeChanged();
    const RipRequestResult result = tavrik::ApplyRipRequest(Work(), request, LastLoadPalette);
    RefreshGridControls();
    ApplyControlUpdates(result.ControlUpdates);
    if (result.Copper) {
        EditGfxPaletteAddress->setText(Text(FormatAddress(CopperlistActionStart(Work().Memory), Work().Addresses())));
        ShowCopperWalk(*result.Copper);
    }
    PaletteSection->DisplayWorkingPalette();
    if (result.Rip.Outcome == RipOutcome::Ripped) ShowImage(ShownImage(result.Rip, Work()));
}

void TRipperTab::ApplyControlUpdates(const RipControlUpdates& updates) {
    if (updates.TilesPerBlockAcross) EditGfxTilesPerBlockAcross->setText(Text(*updates.TilesPerBlockAcross));
    if (updates.TilesPerBlockDown) EditGfxTilesPerBlockDown->setText(Text(*updates.TilesPerBlockDown));
    if (updates.BitplaneOrderLabel) LabelBitplaneOrder->setText(Text(*updates.BitplaneOrderLabel));
}

// Painted before the handler returns, so a held key shows every step and no repaint waits behind it.
void TRipperTab::ShowImage(const Image& image) {
    ImgView32Extract->SetImage(image);
    if (ImgView32Extract->isVisible()) ImgView32Extract->viewport()->repaint();
}

// ---- The rip ----

void TRipperTab::ButtonGfxRipClick() {
    RipControlUpdates updates;
    RipResult result;
    try {
        result = Rip(Work(), ReadControls(), updates);
    } catch (...) {
        ApplyControlUpdates(updates);
        throw;
    }
    ApplyControlUpdates(updates);
    if (result.Outcome == RipOutcome::Ripped) ShowImage(ShownImage(result, Work()));
}

void TRipperTab::ReadRipParameters() {
    ApplyControlUpdates(tavrik::ReadRipParameters(ReadControls(), Work().Ripper, Work().Addresses()));
}

void TRipperTab::Refresh() { ButtonGfxRipClick(); }

void TRipperTab::ModeChanged() {
    const RipModeControls shown =
        tavrik::ModeChanged(ComboBoxGfxMode->currentIndex(), Work().Ripper.Parameters.Bitplanes);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{LabelGfxSprite4ColourBank, LabelGfxColourBankKeys, ComboBoxGfxSpriteMode})
        widget->setVisible(shown.SpriteControlsVisible);
    ComboBoxGfxSpriteMode->setEnabled(shown.SpriteBankEnabled);
    EditGfxTileWidth->setEnabled(shown.TileWidthEnabled);
    for (QCheckBox* mask : {CheckBoxGfxMaskBefore, CheckBoxGfxMaskAfter}) {
        mask->setVisible(shown.MaskControlsVisible);
        mask->setEnabled(shown.MaskControlsVisible);
    }
    LabelBitplaneOrder->setVisible(shown.BitplaneOrderVisible);
}

void TRipperTab::MoveRipAddress(int32_t delta) {
    try {
        EditGfxAddress->setText(Text(tavrik::MoveRipAddress(Work().Ripper.Parameters, delta, Work().Addresses())));
        ButtonGfxRipClick();
    } catch (const std::exception&) {
        // Walking past the ends of memory is not worth a message.
    }
}

// One bitplane of the current sheet.
bool TRipperTab::PageStep(int direction) {
    try {
        const int32_t step = CheckedMul(Work().TileSheet.Width() / 8, Work().TileSheet.Height());
        MoveRipAddress(direction < 0 ? -step : step);
    } catch (const std::exception&) {
    }
    return true;
}

void TRipperTab::DataFileLoaded(const DataFileLoad& load) {
    if (EditGfxFileName->text() != Text(Form.DataFileName)) EditGfxFileName->setText(Text(Form.DataFileName));
    EditGfxPaletteAddress->setText(Text(load.PaletteAddressText));
    LastLoadPalette = load.Palette;
    PaletteSection->ApplySavedPalette(load.Palette);
    ButtonGfxRipClick();
}

// ---- Display ----

void TRipperTab::ZoomChanged() {
    ImgView32Extract->SetScale(GaugeBarGfxZoom->value() / 100.0);
    ScaleModeChanged();
}

void TRipperTab::ScaleModeChanged() {
    if (ComboBoxGfxScaleMode->currentIndex() == ScaleModeFit) {
        ImgView32Extract->SetScaleMode(TImgView32::ScaleMode::Fit);
        LabelGfxZoomValue->setText("Automatic");
        return;
    }
    ImgView32Extract->SetScaleMode(TImgView32::ScaleMode::Normal);
    ImgView32Extract->SetScale(GaugeBarGfxZoom->value() / 100.0);
    LabelGfxZoomValue->setText(QString::number(GaugeBarGfxZoom->value()) + "%");
}

void TRipperTab::ApplyStartZoom() {
    const RipParameters& p = Work().Ripper.Parameters;
    const QSize area = ImgView32Extract->viewport()->size();
    if (area.width() < 2 * p.RipWidth || area.height() < 2 * p.RipHeight) return;
    StartZoomPending = false;
    {
        const QSignalBlocker blocker(GaugeBarGfxZoom);
        GaugeBarGfxZoom->setValue(200);
    }
    ZoomChanged();
}

void TRipperTab::GridCheckChanged() {
    Work().Grid.GridEnabled = CheckBoxGfxGrid->isChecked();
    ButtonGfxRipClick();
}

void TRipperTab::GridThicknessChosen(int32_t thickness) {
    GridSettings& grid = Work().Grid;
    if (thickness == grid.GridThickness) {
        RefreshGridControls();
        return;
    }
    grid.GridThickness = thickness;
    grid.GridEnabled = true;
    RefreshGridControls();
    ButtonGfxRipClick();
}

// The check box and the "Grid" menu items show the grid settings.
void TRipperTab::RefreshGridControls() {
    const GridSettings& grid = Work().Grid;
    {
        const QSignalBlocker blocker(CheckBoxGfxGrid);
        CheckBoxGfxGrid->setChecked(grid.GridEnabled);
    }
    for (const auto& [name, thickness] : GridItems)
        if (auto* item = Form.findChild<QAction*>(name)) item->setChecked(thickness == grid.GridThickness);
}

void TRipperTab::ApplyKeyboardLayout(KeyboardLayout layout) {
    Layout = layout;
    Keys = KeysForLayout(layout);
    for (const auto& [name, itemLayout] : LayoutItems)
        if (auto* item = Form.findChild<QAction*>(name)) item->setChecked(itemLayout == layout);
    // The map tabs' labels follow the layout as well; they are found by name wherever they are.
    const LayoutKeyLabels labels = KeyLabelsFor(Keys);
    const std::pair<const char*, const std::string*> labelTexts[] = {
        {"LabelGfxTileWidthKeys", &labels.TileWidthKeys},     {"LabelMapWidthInTilesKeys", &labels.TileWidthKeys},
        {"LabelMap2WidthInTilesKeys", &labels.TileWidthKeys}, {"LabelGfxTileHeightKeys", &labels.TileHeightKeys},
        {"LabelMapHeightInTilesKeys", &labels.TileHeightKeys}, {"LabelMap2HeightInTilesKeys", &labels.TileHeightKeys},
        {"LabelGfxRipHeightKeys", &labels.RipHeightKeys},     {"LabelGfxModeKeys", &labels.ModeKeys}};
    for (const auto& [name, text] : labelTexts)
        if (auto* widget = Form.findChild<QLabel*>(name)) widget->setText(Text(*text));
}

void TRipperTab::ApplyDimensionPreset(const QString& caption) {
    try {
        const DimensionPreset preset = ReadDimensionPreset(QString(caption).remove('&').toStdString());
        if (preset.TileWidth) EditGfxTileWidth->setText(Text(*preset.TileWidth));
        if (preset.TileHeight) EditGfxTileHeight->setText(Text(*preset.TileHeight));
        if (preset.Rip) ButtonGfxRipClick();
    } catch (const std::exception&) {
        // A preset that cannot be used leaves what it wrote.
    }
}

void TRipperTab::SaveSheet() { tavrik::SaveSheet(Work().TileSheet, UserDialogs(), ConfirmOverwritingTiles); }

// ---- Loaded tiles ----

void TRipperTab::SetUseLoadedTiles(bool checked) {
    const QSignalBlocker blocker(CheckBoxUseMap);
    CheckBoxUseMap->setChecked(checked);
}

void TRipperTab::LoadTiles() {
    const TilePictureLoad load = LoadTilePicture(Work(), Text(EditGfxTilesFileName), UserDialogs());
    if (!load.Found) {
        SetUseLoadedTiles(false);
        return;
    }
    if (load.PaletteChanged) PaletteSection->DisplayWorkingPalette();
    const Image& sheet = Work().TileSheet;
    EditGfxRipWidth->setText(QString::number(sheet.Width()));
    EditGfxRipHeight->setText(QString::number(sheet.Height()));
    ShowImage(sheet);
    SetUseLoadedTiles(true);
    ButtonGfxRipClick();
}

void TRipperTab::UseLoadedTilesClicked() {
    if (CheckBoxUseMap->isChecked()) LoadTiles();
    // Ripping from memory again: the map images must match the 8-bit sheet the rip makes.
    if (!CheckBoxUseMap->isChecked()) ReturnToIndexedTiles(Work());
    ButtonGfxRipClick();
}

void TRipperTab::ClearTiles() {
    EditGfxTilesFileName->clear();
    SetUseLoadedTiles(false);
    ReturnToIndexedTiles(Work());
    ButtonGfxRipClick();
}

// ---- Opening files ----

void TRipperTab::OpenDataFileDialog() {
    if (const auto chosen = UserDialogs().OpenFile(DataFileOpenRequest(Text(EditGfxFileName)))) OpenChosenFile(*chosen);
}

void TRipperTab::OpenTilesDialog() {
    if (const auto chosen = UserDialogs().OpenFile(TileGraphicsOpenRequest(Text(EditGfxTilesFileName))))
        OpenChosenFile(*chosen);
}

void TRipperTab::OpenChosenFile(const std::string& fileName) {
    switch (RouteOpenedFile(fileName)) {
    case OpenFileRoute::Project:
        UserDialogs().Information("Projects cannot be opened yet, so " + fileName + " was not loaded.");
        break;
    case OpenFileRoute::Picture:
        EditGfxTilesFileName->setText(Text(fileName));
        SetUseLoadedTiles(true);
        UseLoadedTilesClicked();
        break;
    case OpenFileRoute::DataFile:
        EditGfxFileName->setText(Text(fileName));
        Form.LoadDataFile();
        RipFromNewMemory();
        break;
    }
}

// After a data file load the sheet and the map images are 8-bit again and the new memory is ripped.
void TRipperTab::RipFromNewMemory() {
    ReturnToIndexedTiles(Work());
    SetUseLoadedTiles(false);
    UseLoadedTilesClicked();
}

// ---- Copper list ----

void TRipperTab::CopperlistAction() {
    const uint32_t start = CopperlistActionStart(Work().Memory);
    EditGfxPaletteAddress->setText(Text(FormatAddress(start, Work().Addresses())));
    WalkCopperListFrom(start);
}

void TRipperTab::ButtonGfxWalkCopperlistClick() {
    if (const auto start = ProcessStartAddress(Text(EditGfxPaletteAddress), Work().Addresses()))
        WalkCopperListFrom(*start);
}

void TRipperTab::WalkCopperListFrom(uint32_t start) {
    const CopperWalk walk = WalkCopperList(Work().Memory, start, Work().Ripper.Parameters.CopperlistStopYPos);
    ShowCopperWalk(walk);
    if (!walk.Error.empty()) throw Error(walk.Error);
    Work().CopperPalette = walk.Palette;
    PaletteSection->SetCopperPalette(walk.Palette);
}

// The walk's listing in the "Info" tab, with the bitplane summary once the walk went through.
void TRipperTab::ShowCopperWalk(const CopperWalk& walk) {
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(walk.Lines.size()));
    for (const std::string& line : walk.Lines)
        lines.push_back(Text(line));
    Form.Info().MemoCopperlist()->setPlainText(lines.join('\n'));
    if (walk.Error.empty() && walk.LastBplcon0 > 0) Form.Info().MemoInfo()->appendPlainText(Text(BitplaneSummary(walk.LastBplcon0)));
}

} // namespace tavrik
