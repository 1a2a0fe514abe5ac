// The "Tile Ripper" tab: the ripper's controls, the tile sheet view with its zoom, grid and key capture
// field, the copper list controls, the tile picture and save controls, and the palette section.
#pragma once

#include "Unit1.h"
#include "workspace/RipRequest.h"
#include "ripper/RipControls.h"
#include "ripper/RipperKeys.h"

#include <QObject>
#include <QPoint>

#include <cstdint>
#include <string>

class QCheckBox;
class QComboBox;
class QEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSlider;

namespace tavrik {

class Image;
class PalettePanel;
class TImgView32;
struct RipControlUpdates;

// A key of the ripper view as the core's key logic knows it: arrows, the numeric keypad's 2, 4, 6 and 8,
// letters and the digits of the main keyboard, with Shift and Ctrl as held. A digit key counts as its digit
// whatever character the layout and Shift give it: digitRowKey is the digit of the key's place in the digit
// row when the platform tells it (-1 when not); otherwise the US layout's shifted digits are recognised.
KeyPress TranslateRipperKey(int key, Qt::KeyboardModifiers modifiers, int digitRowKey = -1);

class TRipperTab : public QObject, public TabHandlers {
    Q_OBJECT
  public:
    // Builds the tab's controls on page (TabSheetGfx) and registers the tab's handlers with the window.
    TRipperTab(TForm1& form, QWidget* page);

    // TabHandlers: F5, Page Up / Page Down, and the end of a data file load.
    void Refresh() override;
    bool PageStep(int direction) override;
    void DataFileLoaded(const DataFileLoad& load) override;

    // The rip (Rip Tiles, F5, every ripper key): controls in, core rip, corrections and the sheet out.
    void ButtonGfxRipClick();
    // Reads the ripper's controls into the parameters without ripping (the key field gaining focus).
    void ReadRipParameters();
    // Shows and enables the controls that depend on the graphics mode.
    void ModeChanged();
    // Moves the rip address by delta bytes and rips; errors are ignored.
    void MoveRipAddress(int32_t delta);

    void ZoomChanged();
    void ScaleModeChanged();
    void GridCheckChanged();
    void GridThicknessChosen(int32_t thickness);
    // The check box and the "Grid" menu items from the grid settings (after the settings are read).
    void RefreshGridControls();
    void ApplyKeyboardLayout(KeyboardLayout layout);
    void ApplyDimensionPreset(const QString& caption);
    void SaveSheet();

    void LoadTiles();
    void UseLoadedTilesClicked();
    void ClearTiles();

    // "Open...", ButtonOpenGfx and ButtonOpenGfxTiles: the dialog, then OpenChosenFile.
    void OpenDataFileDialog();
    void OpenTilesDialog();
    // Routes a chosen file by its extension: a project, a picture to use as tiles, or a data file.
    void OpenChosenFile(const std::string& fileName);

    // Puts a rip asked for on the program's command line into the controls, then shows it: with its
    // palette choice ("copper" walks the copper list) or else a plain rip.
    void ApplyRipRequest(const RipRequest& request);

    void CopperlistAction();
    void ButtonGfxWalkCopperlistClick();

    // The ripper view's keys, as they reach EditGfxKeyCapture.
    void RipperKeyDown(const KeyPress& key);
    void PointerMoved(QPoint pixel);
    void PointerPressed(QPoint pixel);

    // Start-up: the 200% zoom when the view is at least twice the rip size each way. Tried as the view gets
    // its size until it succeeds or the user sets the zoom or scale mode.
    void ApplyStartZoom();

    PalettePanel& Palette() const { return *PaletteSection; }
    TImgView32& View() const { return *ImgView32Extract; }
    KeyboardLayout CurrentKeyboardLayout() const { return Layout; }

    // "Confirm overwriting tiles"; the settings will keep it.
    bool ConfirmOverwritingTiles = true;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // RipperTabLayout.cpp
    void BuildControls();
    QWidget* BuildParameterColumn(QWidget* parent);
    QWidget* BuildViewBar(QWidget* parent);
    QWidget* BuildSheetBar(QWidget* parent);
    QWidget* BuildFileBar(QWidget* parent);
    void AttachDimensionPresets();

