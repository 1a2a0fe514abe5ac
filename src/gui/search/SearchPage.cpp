// The "Map Search" tab's handlers: the screenshot loaded, pasted, halved, saved and zoomed, the selection and
// paint tools on the view, tile matching and the map search with their progress and Cancel.
#include "search/SearchPage.h"

#include "platform/HandlerGuard.h"
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
#include <QToolButton>

#include <algorithm>

namespace tavrik {

namespace {

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
    ConnectHandlers();
    ConnectView();
}

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
    Services.Work.SearchImage = FromQImage(QApplication::clipboard()->image());
    SetUpSearchImage();
}

void SearchPage::ButtonSearchFromStateClick() {
    const MemoryState& memory = Services.Work.Memory;
    Services.Work.SearchImage = RebuildScreen(memory, LoadedScreenMachine(memory)).Picture;
    SetUpSearchImage();
}

void SearchPage::ButtonSearchResizeMatchClick() {
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

// While one runs, window events are let through for its progress; the buttons that start either stay
// disabled meanwhile, so neither can be started again under the one running.
void SearchPage::RunExclusive(const std::function<void()>& job) {
    if (Running) return;
    Running = true;
    Widgets.ButtonMatchTiles->setEnabled(false);
    Widgets.ButtonSearchMap->setEnabled(false);
    struct Restore {
        SearchPage& Page;
        ~Restore() {
            Page.Running = false;
            Page.Widgets.ButtonMatchTiles->setEnabled(true);
            Page.Widgets.ButtonSearchMap->setEnabled(true);
        }
    } restore{*this};
    job();
}

void SearchPage::ButtonSearchMatchTilesClick() {
    if (!Services.Work.SearchSelection) return;
    RunExclusive([this] {
        EndPaintMode();
        SearchProgressBar progress(*Widgets.ProgressBar, *Widgets.LabelStatus, CancelRequested);
        const auto run = MatchTilesInWorkspace(Services.Work, progress);
        if (!run) return;
        Widgets.MemoIndexes->setPlainText(QLines(run->IndexLines).join('\n'));
        AddLines(Widgets.MemoResults, run->ResultLines);
        if (run->SelectionLabel) Widgets.LabelRubberBandDimensions->setText(QText(*run->SelectionLabel));
        UnmatchedMarks = run->UnmatchedCells;
        ShowImage();
    });
}

void SearchPage::ButtonSearchMapClick() {
    RunExclusive([this] {
        CancelRequested = false;
        Widgets.MemoResults->clear();
        emit MapMatchesListed({});
        std::vector<std::string> indexLines;
        for (const QString& line : Widgets.MemoIndexes->toPlainText().split('\n'))
            indexLines.push_back(StdText(line));
        // The results appear line by line as the search reaches them.
        SearchProgressBar progress(*Widgets.ProgressBar, *Widgets.LabelStatus, CancelRequested, Widgets.MemoResults);
        const MapSearchRun run = SearchMapInWorkspace(Services.Work, indexLines, Widgets.CheckBoxLongs->isChecked(),
                                                      Widgets.CheckBoxDetailed->isChecked(), progress);
        QStringList items;
        for (const MapMatch& match : run.Matches)
            items.push_back(QText(MapMatchItemText(match)));
        emit MapMatchesListed(items);
    });
}

} // namespace tavrik
