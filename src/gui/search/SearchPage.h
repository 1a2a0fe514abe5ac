// The "Map Search" tab: the game screenshot with its selection and retouching tools, tile matching into the
// index memo, and the memory search whose finds become the items of the first map tab's match list.
#pragma once

#include "app/Dialogs.h"
#include "search/SearchImageTools.h"
#include "search/SearchProgress.h"
#include "workspace/MapSearchOperations.h"
#include "workspace/Workspace.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSlider;
class QTimer;
class QToolButton;

namespace tavrik {

class SearchJob;
class SearchProgressBar;
class SelectionOverlay;
class TImgView32;
class TmbColorPalette;

struct SearchPageWidgets {
    QLineEdit* EditFileName = nullptr;
    QPushButton* ButtonOpen = nullptr;
    QPushButton* ButtonLoad = nullptr;
    QPushButton* ButtonPaste = nullptr;
    QPushButton* ButtonFromState = nullptr;
    QPushButton* ButtonHalfSize = nullptr;
    QPushButton* ButtonSave = nullptr;
    QLabel* LabelDimensions = nullptr;
    QSlider* GaugeBarZoom = nullptr;
    QLabel* LabelZoomPercentage = nullptr;
    QLabel* LabelRubberBandDimensions = nullptr;
    // The four paint tools in the order of their Tags 1 to 4, then the magic wand.
    std::array<QToolButton*, 4> PaintButtons{};
    QToolButton* MagicWand = nullptr;
    TmbColorPalette* BackgroundStrip = nullptr;
    TImgView32* View = nullptr;
    SelectionOverlay* Selection = nullptr;
    QPushButton* ButtonMatchTiles = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QLabel* LabelStatus = nullptr;
    QPlainTextEdit* MemoIndexes = nullptr;
    QPushButton* ButtonSearchMap = nullptr;
    QPushButton* ButtonCancel = nullptr;
    QCheckBox* CheckBoxLongs = nullptr;
    QCheckBox* CheckBoxDetailed = nullptr;
    // When on, a selection that rests for a moment is matched and searched for at once.
    QCheckBox* CheckBoxWhileSelecting = nullptr;
    QPlainTextEdit* MemoResults = nullptr;
};

struct SearchPageServices {
    Workspace& Work;
    Dialogs& UserDialogs;
    QMenu* PaletteMenu = nullptr; // PopupMenuPalette, opened on the background colour strip
};

class SearchPage : public QWidget {
    Q_OBJECT
  public:
    explicit SearchPage(const SearchPageServices& services, QWidget* parent = nullptr);
    ~SearchPage() override;

    const SearchPageWidgets& Controls() const { return Widgets; }
    PaintMode CurrentPaintMode() const { return Paint.Mode; }
    // Whether a tile match or a map search is running on the worker (both start buttons are disabled meanwhile).
    bool Busy() const;
    // Before an action that changes what a running job reads: the job stops, what it found so far is shown
    // (a search's finds; a match shows nothing until it is done) and the action may go on. Nothing when idle.
    void CancelJob();

    // The colour strip shows the new search background (its text as the palette menu gives it).
    void ShowSearchBackground(const QString& stripText);
    // Ctrl with plus (+1) or minus (-1): the zoom slider one large step up or down, then the zoom applied.
    void ZoomStep(int32_t direction);
    // After the workspace's screenshot was replaced (a loaded project): set up and shown again.
    void SetUpSearchImage();

    // The handlers, bound once when the page is built.
    void ButtonOpenSearchClick();
    void ButtonLoadSearchClick();
    void ButtonSearchPasteClick();
    // The screen the loaded memory shows, with its colours line by line, as the screenshot.
    void ButtonSearchFromStateClick();
    void ButtonSearchResizeMatchClick();
    void ButtonSearchSaveClick();
    void GaugeBarSearchZoomChange();
    void SpeedButtonSearchPaintHorizontalClick(int32_t tag);
    void SpeedButtonSearchPaintMagicWandClick();
    void ButtonSearchMatchTilesClick();
    void ButtonSearchMapClick();
    void ButtonSearchMapCancelClick() { CancelJob(); }
    // Search while selecting: Match Tiles and Search for map as one job on the selection that rested.
    void SelectionRested();

  signals:
    // Lines for the "Info" tab's memo (the magic wand's key lists).
    void InfoLineAdded(const QString& line);
    // The items of ComboBoxMapMatches after a search started (none) and when it ended.
    void MapMatchesListed(const QStringList& items);

  private:
    void BuildControls();
    QWidget* BuildImageBar();
    QWidget* BuildToolBar();
    QWidget* BuildViewColumn();
    QWidget* BuildSearchColumn();
    void ConnectHandlers();
    void ConnectView();
    void ShowImage();
    // After the picture changed: the marks of the last match no longer apply.
    void ShowChangedImage();
    // The tab's part of a set-up: the tools enabled, the size shown, the image and selection drawn.
    void ShowSetUp(const std::string& dimensions);
    void ShowSelectionLabel();
    void EndPaintMode();
    // Runs work on the worker with both start buttons disabled; show runs on the window's thread when the work
    // has ended (told whether it was cancelled), unless it failed: then the error is shown.
    void StartJob(std::function<void(SearchProgress&)> work, std::function<void(bool cancelled)> show);
    void EnableStartButtons(bool enabled);
    // What a finished match and a search show on the tab.
    void ShowTileMatch(TileMatchJob& job, const TileMatchRun& run, bool cancelled);
    void ShowMapSearch(MapSearchJob& job, const MapSearchRun& run);
    std::vector<std::string> IndexMemoLines() const;

    SearchPageServices Services;
    SearchPageWidgets Widgets;
    PaintState Paint;
    // The cells the last match could not match, framed on the screenshot until the next match or a change of
    // the picture.
    std::vector<PixelRect> UnmatchedMarks;
    std::unique_ptr<SearchProgressBar> Progress;
    std::unique_ptr<SearchJob> Job;
    QTimer* SelectionRest = nullptr;
};

} // namespace tavrik