    // RipperTab.cpp
    void ConnectHandlers();
    void ConnectMenuItems();
    RipControls ReadControls() const;
    void WriteControls(const RipControls& controls);
    void ApplyControlUpdates(const RipControlUpdates& updates);
    void ShowImage(const Image& image);
    void SetUseLoadedTiles(bool checked);
    void WalkCopperListFrom(uint32_t start);
    void ShowCopperWalk(const CopperWalk& walk);
    void RipFromNewMemory();

    // RipperTabKeys.cpp
    bool KeyCaptureEvent(QEvent* event);
    int32_t ShownGridThickness() const;

    Workspace& Work() const { return Form.Work(); }
    Dialogs& UserDialogs() const { return Form.UserDialogs(); }

    TForm1& Form;
    QWidget* Page;
    KeyboardLayout Layout = KeyboardLayout::Qwerty;
    // The saved colours the last load chose, which a rip request without a palette choice keeps.
    SavedPalette LastLoadPalette = SavedPalette::None;
    LayoutKeys Keys;
    bool StartZoomPending = true;

    // Ripper parameters.
    QLineEdit* EditGfxAddress = nullptr;
    QLineEdit* EditGfxTileWidth = nullptr;
    QLineEdit* EditGfxTileHeight = nullptr;
    QLineEdit* EditGfxBitplaneCount = nullptr;
    QLineEdit* EditGfxSkipBytes = nullptr;
    QComboBox* ComboBoxGfxSkipMode = nullptr;
    QLineEdit* EditGfxRipWidth = nullptr;
    QLineEdit* EditGfxRipHeight = nullptr;
    QComboBox* ComboBoxGfxMode = nullptr;
    QComboBox* ComboBoxGfxSpriteMode = nullptr;
    QLabel* LabelGfxSprite4ColourBank = nullptr;
    QLabel* LabelGfxColourBankKeys = nullptr;
    QCheckBox* CheckBoxGfxMaskBefore = nullptr;
    QCheckBox* CheckBoxGfxMaskAfter = nullptr;
    QLabel* LabelBitplaneOrder = nullptr;
    QPushButton* ButtonGfxRip = nullptr;
    QMenu* PopupMenuGfxBitplaneDimensions = nullptr;

    // Copper list.
    QLineEdit* EditGfxPaletteAddress = nullptr;
    QPushButton* ButtonGfxWalkCopperlist = nullptr;
    QLineEdit* EditGfxCopperlistStopYPos = nullptr;

    // The view and its display options.
    TImgView32* ImgView32Extract = nullptr;
    QLineEdit* EditGfxKeyCapture = nullptr;
    QLabel* LabelGfxMapActive = nullptr;
    QSlider* GaugeBarGfxZoom = nullptr;
    QLabel* LabelGfxZoomValue = nullptr;
    QComboBox* ComboBoxGfxScaleMode = nullptr;
    QCheckBox* CheckBoxGfxGrid = nullptr;
    QComboBox* ComboBoxGfxTileSize = nullptr;

    // Rearrangement and saving.
    QCheckBox* CheckBoxGfxRearrange = nullptr;
    QComboBox* ComboBoxGfxTilesPerBlockSize = nullptr;
    QLineEdit* EditGfxTilesPerBlockAcross = nullptr;
    QLineEdit* EditGfxTilesPerBlockDown = nullptr;
    QComboBox* ComboBoxGfxTilesPerBlockDirection = nullptr;
    QPushButton* ButtonSaveGfx = nullptr;

    // Files.
    QLineEdit* EditGfxFileName = nullptr;
    QPushButton* ButtonOpenGfx = nullptr;
    QLineEdit* EditGfxTilesFileName = nullptr;
    QPushButton* ButtonOpenGfxTiles = nullptr;
    QPushButton* ButtonLoadTiles = nullptr;
    QPushButton* ButtonClearTiles = nullptr;
    QCheckBox* CheckBoxUseMap = nullptr;

    PalettePanel* PaletteSection = nullptr;
};

} // namespace tavrik
