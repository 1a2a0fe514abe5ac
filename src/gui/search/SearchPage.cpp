// The "Map Search" tab's handlers: the screenshot loaded, pasted, halved, saved and zoomed, the selection and
// paint tools on the view, tile matching and the map search with their progress and Cancel.
#include "search/SearchPage.h"

#include "platform/HandlerGuard.h"
#include "search/SearchJob.h"
#include "search/SearchProgressBar.h"
#include "search/SelectionOverlay.h"
#include "widgets/ColorPalette.h"
#include "widgets/ImageView.h"
#include "widgets/QtText.h"
#include "workspace/MapSearchOperations.h"
#include "workspace/ScreenOperations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace tavrik {

namespace {

// Long enough that a selection being dragged starts no job, short enough to feel immediate.
constexpr int SelectionRestMs = 300;

QStringList QLines(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& line : lines)
        list.push_back(QText(line));
    return list;
}

void AddLines(QPlainTextEdit* memo, const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        memo->appendPlainText(QText(line));
}

std::optional<MouseButton> CoreButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return MouseButton::Left;
    case Qt::RightButton: return MouseButton::Right;
    case Qt::MiddleButton: return MouseButton::Middle;
    default: return std::nullopt;
    }
}

} // namespace

SearchPage::SearchPage(const SearchPageServices& services, QWidget* parent) : QWidget(parent), Services(services) {
    setObjectName("TabSheetSearch");
    BuildControls();
    Progress = std::make_unique<SearchProgressBar>(*Widgets.ProgressBar, *Widgets.LabelStatus, *Widgets.MemoResults);
    ConnectHandlers();
    ConnectView();
}

// A job still running is stopped and waited for: its worker never outlives the page.
SearchPage::~SearchPage() = default;

void SearchPage::ConnectHandlers() {
    const SearchPageWidgets& w = Widgets;
    Dialogs& dialogs = Services.UserDialogs;
    const auto onClick = [this, &dialogs](QAbstractButton* button, std::function<void()> handler) {
        ConnectHandler(button, &QAbstractButton::clicked, this, dialogs, std::move(handler));
    };
    onClick(w.ButtonOpen, [this] { ButtonOpenSearchClick(); });
    onClick(w.ButtonLoad, [this] { ButtonLoadSearchClick(); });
    onClick(w.ButtonPaste, [this] { ButtonSearchPasteClick(); });
    onClick(w.ButtonFromState, [this] { ButtonSearchFromStateClick(); });
    onClick(w.ButtonHalfSize, [this] { ButtonSearchResizeMatchClick(); });
    onClick(w.ButtonSave, [this] { ButtonSearchSaveClick(); });
    for (size_t i = 0; i < w.PaintButtons.size(); ++i)
        onClick(w.PaintButtons[i],
                [this, tag = static_cast<int32_t>(i) + 1] { SpeedButtonSearchPaintHorizontalClick(tag); });
    onClick(w.MagicWand, [this] { SpeedButtonSearchPaintMagicWandClick(); });
    onClick(w.ButtonMatchTiles, [this] { ButtonSearchMatchTilesClick(); });
    onClick(w.ButtonSearchMap, [this] { ButtonSearchMapClick(); });
    onClick(w.ButtonCancel, [this] { ButtonSearchMapCancelClick(); });
    ConnectHandler(w.GaugeBarZoom, &QSlider::valueChanged, this, dialogs, [this] { GaugeBarSearchZoomChange(); });
    connect(w.Selection, &SelectionOverlay::SelectionEdited, this, &SearchPage::ShowSelectionLabel);
    // Each move restarts the wait, so the job starts once the selection has rested.
    SelectionRest = new QTimer(this);
    SelectionRest->setSingleShot(true);
    SelectionRest->setInterval(SelectionRestMs);
    ConnectHandler(SelectionRest, &QTimer::timeout, this, dialogs, [this] { SelectionRested(); });
    // A newer selection replaces the job of an older one at once, so that job cannot move the selection back.
    connect(w.Selection, &SelectionOverlay::SelectionEdited, this, [this] {
        if (!Widgets.CheckBoxWhileSelecting->isChecked()) return;
        CancelJob();
        SelectionRest->start();
    });
}

