// The "Map Search" tab's controls: the image bar above, the tool bar with zoom, paint tools and the
// background colour, the screenshot view, and the column of the matching and searching steps.
#include "search/SearchPage.h"

#include "app/IntegerText.h"
#include "palette/PaletteDisplay.h"
#include "search/SelectionOverlay.h"
#include "widgets/ColorPalette.h"
#include "widgets/Controls.h"
#include "widgets/ImageView.h"
#include "widgets/Memo.h"
#include "widgets/QtText.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <tuple>

namespace tavrik {

namespace {

constexpr int ToolIconSize = 20;
constexpr int SearchColumnWidth = 400;

struct PaintToolButton {
    const char* Name;
    const char* Hint;
};

constexpr std::array<PaintToolButton, 4> PaintToolButtons{{
    {"SpeedButtonSearchPaintHorizontal", "Replace horizontal bands of colour (usually in gradient backgrounds)"},
    {"SpeedButtonSearchPaintReplace", "Replace certain colours in the entire image (useful for removing objects)"},
    {"SpeedButtonSearchPaintHorizontalSelection",
     "Replace horizontal bands of colour limited to the selected region (usually in gradient backgrounds)"},
    {"SpeedButtonSearchPaintReplaceSelection",
     "Replace certain colours in the entire image limited to the selected region (useful for removing objects)"},
}};

// The tools' pictures: bands are stripes, a replace is a filled block, the selection-limited tools have a
// dashed frame around theirs, and the wand is a stick with a spark.
QIcon ToolIcon(int tag) {
    QPixmap pixmap(ToolIconSize, ToolIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const bool inSelection = tag >= 3;
    const QRect area = inSelection ? QRect(5, 5, 10, 10) : QRect(2, 2, 16, 16);
    if (tag == 0) {
        painter.setPen(QPen(QColor(90, 60, 20), 2));
        painter.drawLine(4, 17, 13, 8);
        painter.setPen(QPen(QColor(230, 180, 0), 2));
        painter.drawLine(15, 2, 15, 10);
        painter.drawLine(11, 6, 19, 6);
        return QIcon(pixmap);
    }
    if (tag == 1 || tag == 3) {
        for (int y = area.top(); y <= area.bottom(); y += 3)
            painter.fillRect(QRect(area.left(), y, area.width(), 2), QColor(40 + y * 10, 80, 200 - y * 6));
    } else {
        painter.fillRect(area, QColor(255, 0, 255));
        painter.setPen(Qt::black);
        painter.drawRect(area.adjusted(0, 0, -1, -1));
    }
    if (inSelection) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(1, 1, ToolIconSize - 3, ToolIconSize - 3);
    }
    return QIcon(pixmap);
}

QToolButton* MakeToolButton(QWidget* parent, const char* name, const char* hint, int tag, bool checkable) {
    auto* button = Named(new QToolButton(parent), QString::fromLatin1(name), hint);
    button->setIcon(ToolIcon(tag));
    button->setIconSize(QSize(ToolIconSize, ToolIconSize));
    button->setCheckable(checkable);
    button->setProperty("Tag", tag);
    button->setEnabled(false);
    return button;
}

QWidget* Bar(QWidget* parent) {
    auto* bar = new QWidget(parent);
    RowLayout(bar);
    return bar;
}

} // namespace

void SearchPage::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildImageBar());
    layout->addWidget(BuildToolBar());
    auto* body = new QHBoxLayout;
    body->addWidget(BuildViewColumn(), 1);
    body->addWidget(BuildSearchColumn());
    layout->addLayout(body, 1);
}

// The view, with the screenshot's size and the selection's place and size in a line below it.
QWidget* SearchPage::BuildViewColumn() {
    SearchPageWidgets& w = Widgets;
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    w.View = Named(new TImgView32(column), "ImgView32Search");
    w.View->SetCentred(false);
    w.View->SetScale(SearchZoomScale(SearchZoomDefault));
    w.Selection = new SelectionOverlay(*w.View, Services.Work.SearchSelection);
    w.Selection->hide();
    layout->addWidget(w.View, 1);
    QWidget* bar = Bar(column);
    auto* row = static_cast<QHBoxLayout*>(bar->layout());
    w.LabelDimensions = MakeLabel(bar, "LabelSearchDimensions", "");
    row->addWidget(w.LabelDimensions);
    row->addSpacing(20);
    w.LabelRubberBandDimensions = MakeLabel(bar, "LabelSearchRubberBandDimensions", "");
    row->addWidget(w.LabelRubberBandDimensions);
    row->addStretch(1);
    layout->addWidget(bar);
    return column;
}

QWidget* SearchPage::BuildImageBar() {
    SearchPageWidgets& w = Widgets;
    QWidget* bar = Bar(this);
    auto* row = static_cast<QHBoxLayout*>(bar->layout());
    row->addWidget(MakeLabel(bar, "LabelSearchStep1", "1. Load an image from the game"));
    w.EditFileName = MakeEdit(bar, "EditSearchFileName", "");
    row->addWidget(w.EditFileName, 1);
    w.ButtonOpen = MakeEllipsisButton(bar, "ButtonOpenSearch");
    row->addWidget(w.ButtonOpen);
    for (auto [button, name, caption] : {std::tuple{&w.ButtonLoad, "ButtonLoadSearch", "Load Image"},
                                         std::tuple{&w.ButtonPaste, "ButtonSearchPaste", "Paste from clipboard"},
                                         std::tuple{&w.ButtonFromState, "ButtonSearchFromState", "From Save State"},
                                         std::tuple{&w.ButtonHalfSize, "ButtonSearchResizeMatch", "Half Size"},
                                         std::tuple{&w.ButtonSave, "ButtonSearchSave", "Save Image"}}) {
        *button = MakeButton(bar, name, caption);
        row->addWidget(*button);
    }
    return bar;
}

