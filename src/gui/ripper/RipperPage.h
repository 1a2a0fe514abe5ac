// The "Tile Ripper" tab: the ripper's controls, the tile sheet view with its zoom, grid and key capture
// field, the copper list controls, the tile picture and save controls, and the palette section. The page
// works on the workspace it is given and reports to the window through its signals.
#pragma once

#include "app/Dialogs.h"
#include "ripper/PalettePanel.h"
#include "ripper/RipControls.h"
#include "ripper/RipperKeys.h"
#include "widgets/StatusSink.h"
#include "workspace/DataFileLoader.h"
#include "workspace/RipRequest.h"
#include "workspace/Workspace.h"

#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSlider;

namespace tavrik {

class Image;
class TImgView32;
struct CopperWalk;
struct ProjectFile;
struct RipControlUpdates;

// What the page is given by the window.
struct RipperPageServices {
    Workspace& Work;
    Dialogs& UserDialogs;
    StatusSink Status;
    QMenu* DimensionPresets = nullptr; // PopupMenuGfxBitplaneDimensions, opened on the tile size fields
    QMenu* PaletteMenu = nullptr;      // PopupMenuPalette, opened on the palette widget
    std::function<PaletteMenuPlace()> PalettePlace;
};

class RipperPage : public QWidget {
    Q_OBJECT
  public:
    explicit RipperPage(const RipperPageServices& services, QWidget* parent = nullptr);

    // F5 and Page Up / Page Down (by one bitplane of the sheet) while the tab is active.
    void Refresh();
    void PageStep(int direction);
    // The data file's name in EditGfxFileName.
    void ShowDataFileName(const std::string& fileName);
    // After a data file was loaded: the copper list address, the palette action and the rip.
    void DataFileLoaded(const DataFileLoad& load);
    // Opening a data file: the sheet returns to 8-bit and the new memory is ripped.
    void RipFromNewMemory();
    // Opening a picture: it becomes the tiles ("Use Loaded Tiles").
    void UseTilesPicture(const std::string& fileName);
    // EditGfxAddress and EditGfxPaletteAddress in the current address form.
    void RefreshAddressFields();

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
    // The check box from the grid settings (after the settings are read).
    void RefreshGridControls();
    void ApplyKeyboardLayout(KeyboardLayout layout);
    void ApplyDimensionPreset(const QString& caption);
    void SaveSheet();

    void LoadTiles();
    void UseLoadedTilesClicked();
    void ClearTiles();

    // Puts a rip asked for on the program's command line into the controls and shows what the core's
    // rip request operation made of it.
    void ApplyRipRequest(const RipRequest& request);
    // The controls set to the planes of the screen the loaded memory shows, its top line's colours, and a rip.
    void ShowScreen();

    void CopperlistAction();
    void ButtonGfxWalkCopperlistClick();

    // RipperPageProject.cpp: the page's controls and file names in a project, and back.
    void ReadProject(ProjectFile& project) const;
    void ShowProject(const ProjectFile& project);

    // The ripper view's keys, as they reach EditGfxKeyCapture.
    void RipperKeyDown(const KeyPress& key);
    void PointerMoved(QPoint pixel);
    void PointerPressed(QPoint pixel);

    // Start-up: the 200% zoom when the view is at least twice the rip size each way. Tried as the view gets
    // its size until it succeeds or the user sets the zoom or scale mode.
    void ApplyStartZoom();

    PalettePanel& Palette() const { return *PaletteSection; }
    TImgView32& View() const { return *ImgView32Extract; }
    QLineEdit* KeyCaptureField() const { return EditGfxKeyCapture; }
    KeyboardLayout CurrentKeyboardLayout() const { return Layout; }

    // "Confirm overwriting tiles"; the settings will keep it.
    bool ConfirmOverwritingTiles = true;

  signals:
    // A file chosen with one of the "..." buttons, for the window to open as "Open..." would.
    void FileChosen(const QString& fileName);
    // The user typed a data file name into EditGfxFileName.
    void DataFileNameEdited(const QString& fileName);
    // For the "Info" tab: the copper list listing, and a line for the save-state report.
    void CopperListListed(const QString& listing);
    void InfoLineAdded(const QString& line);
    // The grid settings changed (the "Grid" menu items follow them).
    void GridSettingsChanged();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // RipperPageLayout.cpp
    void BuildControls();
    QWidget* BuildParameterColumn(QWidget* parent);
    QWidget* BuildViewBar(QWidget* parent);
    QWidget* BuildSheetBar(QWidget* parent);
    QWidget* BuildFileBar(QWidget* parent);
    void AttachDimensionPresets();

    // RipperPage.cpp
    void ConnectHandlers();
    RipControls ReadControls() const;
    void WriteControls(const RipControls& controls);
    // WriteControls and the check boxes and lists as well (a rip request, a project).
    void WriteEveryControl(const RipControls& controls);
    void ApplyControlUpdates(const RipControlUpdates& updates);
    void ShowImage(const Image& image);
    void SetUseLoadedTiles(bool checked);
    void WalkCopperListFrom(uint32_t start);
    void ShowCopperWalk(const CopperWalk& walk);
    void OpenDataFileDialog();
    void OpenTilesDialog();

    // RipperPageKeys.cpp
    void CaptureViewKeys();
    int32_t ShownGridThickness() const;

    Workspace& Work() const { return Services.Work; }
    Dialogs& UserDialogs() const { return Services.UserDialogs; }

    RipperPageServices Services;
    KeyboardLayout Layout = KeyboardLayout::Qwerty;
    // The saved colours the last load chose, which a rip request without a palette choice keeps.
    SavedPalette LastLoadPalette = SavedPalette::None;
    LayoutKeys Keys;
    bool StartZoomPending = true;
    // Where the pointer rests on the view's picture (none once it has left the view).
    std::optional<QPoint> PointerPixel;

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
    QLabel* LabelGfxTileWidthKeys = nullptr;
    QLabel* LabelGfxTileHeightKeys = nullptr;
    QLabel* LabelGfxRipHeightKeys = nullptr;
    QLabel* LabelGfxModeKeys = nullptr;

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