// ImgView32SearchMouseDown, ImgView32SearchMouseMove and ImgView32SearchMouseUp: the paint tools. The
// selection overlay lets presses through to the view only while a paint tool is chosen.
void SearchPage::ConnectView() {
    TImgView32* view = Widgets.View;
    Workspace& ws = Services.Work;
    const auto repaintIf = [this](bool changed) {
        if (changed) ShowChangedImage();
    };
    connect(view, &TImgView32::PictureMousePress, this,
            [this, &ws, repaintIf](QPoint pixel, bool, Qt::MouseButton button, Qt::KeyboardModifiers) {
                const auto pressed = CoreButton(button);
                if (!pressed) return;
                CancelJob();
                RunHandler(Services.UserDialogs, [&] {
                    repaintIf(PaintPress(Paint, ws.SearchImage, *pressed, pixel.x(), pixel.y(), ws.SearchSelection,
                                         ws.SearchBackgroundColour));
                });
            });
    connect(view, &TImgView32::PictureMouseMove, this,
            [this, &ws, repaintIf](QPoint pixel, bool, Qt::MouseButtons, Qt::KeyboardModifiers) {
                if (!Paint.Painting) return;
                RunHandler(Services.UserDialogs, [&] {
                    repaintIf(PaintMove(Paint, ws.SearchImage, pixel.x(), pixel.y(), ws.SearchSelection,
                                        ws.SearchBackgroundColour));
                });
            });
    connect(view, &TImgView32::PictureMouseRelease, this,
            [this](QPoint, bool, Qt::MouseButton button, Qt::KeyboardModifiers) {
                if (const auto released = CoreButton(button)) PaintRelease(Paint, *released);
            });
}

// ---- The screenshot ----

void SearchPage::ShowImage() {
    const Image& picture = Services.Work.SearchImage;
    Widgets.View->SetImage(UnmatchedMarks.empty() ? picture : MarkedCells(picture, UnmatchedMarks));
    Widgets.Selection->update();
}

void SearchPage::ShowChangedImage() {
    UnmatchedMarks.clear();
    ShowImage();
}

void SearchPage::SetUpSearchImage() { ShowSetUp(tavrik::SetUpSearchImage(Services.Work, Services.UserDialogs)); }

void SearchPage::ShowSetUp(const std::string& dimensions) {
    Widgets.LabelDimensions->setText(QText(dimensions));
    for (QToolButton* button : Widgets.PaintButtons)
        button->setEnabled(true);
    Widgets.MagicWand->setEnabled(true);
    ShowChangedImage();
    Widgets.Selection->show();
}

void SearchPage::ButtonOpenSearchClick() {
    const auto chosen =
        Services.UserDialogs.OpenFile({std::string(LoadGameSnapshotTitle), std::string(LoadGameSnapshotFilter),
                                       StdText(Widgets.EditFileName->text()), ""});
    if (!chosen) return;
    Widgets.EditFileName->setText(QText(*chosen));
    ButtonLoadSearchClick();
}

void SearchPage::ButtonLoadSearchClick() {
    CancelJob();
    const std::string fileName = StdText(Widgets.EditFileName->text());
    if (fileName.empty()) {
        ButtonOpenSearchClick();
        return;
    }
    const SearchImageLoad load = LoadSearchImage(Services.Work, fileName, Services.UserDialogs);
    if (load.Found) ShowSetUp(load.DimensionsText);
}

void SearchPage::ButtonSearchPasteClick() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasImage()) {
        Services.UserDialogs.Information(std::string(NoClipboardPictureMessage));
        return;
    }
    CancelJob();
    Services.Work.SearchImage = FromQImage(QApplication::clipboard()->image());
    SetUpSearchImage();
}

void SearchPage::ButtonSearchFromStateClick() {
    CancelJob();
    const MemoryState& memory = Services.Work.Memory;
    Services.Work.SearchImage = RebuildScreen(memory, LoadedScreenMachine(memory)).Picture;
    SetUpSearchImage();
}