QWidget* SearchPage::BuildToolBar() {
    SearchPageWidgets& w = Widgets;
    QWidget* bar = Bar(this);
    auto* row = static_cast<QHBoxLayout*>(bar->layout());
    row->addWidget(MakeLabel(bar, "LabelSearchZoom", "Zoom:"));
    w.GaugeBarZoom =
        MakeSlider(bar, "GaugeBarSearchZoom",
                   {SearchZoomMinimum, SearchZoomMaximum, SearchZoomStep, SearchZoomStep, SearchZoomDefault});
    w.GaugeBarZoom->setMaximumWidth(160);
    row->addWidget(w.GaugeBarZoom);
    w.LabelZoomPercentage =
        MakeLabel(bar, "LabelSearchZoomPercentage", SearchZoomText(SearchZoomScale(SearchZoomDefault)).c_str());
    w.LabelZoomPercentage->setMinimumWidth(40);
    row->addWidget(w.LabelZoomPercentage);
    row->addStretch(1);
    for (size_t i = 0; i < PaintToolButtons.size(); ++i) {
        w.PaintButtons[i] =
            MakeToolButton(bar, PaintToolButtons[i].Name, PaintToolButtons[i].Hint, static_cast<int>(i) + 1, true);
        row->addWidget(w.PaintButtons[i]);
    }
    w.MagicWand = MakeToolButton(bar, "SpeedButtonSearchPaintMagicWand",
                                 "Replace colours that do not match the tile palette", 0, false);
    row->addWidget(w.MagicWand);
    w.BackgroundStrip = Named(new TmbColorPalette(bar), "mbColorPaletteSearch");
    w.BackgroundStrip->SetHintFormat(QText(PaletteHintFormat));
    w.BackgroundStrip->setFixedSize(ToolIconSize + 6, ToolIconSize + 6);
    w.BackgroundStrip->SetCellSize(ToolIconSize + 6);
    w.BackgroundStrip->SetColours(QStringList{QText(DollarHex(Services.Work.SearchBackgroundColour))});
    w.BackgroundStrip->SetPopupMenu(Services.PaletteMenu);
    row->addWidget(w.BackgroundStrip);
    return bar;
}

QWidget* SearchPage::BuildSearchColumn() {
    SearchPageWidgets& w = Widgets;
    auto* column = new QWidget(this);
    column->setFixedWidth(SearchColumnWidth);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* step2 = MakeLabel(column, "Label5", "2. Select a region containing non-animated background tiles");
    step2->setWordWrap(true);
    layout->addWidget(step2);
    w.ButtonMatchTiles = MakeButton(column, "ButtonSearchMatchTiles", "Match Tiles");
    layout->addWidget(w.ButtonMatchTiles);
    w.MemoIndexes = CreateMemo(column, "MemoSearchIndexes");
    w.MemoIndexes->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(w.MemoIndexes, 1);
    auto* step3 = MakeLabel(column, "Label6", "3. Select a region containing only background tiles");
    step3->setWordWrap(true);
    layout->addWidget(step3);
    w.CheckBoxLongs =
        MakeCheck(column, "CheckBoxMapSearchLongs", "Search for longword matches (warning: possibly lots of matches!)");
    layout->addWidget(w.CheckBoxLongs);
    w.CheckBoxDetailed = MakeCheck(column, "CheckBoxMapSearchDetailed", "Print out all matches");
    layout->addWidget(w.CheckBoxDetailed);
    w.CheckBoxWhileSelecting = MakeCheck(column, "CheckBoxSearchWhileSelecting", "Search while selecting");
    layout->addWidget(w.CheckBoxWhileSelecting);
    // The longword box's long caption is shown whole.
    column->setFixedWidth(std::max(SearchColumnWidth, w.CheckBoxLongs->sizeHint().width()));
    QWidget* buttons = Bar(column);
    w.ButtonSearchMap = MakeButton(buttons, "ButtonSearchMap", "Search for map");
    w.ButtonCancel = MakeButton(buttons, "ButtonSearchMapCancel", "Cancel");
    buttons->layout()->addWidget(w.ButtonSearchMap);
    buttons->layout()->addWidget(w.ButtonCancel);
    layout->addWidget(buttons);
    w.ProgressBar = Named(new QProgressBar(column), "ProgressBarSearch");
    w.ProgressBar->setRange(0, 100);
    w.ProgressBar->setValue(0);
    w.ProgressBar->setTextVisible(false);
    layout->addWidget(w.ProgressBar);
    w.LabelStatus = MakeLabel(column, "LabelSearchStatus", "Status");
    layout->addWidget(w.LabelStatus);
    w.MemoResults = CreateMemo(column, "MemoSearchResults");
    layout->addWidget(w.MemoResults, 2);
    return column;
}

} // namespace tavrik
