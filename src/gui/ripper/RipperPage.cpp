// The "Tile Ripper" tab's handlers: each reads its controls, calls the core and shows what came back.
#include "ripper/RipperPage.h"

#include "app/Address.h"
#include "app/Checked.h"
#include "app/Error.h"
#include "imageio/ImageLoader.h"
#include "memory/CopperList.h"
#include "platform/HandlerGuard.h"
#include "ripper/RipParameterReader.h"
#include "ripper/TileSheet.h"
#include "widgets/Controls.h"
#include "widgets/ImageView.h"
#include "widgets/QtText.h"
#include "workspace/Rip.h"
#include "workspace/ScreenOperations.h"
#include "workspace/TilePictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStringList>

#include <exception>

namespace tavrik {

namespace {

std::string Text(const QLineEdit* field) { return StdText(field->text()); }
QString Text(const std::string& text) { return QText(text); }

constexpr int ScaleModeFit = 1;

} // namespace

RipperPage::RipperPage(const RipperPageServices& services, QWidget* parent) : QWidget(parent), Services(services) {
    setObjectName("TabSheetGfx");
    BuildControls();
    ConnectHandlers();
    ModeChanged();
    RefreshGridControls();
    ApplyKeyboardLayout(Layout);
}

void RipperPage::ConnectHandlers() {
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

    // EditGfxFileName is where the data file's name lives; the window keeps it as DataFileName.
    connect(EditGfxFileName, &QLineEdit::textChanged, this, &RipperPage::DataFileNameEdited);

    connect(ImgView32Extract, &TImgView32::PictureMouseMove, this,
            [this](QPoint pixel) { RunHandler(UserDialogs(), [&] { PointerMoved(pixel); }); });
    connect(ImgView32Extract, &TImgView32::PictureMousePress, this,
            [this](QPoint pixel) { RunHandler(UserDialogs(), [&] { PointerPressed(pixel); }); });
    CaptureViewKeys();
    ImgView32Extract->viewport()->installEventFilter(this);
}

// ---- Controls in and out ----

RipControls RipperPage::ReadControls() const {
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
void RipperPage::WriteControls(const RipControls& c) {
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

// The boxes and lists the keys never change, after the fields they do.
void RipperPage::WriteEveryControl(const RipControls& c) {
    WriteControls(c);
    CheckBoxGfxMaskBefore->setChecked(c.MaskBefore);
    CheckBoxGfxMaskAfter->setChecked(c.MaskAfter);
    CheckBoxGfxRearrange->setChecked(c.Rearrange);
    SetIndex(ComboBoxGfxTilesPerBlockDirection, c.TilesPerBlockDirectionIndex);
    ComboBoxGfxTilesPerBlockSize->setCurrentText(Text(c.TilesPerBlockSize.Text));
    ComboBoxGfxTileSize->setCurrentText(Text(c.ActualTileSize.Text));
}

void RipperPage::ApplyRipRequest(const RipRequest& request) {
    WriteEveryControl(request.Controls);
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

void RipperPage::ShowScreen() {
    const RebuiltScreen screen = RebuildScreen(Work().Memory, LoadedScreenMachine(Work().Memory));
    ApplyRipRequest(ScreenRipRequest(screen, ReadControls()));
}

void RipperPage::ApplyControlUpdates(const RipControlUpdates& updates) {
    if (updates.TilesPerBlockAcross) EditGfxTilesPerBlockAcross->setText(Text(*updates.TilesPerBlockAcross));
    if (updates.TilesPerBlockDown) EditGfxTilesPerBlockDown->setText(Text(*updates.TilesPerBlockDown));
    if (updates.BitplaneOrderLabel) LabelBitplaneOrder->setText(Text(*updates.BitplaneOrderLabel));
}

// Painted before the handler returns, so a held key shows every step and no repaint waits behind it.
void RipperPage::ShowImage(const Image& image) {
    ImgView32Extract->SetImage(image);
    if (ImgView32Extract->isVisible()) ImgView32Extract->viewport()->repaint();
}

// ---- The rip ----

void RipperPage::ButtonGfxRipClick() {
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
    // The pointer resting on the view now points at another tile when the rip changed the tiles' sizes.
    if (PointerPixel) PointerMoved(*PointerPixel);
}

void RipperPage::ReadRipParameters() {
    ApplyControlUpdates(tavrik::ReadRipParameters(ReadControls(), Work().Ripper, Work().Addresses()));
}

void RipperPage::Refresh() { ButtonGfxRipClick(); }

void RipperPage::ModeChanged() {
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

void RipperPage::MoveRipAddress(int32_t delta) {
    EditGfxAddress->setText(Text(tavrik::MoveRipAddress(Work().Ripper.Parameters, delta, Work().Addresses())));
    ButtonGfxRipClick();
}

// One bitplane of the current sheet.
void RipperPage::PageStep(int direction) {
    const int32_t step = CheckedMul(Work().TileSheet.Width() / 8, Work().TileSheet.Height());
    MoveRipAddress(direction < 0 ? -step : step);
}

void RipperPage::ShowDataFileName(const std::string& fileName) {
    if (EditGfxFileName->text() != Text(fileName)) EditGfxFileName->setText(Text(fileName));
}

void RipperPage::DataFileLoaded(const DataFileLoad& load) {
    EditGfxPaletteAddress->setText(Text(load.PaletteAddressText));
    LastLoadPalette = load.Palette;
    PaletteSection->ApplySavedPalette(load.Palette);
    ButtonGfxRipClick();
}

// ---- Display ----

void RipperPage::ZoomChanged() {
    ImgView32Extract->SetScale(GaugeBarGfxZoom->value() / 100.0);
    ScaleModeChanged();
}

void RipperPage::ScaleModeChanged() {
    if (ComboBoxGfxScaleMode->currentIndex() == ScaleModeFit) {
        ImgView32Extract->SetScaleMode(TImgView32::ScaleMode::Fit);
        LabelGfxZoomValue->setText("Automatic");
        return;
    }
    ImgView32Extract->SetScaleMode(TImgView32::ScaleMode::Normal);
    ImgView32Extract->SetScale(GaugeBarGfxZoom->value() / 100.0);
    LabelGfxZoomValue->setText(QString::number(GaugeBarGfxZoom->value()) + "%");
}

void RipperPage::ApplyStartZoom() {
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

void RipperPage::GridCheckChanged() {
    Work().Grid.GridEnabled = CheckBoxGfxGrid->isChecked();
    ButtonGfxRipClick();
}

void RipperPage::GridThicknessChosen(int32_t thickness) {
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

// The check box shows the grid settings; the window's "Grid" items follow them.
void RipperPage::RefreshGridControls() {
    {
        const QSignalBlocker blocker(CheckBoxGfxGrid);
        CheckBoxGfxGrid->setChecked(Work().Grid.GridEnabled);
    }
    emit GridSettingsChanged();
}

void RipperPage::ApplyKeyboardLayout(KeyboardLayout layout) {
    Layout = layout;
    Keys = KeysForLayout(layout);
    const LayoutKeyLabels labels = KeyLabelsFor(Keys);
    LabelGfxTileWidthKeys->setText(Text(labels.TileWidthKeys));
    LabelGfxTileHeightKeys->setText(Text(labels.TileHeightKeys));
    LabelGfxRipHeightKeys->setText(Text(labels.RipHeightKeys));
    LabelGfxModeKeys->setText(Text(labels.ModeKeys));
}

// A failing rip leaves what the preset wrote, and is reported.
void RipperPage::ApplyDimensionPreset(const QString& caption) {
    const DimensionPreset preset = ReadDimensionPreset(QString(caption).remove('&').toStdString());
    if (preset.TileWidth) EditGfxTileWidth->setText(Text(*preset.TileWidth));
    if (preset.TileHeight) EditGfxTileHeight->setText(Text(*preset.TileHeight));
    if (preset.Rip) ButtonGfxRipClick();
}

void RipperPage::SaveSheet() { tavrik::SaveSheet(Work().TileSheet, UserDialogs(), ConfirmOverwritingTiles); }

// ---- Loaded tiles ----

void RipperPage::SetUseLoadedTiles(bool checked) {
    const QSignalBlocker blocker(CheckBoxUseMap);
    CheckBoxUseMap->setChecked(checked);
}

void RipperPage::LoadTiles() {
    TilePictureLoad load;
    try {
        load = LoadTilePicture(Work(), Text(EditGfxTilesFileName), UserDialogs());
    } catch (...) {
        SetUseLoadedTiles(false);
        throw;
    }
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

void RipperPage::UseLoadedTilesClicked() {
    if (CheckBoxUseMap->isChecked()) LoadTiles();
    // Ripping from memory again: the map images must match the 8-bit sheet the rip makes.
    if (!CheckBoxUseMap->isChecked()) ReturnToIndexedTiles(Work());
    ButtonGfxRipClick();
}

void RipperPage::ClearTiles() {
    EditGfxTilesFileName->clear();
    SetUseLoadedTiles(false);
    ReturnToIndexedTiles(Work());
    ButtonGfxRipClick();
}

// ---- Opening files ----

void RipperPage::OpenDataFileDialog() {
    if (const auto chosen = UserDialogs().OpenFile(DataFileOpenRequest(Text(EditGfxFileName))))
        emit FileChosen(Text(*chosen));
}

void RipperPage::OpenTilesDialog() {
    if (const auto chosen = UserDialogs().OpenFile(TileGraphicsOpenRequest(Text(EditGfxTilesFileName))))
        emit FileChosen(Text(*chosen));
}

void RipperPage::UseTilesPicture(const std::string& fileName) {
    EditGfxTilesFileName->setText(Text(fileName));
    SetUseLoadedTiles(true);
    UseLoadedTilesClicked();
}

// After a data file load the sheet and the map images are 8-bit again and the new memory is ripped.
void RipperPage::RipFromNewMemory() {
    ReturnToIndexedTiles(Work());
    SetUseLoadedTiles(false);
    UseLoadedTilesClicked();
}

// ---- Copper list ----

void RipperPage::CopperlistAction() {
    const uint32_t start = CopperlistActionStart(Work().Memory);
    EditGfxPaletteAddress->setText(Text(FormatAddress(start, Work().Addresses())));
    WalkCopperListFrom(start);
}

void RipperPage::ButtonGfxWalkCopperlistClick() {
    if (const auto start = ProcessStartAddress(Text(EditGfxPaletteAddress), Work().Addresses()))
        WalkCopperListFrom(*start);
}

void RipperPage::WalkCopperListFrom(uint32_t start) {
    const CopperWalk walk = WalkCopperList(Work().Memory, start, Work().Ripper.Parameters.CopperlistStopYPos);
    ShowCopperWalk(walk);
    if (!walk.Error.empty()) throw Error(walk.Error);
    Work().CopperPalette = walk.Palette;
    PaletteSection->SetCopperPalette(walk.Palette);
}

// The walk's listing in the "Info" tab, with the bitplane summary once the walk went through.
void RipperPage::ShowCopperWalk(const CopperWalk& walk) {
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(walk.Lines.size()));
    for (const std::string& line : walk.Lines)
        lines.push_back(Text(line));
    emit CopperListListed(lines.join('\n'));
    if (walk.Error.empty() && walk.LastBplcon0 > 0) emit InfoLineAdded(Text(BitplaneSummary(walk.LastBplcon0)));
}

void RipperPage::RefreshAddressFields() {
    int64_t ripAddress = Work().Ripper.Parameters.Address;
    EditGfxAddress->setText(Text(ShowAddress(ripAddress, Work().Addresses())));
    Work().Ripper.Parameters.Address = ripAddress;
    int64_t copperListAddress = int64_t{Work().Memory.Snapshot.COP1LC} + int64_t{Work().Memory.ChipRamOffset};
    EditGfxPaletteAddress->setText(Text(ShowAddress(copperListAddress, Work().Addresses())));
}

} // namespace tavrik