void SearchPage::ButtonSearchResizeMatchClick() {
    CancelJob();
    Services.Work.SearchImage = HalfSize(Services.Work.SearchImage);
    ShowChangedImage();
}

void SearchPage::ButtonSearchSaveClick() {
    const auto chosen = Services.UserDialogs.SaveFile(
        {std::string(SaveMatchImageTitle), std::string(SaveMatchImageFilter), "", ".png"});
    if (chosen) SaveSearchImage(Services.Work, *chosen, Services.UserDialogs);
}

// ---- Zoom and selection ----

void SearchPage::GaugeBarSearchZoomChange() {
    QSlider* slider = Widgets.GaugeBarZoom;
    // A drag stops anywhere; the slider moves in steps of 50.
    const int snapped = (slider->value() + SearchZoomStep / 2) / SearchZoomStep * SearchZoomStep;
    if (snapped != slider->value()) {
        slider->setValue(snapped);
        return;
    }
    const double scale = SearchZoomScale(slider->value());
    Widgets.View->SetScale(scale);
    Widgets.LabelZoomPercentage->setText(QText(SearchZoomText(scale)));
    Widgets.Selection->update();
}

void SearchPage::ZoomStep(int32_t direction) {
    QSlider* slider = Widgets.GaugeBarZoom;
    slider->setValue(
        std::clamp(slider->value() + direction * slider->pageStep(), slider->minimum(), slider->maximum()));
}

void SearchPage::ShowSelectionLabel() {
    if (const auto& selection = Services.Work.SearchSelection)
        Widgets.LabelRubberBandDimensions->setText(QText(SelectionLabelText(*selection)));
}

void SearchPage::ShowSearchBackground(const QString& stripText) { Widgets.BackgroundStrip->SetColours({stripText}); }

// ---- Paint tools ----

void SearchPage::SpeedButtonSearchPaintHorizontalClick(int32_t tag) {
    QToolButton* clicked = Widgets.PaintButtons.at(static_cast<size_t>(tag - 1));
    // One group: the button pressed down releases the others; pressing the one that is down releases it.
    if (clicked->isChecked())
        for (QToolButton* button : Widgets.PaintButtons)
            if (button != clicked) button->setChecked(false);
    Paint.Mode = clicked->isChecked() ? static_cast<PaintMode>(tag) : PaintMode::None;
    Widgets.Selection->SetEditing(Paint.Mode == PaintMode::None);
}

void SearchPage::SpeedButtonSearchPaintMagicWandClick() {
    // The wand is one of the group too, so it releases a paint button; the tool chosen keeps painting.
    for (QToolButton* button : Widgets.PaintButtons)
        button->setChecked(false);
    CancelJob();
    Workspace& ws = Services.Work;
    const MagicWandResult result = MagicWand(ws.SearchImage, ws.Palette.Colours, ws.SearchBackgroundColour);
    for (const std::string& line : result.InfoLines)
        emit InfoLineAdded(QText(line));
    if (result.PaintedPixels > 0) ShowChangedImage();
}

void SearchPage::EndPaintMode() {
    for (QToolButton* button : Widgets.PaintButtons)
        button->setChecked(false);
    Paint.Mode = PaintMode::None;
    Paint.Painting = false;
    Widgets.Selection->SetEditing(true);
}

// ---- Matching and searching ----

bool SearchPage::Busy() const { return Job != nullptr; }

void SearchPage::CancelJob() {
    if (Job) Job->Cancel();
}

void SearchPage::EnableStartButtons(bool enabled) {
    Widgets.ButtonMatchTiles->setEnabled(enabled);
    Widgets.ButtonSearchMap->setEnabled(enabled);
}

void SearchPage::StartJob(std::function<void(SearchProgress&)> work, std::function<void(bool cancelled)> show) {
    EnableStartButtons(false);
    auto finished = [this, show = std::move(show)](bool cancelled, std::exception_ptr failure) {
        EnableStartButtons(true);
        // The job is deleted after its last delivery has returned.
        Job.release()->deleteLater();
        RunHandler(Services.UserDialogs, [&] {
            if (failure) std::rethrow_exception(failure);
            show(cancelled);
        });
    };
    Job = std::make_unique<SearchJob>(*Progress, std::move(work), std::move(finished));
    Job->setParent(this);
}

void SearchPage::ButtonSearchMatchTilesClick() {
    if (Busy()) return;
    std::optional<TileMatchJob> prepared = PrepareTileMatch(Services.Work);
    if (!prepared) return;
    EndPaintMode();
    auto job = std::make_shared<TileMatchJob>(std::move(*prepared));
    auto run = std::make_shared<TileMatchRun>();
    StartJob([job, run](SearchProgress& progress) { *run = RunTileMatch(*job, progress); },
             [this, job, run](bool cancelled) { ShowTileMatch(*job, *run, cancelled); });
}

void SearchPage::ShowTileMatch(TileMatchJob& job, const TileMatchRun& run, bool cancelled) {
    // A cancelled match leaves the tab as it was, even one that was done but not yet shown.
    if (cancelled || run.Cancelled) return;
    ApplyTileMatch(Services.Work, job, run);
    Widgets.MemoIndexes->setPlainText(QLines(run.IndexLines).join('\n'));
    AddLines(Widgets.MemoResults, run.ResultLines);
    if (run.SelectionLabel) Widgets.LabelRubberBandDimensions->setText(QText(*run.SelectionLabel));
    UnmatchedMarks = run.UnmatchedCells;
    ShowImage();
}

std::vector<std::string> SearchPage::IndexMemoLines() const {
    std::vector<std::string> lines;
    for (const QString& line : Widgets.MemoIndexes->toPlainText().split('\n'))
        lines.push_back(StdText(line));
    return lines;
}

void SearchPage::ButtonSearchMapClick() {
    if (Busy()) return;
    Widgets.MemoResults->clear();
    emit MapMatchesListed({});
    auto job = std::make_shared<MapSearchJob>(PrepareMapSearch(
        Services.Work, IndexMemoLines(), Widgets.CheckBoxLongs->isChecked(), Widgets.CheckBoxDetailed->isChecked()));
    auto run = std::make_shared<MapSearchRun>();
    // The results appear line by line as the worker reaches them; the finds so far also after a cancel.
    StartJob([job, run](SearchProgress& progress) { *run = RunMapSearch(*job, progress); },
             [this, job, run](bool) { ShowMapSearch(*job, *run); });
}

void SearchPage::ShowMapSearch(MapSearchJob& job, const MapSearchRun& run) {
    ApplyMapSearch(Services.Work, job, run);
    QStringList items;
    for (const MapMatch& match : run.Matches)
        items.push_back(QText(MapMatchItemText(match)));
    emit MapMatchesListed(items);
}

// A newer selection replaces the job running for an older one. The search reads the grid the match found;
// a match that finds no whole tiles ends the job there.
void SearchPage::SelectionRested() {
    if (!Widgets.CheckBoxWhileSelecting->isChecked()) return;
    CancelJob();
    std::optional<TileMatchJob> prepared = PrepareTileMatch(Services.Work);
    if (!prepared) return;
    Widgets.MemoResults->clear();
    emit MapMatchesListed({});
    auto match = std::make_shared<TileMatchJob>(std::move(*prepared));
    auto matchRun = std::make_shared<TileMatchRun>();
    auto search = std::make_shared<MapSearchJob>(
        PrepareMapSearch(Services.Work, {}, Widgets.CheckBoxLongs->isChecked(), Widgets.CheckBoxDetailed->isChecked()));
    auto searchRun = std::make_shared<std::optional<MapSearchRun>>();
    StartJob(
        [match, matchRun, search, searchRun](SearchProgress& progress) {
            *matchRun = RunTileMatch(*match, progress);
            if (!matchRun->Matched || progress.Cancelled()) return;
            search->IndexLines = matchRun->IndexLines;
            *searchRun = RunMapSearch(*search, progress);
        },
        [this, match, matchRun, search, searchRun](bool cancelled) {
            ShowTileMatch(*match, *matchRun, cancelled);
            if (*searchRun && !cancelled) ShowMapSearch(*search, **searchRun);
        });
}

} // namespace tavrik
