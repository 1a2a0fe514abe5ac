// Builds the "Map Ripper" tab and copies its controls onto the "Map 2" tab.
//
// The controls of a map tab lie at fixed positions directly on the tab page, as a form designer places
// them, rather than in a Qt layout: a layout is not a property of its controls, so copies that take over
// each control's geometry land in the same places on the "Map 2" tab. The positions are worked out once
// from the font's metrics, so that captions fit whatever font the desktop uses; only the map view follows
// the page's size, filling the space right of the controls.
#include "MapTab.h"

#include "ImageView.h"
#include "app/Error.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QStringList>

#include <algorithm>
#include <initializer_list>
#include <memory>

namespace tavrik {

namespace {

constexpr int Margin = 8;
constexpr int ColumnGap = 16;
constexpr int Gap = 6;

// Keeps a map view filling the page right of the controls.
class MapViewPlacer : public QObject {
  public:
    MapViewPlacer(QWidget* page, QWidget* view, int left) : QObject(page), View(view), Left(left) {
        page->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            const auto* page = static_cast<QWidget*>(watched);
            View->setGeometry(Left, Margin, std::max(1, page->width() - Left - Margin),
                              std::max(1, page->height() - 2 * Margin));
        }
        return false;
    }

  private:
    QWidget* View;
    int Left;
};

// Where the controls of a map tab go: two columns of rows of one field height.
struct MapPanel {
    int RowHeight = 0;
    int RowStep = 0;
    int LabelX = Margin;
    int LabelWidth = 0;
    int EditX = 0;
    int EditWidth = 0;
    int KeyX = 0;
    int KeyWidth = 0;
    int Column1Right = 0;
    int Column2X = 0;
    int Column2Width = 0;
    int Width = 0;

    int Y(int row) const { return Margin + row * RowStep; }
    QRect Cell(int x, int row, int width, int rows = 1) const {
        return QRect(x, Y(row), width, rows * RowStep - (RowStep - RowHeight));
    }
};

int TextWidth(const QFontMetrics& metrics, std::initializer_list<const char*> texts) {
    int width = 0;
    for (const char* text : texts)
        width = std::max(width, metrics.horizontalAdvance(QString::fromUtf8(text)));
    return width;
}

MapPanel WorkOutPanel(QWidget* page) {
    const QFontMetrics metrics = page->fontMetrics();
    MapPanel panel;
    QLineEdit sampleEdit;
    QComboBox sampleCombo;
    QCheckBox sampleCheck("Enabled");
    panel.RowHeight = std::max(sampleEdit.sizeHint().height(), sampleCombo.sizeHint().height());
    panel.RowStep = panel.RowHeight + 4;
    panel.LabelWidth =
        TextWidth(metrics, {"Address", "Width", "Height", "Trim Tiles", "Skip Bytes", "Adjust", "Shift", "Mask",
                            "Flip-Y Mask", "Flip-X Mask", "Type", "Format", "Custom", "Arrange", "View", "Zoom 400%"}) +
        Gap;
    panel.EditX = panel.LabelX + panel.LabelWidth;
    panel.EditWidth = std::max(80, TextWidth(metrics, {"$FFFFFFFF"}) + 16);
    panel.KeyX = panel.EditX + panel.EditWidth + Gap;
    panel.KeyWidth = std::max(sampleCheck.sizeHint().width(), TextWidth(metrics, {"Q/A", "W/S", "E/D", "R/F"}) + 4);
    panel.Column1Right = panel.KeyX + panel.KeyWidth;
    panel.Column2X = panel.Column1Right + ColumnGap;
    // Two halves side by side: "Create Map" and "Save Map", "Load Map" and "Use Loaded Map".
    const QPushButton sampleButton("Create Map");
    const QCheckBox sampleHalfCheck("Use Loaded Map");
    const int halfWidth = std::max(sampleButton.sizeHint().width(), sampleHalfCheck.sizeHint().width());
    panel.Column2Width =
        std::max({250, TextWidth(metrics, {"Replacement Tiles (Old-Old2 = New)"}) + 8, 2 * halfWidth + Gap});
    panel.Width = panel.Column2X + panel.Column2Width + Margin;
    return panel;
}

// Creates the controls of one tab, each placed directly on the page at its cell of the panel.
class ControlMaker {
  public:
    ControlMaker(QWidget* page, const MapPanel& panel) : Page(page), Panel(panel) {}

    QLabel* Label(const QString& name, const char* text, QRect cell) {
        return Place(new QLabel(QString::fromUtf8(text), Page), name, cell);
    }
    QLineEdit* Edit(const QString& name, const char* text, QRect cell, const char* hint = "", int maxLength = 0) {
        auto* edit = Place(new QLineEdit(Page), name, cell);
        if (maxLength > 0) edit->setMaxLength(maxLength);
        edit->setText(QString::fromUtf8(text));
        Hint(edit, hint);
        return edit;
    }
    QComboBox* Combo(const QString& name, std::initializer_list<const char*> items, int index, QRect cell,
                     const char* hint = "") {
        auto* combo = Place(new QComboBox(Page), name, cell);
        for (const char* item : items)
            combo->addItem(QString::fromUtf8(item));
        combo->setCurrentIndex(index);
        Hint(combo, hint);
        return combo;
    }
    QCheckBox* Check(const QString& name, const char* text, QRect cell, const char* hint = "") {
        auto* check = Place(new QCheckBox(QString::fromUtf8(text), Page), name, cell);
        Hint(check, hint);
        return check;
    }
    QPushButton* Button(const QString& name, const char* text, QRect cell) {
        return Place(new QPushButton(QString::fromUtf8(text), Page), name, cell);
    }
    template <typename Control> Control* Place(Control* control, const QString& name, QRect cell) {
        control->setObjectName(name);
        control->setGeometry(cell);
        return control;
    }

    // A labelled field of column 1: the label, then the field in the edit column.
    QLineEdit* Field(const char* role, const char* label, const char* text, int row, const char* hint = "") {
        Label(QString("LabelMap") + role, label, Panel.Cell(Panel.LabelX, row, Panel.LabelWidth));
        return Edit(QString("EditMap") + role, text, Panel.Cell(Panel.EditX, row, Panel.EditWidth), hint);
    }
    QLabel* KeyLabel(const QString& name, const char* text, int row) {
        return Label(name, text, Panel.Cell(Panel.KeyX, row, Panel.KeyWidth));
    }
    // A labelled drop-down list of column 1, reaching to the column's right edge.
    QComboBox* ListField(const char* role, const char* label, std::initializer_list<const char*> items, int index,
                         int row, const char* hint = "") {
        Label(QString("LabelMap") + role, label, Panel.Cell(Panel.LabelX, row, Panel.LabelWidth));
        return Combo(QString("ComboBoxMap") + role, items, index,
                     Panel.Cell(Panel.EditX, row, Panel.Column1Right - Panel.EditX), hint);
    }

  private:
    static void Hint(QWidget* control, const char* hint) {
        if (*hint != '\0') control->setToolTip(QString::fromUtf8(hint));
    }

    QWidget* Page;
    const MapPanel& Panel;
};

TImgView32* CreateMapView(QWidget* page, const char* name, int left) {
    auto* view = new TImgView32(page);
    view->setObjectName(QString::fromLatin1(name));
    new MapViewPlacer(page, view, left);
    return view;
}

QLineEdit* CreateKeyCapture(QWidget* page, const char* name, const MapPanel& panel) {
    auto* edit = new QLineEdit(page);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(3);
    edit->setText(QString::fromLatin1(name));
    // At the tab's top; the start-up order moves it 1000 pixels up, out of sight.
    edit->setGeometry(0, 0, 40, panel.RowHeight);
    return edit;
}

// The map handlers are still to come: until then the controls that would start them stay disabled.
void DisableUntilHandled(QWidget* page) {
    for (QWidget* control : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const bool input = qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control) ||
                           qobject_cast<QAbstractButton*>(control) || qobject_cast<QSlider*>(control) ||
                           qobject_cast<QPlainTextEdit*>(control);
        if (input) control->setEnabled(false);
    }
}

void SetHelpContexts(QWidget* page) {
    static const std::pair<const char*, int> contexts[] = {
        {"EditMapMask", 2001},          {"EditMapShift", 2002},      {"MemoMapTileIndexReplacements", 2003},
        {"LabelMapFlipYMask", 2004},    {"LabelMapFlipXMask", 2004}, {"EditMapFlipYMask", 2004},
        {"CheckBoxMapFlipYMask", 2004}, {"EditMapFlipXMask", 2004},  {"CheckBoxMapFlipXMask", 2004},
        {"ComboBoxMapCustomGame", 2005}};
    for (const auto& [name, context] : contexts)
        if (QWidget* control = page->findChild<QWidget*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly))
            control->setProperty("helpContext", context);
}

} // namespace

MapTab::MapTab(QWidget* mapPage, QWidget* map2Page, Dialogs& dialogs)
    : QObject(mapPage), Page(mapPage), Page2(map2Page), UserDialogs(dialogs) {
    setObjectName("MapTab");
    BuildMapControls();
    BuildMap2Controls();
    RegisterHandlers();
    WireSourceControls();
}

void MapTab::BuildMapControls() {
    const MapPanel panel = WorkOutPanel(Page);
    ControlMaker make(Page, panel);

    // Column 1: the fields ReadMapSettings reads, with their key labels.
    make.Field("Address", "Address", "0", 0);
    make.Field("WidthInTiles", "Width", "40", 1, "Width of the map (in tiles)");
    make.KeyLabel("LabelMapWidthInTilesKeys", "Q/A", 1);
    make.Field("HeightInTiles", "Height", "32", 2, "Height of the map (in tiles)");
    make.KeyLabel("LabelMapHeightInTilesKeys", "W/S", 2);
    make.Field("TrimTiles", "Trim Tiles", "0", 3,
               "Slice this many tiles off the right-hand side of the map. Used in games with static width maps but "
               "small game areas");
    make.KeyLabel("LabelMapTrimTilesKeys", "E/D", 3);
    make.Field("SkipBytes", "Skip Bytes", "0", 4,
               "Skip this many bytes between reading each value from the map. For example, Brat needs to skip 15 "
               "bytes between each byte read from the map");
    make.KeyLabel("LabelMapSkipBytesKeys", "R/F", 4);
    make.Field("Adjust", "Adjust", "0", 5,
               "If you have not located the first actual tile correctly, make an adjustment here. eg. Tile 1 in your "
               "graphics might actually be tile 0, so set the adjustment to 1");
    make.KeyLabel("LabelMapAdjustKeys", "1/2", 5);
    make.Field("Shift", "Shift", "0", 6,
               "Shift the map data this many times to the right (negative values shift left but this is unusual in "
               "Amiga games)");
    make.Field("Mask", "Mask", "$ffffffff", 7,
               "Mask the map data (after shifting) with this value to create the final tile index");
    make.Field("FlipYMask", "Flip-Y Mask", "$0", 8,
               "If the tile index when masked with this value is not 0, the tile will be vertically flipped. eg. "
               "Global Gladiators uses a mask of $1000 to flip vertically");
    make.Check("CheckBoxMapFlipYMask", "Enabled", panel.Cell(panel.KeyX, 8, panel.KeyWidth),
               "Enable vertical flipping of tiles via the mask. Toggle it on and off to see vertically flipped tiles");
    make.Field("FlipXMask", "Flip-X Mask", "$0", 9,
               "If the tile index when masked with this value is not 0, the tile will be horizontally flipped. eg. "
               "Global Gladiators uses a mask of $2000 to indicate flipping the tile horizontally");
    make.Check("CheckBoxMapFlipXMask", "Enabled", panel.Cell(panel.KeyX, 9, panel.KeyWidth),
               "Enable horizontal flipping of tiles via the mask. Toggle it on and off to see horizontally flipped "
               "tiles");
    make.ListField("MemoryType", "Type", {"Byte", "Word", "Longword", "Pointers", "Word Pointers"}, 0, 10);
    make.ListField("Direction", "Format", {"Horizontal", "Vertical"}, 0, 11);
    make.ListField(
        "CustomGame", "Custom",
        {"", "Action Fighter", "Battle Squadron", "Brat", "Captain Fizz", "Lost Vikings", "Quadralien", "Yo! Joe!"}, 0,
        12, "Some games require custom hacks to display the maps correctly!");

    const QFontMetrics metrics = Page->fontMetrics();
    const int blockEditWidth = std::max(28, metrics.horizontalAdvance("88") + 14);
    make.Label("LabelMapTilesPerBlock", "Arrange", panel.Cell(panel.LabelX, 13, panel.LabelWidth));
    make.Edit("EditMapTilesPerBlockAcross", "1", panel.Cell(panel.EditX, 13, blockEditWidth),
              "Width of the map (in tiles)", 2);
    make.Edit("EditMapTilesPerBlockDown", "1", panel.Cell(panel.EditX + blockEditWidth + 4, 13, blockEditWidth),
              "Height of the map (in tiles)", 2);
    const int blockDirectionX = panel.EditX + 2 * (blockEditWidth + 4);
    make.Combo("ComboBoxMapTilesPerBlockDirection", {"Across", "Down"}, 0,
               panel.Cell(blockDirectionX, 13, panel.Column1Right - blockDirectionX));

    const int viewKeyWidth = metrics.horizontalAdvance("V") + 12;
    make.Label("LabelMapScaleMode", "View", panel.Cell(panel.LabelX, 14, panel.LabelWidth));
    make.Combo("ComboBoxMapScaleMode", {"Normal", "Scale to fit"}, 1,
               panel.Cell(panel.EditX, 14, panel.Column1Right - panel.EditX - viewKeyWidth));
    make.Label("LabelMapScaleModeKeys", "V", panel.Cell(panel.Column1Right - viewKeyWidth + Gap, 14, viewKeyWidth));

    make.Label("LabelMapZoom", "Zoom:", panel.Cell(panel.LabelX, 15, panel.LabelWidth));
    auto* zoom = make.Place(new QSlider(Qt::Horizontal, Page), "GaugeBarMapZoom",
                            panel.Cell(panel.EditX, 15, panel.Column1Right - panel.EditX));
    zoom->setRange(10, 400);
    zoom->setSingleStep(10);
    zoom->setPageStep(20);
    zoom->setValue(200);

    // Column 2: the actions, the map data file, the search matches and the replacements.
    const int x2 = panel.Column2X;
    const int w2 = panel.Column2Width;
    const int halfWidth = (w2 - Gap) / 2;
    make.Button("ButtonCreateMap", "Create Map", panel.Cell(x2, 0, halfWidth));
    make.Button("ButtonMapSave", "Save Map", panel.Cell(x2 + halfWidth + Gap, 0, halfWidth));
    make.Check("CheckBoxMapShowBadTiles", "Show Bad Tiles", panel.Cell(x2, 1, w2));
    make.Check("CheckBoxMapShowIndexes", "Show Indexes", panel.Cell(x2, 2, w2),
               "Show the tile data as hex numbers in the Map Data tab");

    const int tileSizeLabelWidth = metrics.horizontalAdvance("Actual tile size:") + Gap;
    make.Label("LabelMapTileSize", "Actual tile size:", panel.Cell(x2, 3, tileSizeLabelWidth));
    QComboBox* tileSize = make.Combo("ComboBoxMapTileSize",
                                     {"Same as tiles", "8 x 8", "16 x 8", "16 x 16", "16 x 32", "32 x 8", "32 x 16",
                                      "32 x 32", "32 x 64", "64 x 32", "64 x 64"},
                                     0, panel.Cell(x2 + tileSizeLabelWidth, 3, w2 - tileSizeLabelWidth));
    tileSize->setEditable(true);
    tileSize->setMaxVisibleItems(12);

    const int fileLabelWidth = metrics.horizontalAdvance("Matches:") + Gap;
    const int browseWidth = 32;
    make.Label("LabelMapFileName", "Map File:", panel.Cell(x2, 4, fileLabelWidth));
    make.Edit("EditMapFileName", "", panel.Cell(x2 + fileLabelWidth, 4, w2 - fileLabelWidth - browseWidth - 4));
    make.Button("ButtonOpenMap", "...", panel.Cell(x2 + w2 - browseWidth, 4, browseWidth));
    make.Button("ButtonLoadMap", "Load Map", panel.Cell(x2, 5, halfWidth));
    make.Check("CheckBoxMapUseLoadedMap", "Use Loaded Map", panel.Cell(x2 + halfWidth + Gap, 5, halfWidth));
    make.Label("LabelMapMatches", "Matches:", panel.Cell(x2, 6, fileLabelWidth));
    make.Combo("ComboBoxMapMatches", {"- No matches found -"}, 0,
               panel.Cell(x2 + fileLabelWidth, 6, w2 - fileLabelWidth));

    make.Label("LabelMapTileIndexReplacements", "Replacement Tiles (Old-Old2 = New)", panel.Cell(x2, 7, w2));
    auto* replacements = make.Place(new QPlainTextEdit(Page), "MemoMapTileIndexReplacements", panel.Cell(x2, 8, w2, 5));
    replacements->setLineWrapMode(QPlainTextEdit::NoWrap);
    replacements->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    replacements->setToolTip("Replace certain tile indexes with other values. eg. First Samurai uses $8035=248 to "
                             "replace rocket animation tiles. Specify ranges with the minus sign. eg. $100-$105=$0 "
                             "would replace tiles from $100 to $105 with the value $0");

    QLabel* summary = make.Label("LabelMapSummary", "", panel.Cell(x2, 13, w2));
    summary->setWordWrap(true);
    QLabel* active =
        make.Label("LabelMapMapIsActive", "Map is active! Use shortcut keys to move!", panel.Cell(x2, 14, w2, 2));
    active->setWordWrap(true);
    active->hide();

    View1 = CreateMapView(Page, "ImgView32Map", panel.Width);
    CreateKeyCapture(Page, "EditMapKeyCapture", panel);
    SetHelpContexts(Page);
    DisableUntilHandled(Page);
    Page->findChild<QLineEdit*>("EditMapKeyCapture")->setEnabled(true);
}

void MapTab::BuildMap2Controls() {
    const MapPanel panel = WorkOutPanel(Page2);
    View2 = CreateMapView(Page2, "ImgView32Map2", panel.Width);
    CreateKeyCapture(Page2, "EditMap2KeyCapture", panel);
}

void MapTab::RegisterHandlers() {
    // The map handlers register here by control name, e.g.
    //   HandlerTable["ButtonCreateMap"] = [this](QWidget* c) { ConnectHandler(...); };
    // and enable their controls; CloneMapTab wires the "Map 2" copies with the same binders.
}

void MapTab::WireSourceControls() const {
    for (QWidget* control : Page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        WireControl(HandlerTable, control, control->objectName());
}

void WireControl(const MapHandlerTable& handlers, QWidget* control, const QString& sourceName) {
    const auto binder = handlers.find(sourceName);
    if (binder != handlers.end() && binder->second) binder->second(control);
}

// ---- CloneMapTab ----

namespace {

using ControlFactory = QWidget* (*)(QWidget* parent);

template <typename Control> QWidget* Make(QWidget* parent) { return new Control(parent); }

// The classes of control a map tab holds; a control of any other class cannot be copied.
ControlFactory FactoryFor(const QString& className) {
    static const std::map<QString, ControlFactory> factories = {{"QLabel", &Make<QLabel>},
                                                                {"QLineEdit", &Make<QLineEdit>},
                                                                {"QComboBox", &Make<QComboBox>},
                                                                {"QCheckBox", &Make<QCheckBox>},
                                                                {"QPushButton", &Make<QPushButton>},
                                                                {"QSlider", &Make<QSlider>},
                                                                {"QPlainTextEdit", &Make<QPlainTextEdit>},
                                                                {"tavrik::TImgView32", &Make<TImgView32>}};
    const auto factory = factories.find(className);
    if (factory == factories.end()) throw Error("No copy can be made of a control of class " + className.toStdString());
    return factory->second;
}

// What a form designer stores: readable, writable, stored and designable properties. Visibility and the
// enabled state are read as the control's own settings instead, since a control on a hidden tab reports
// itself as invisible.
bool Copyable(const QMetaProperty& property) {
    const QByteArray name = property.name();
    return property.isReadable() && property.isWritable() && property.isStored() && property.isDesignable() &&
           name != "objectName" && name != "visible" && name != "enabled";
}

void CopyItems(const QWidget* source, QWidget* copy) {
    const auto* sourceCombo = qobject_cast<const QComboBox*>(source);
    auto* copyCombo = qobject_cast<QComboBox*>(copy);
    if (!sourceCombo || !copyCombo) return;
    copyCombo->setEditable(sourceCombo->isEditable());
    for (int i = 0; i < sourceCombo->count(); ++i)
        copyCombo->addItem(sourceCombo->itemIcon(i), sourceCombo->itemText(i), sourceCombo->itemData(i));
}

void CopyProperties(const QWidget* source, QWidget* copy) {
    const QMetaObject* meta = source->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (Copyable(property)) property.write(copy, property.read(source));
    }
    for (const QByteArray& name : source->dynamicPropertyNames())
        if (!name.startsWith("_q_")) copy->setProperty(name.constData(), source->property(name.constData()));
    // The text again: an edit's text must respect the length limit copied after it, and writing a label's
    // (empty) picture wipes its text.
    if (const auto* edit = qobject_cast<const QLineEdit*>(source))
        qobject_cast<QLineEdit*>(copy)->setText(edit->text());
    if (const auto* label = qobject_cast<const QLabel*>(source); label && label->pixmap().isNull())
        qobject_cast<QLabel*>(copy)->setText(label->text());
    if (const auto* combo = qobject_cast<const QComboBox*>(source)) {
        auto* copyCombo = qobject_cast<QComboBox*>(copy);
        copyCombo->setCurrentIndex(combo->currentIndex());
        if (combo->isEditable()) copyCombo->setEditText(combo->currentText());
    }
    copy->setEnabled(!source->testAttribute(Qt::WA_ForceDisabled));
}

void ShowLikeSource(const QWidget* source, QWidget* copy, const QWidget* target) {
    const bool hiddenOnPurpose = source->isHidden() && source->testAttribute(Qt::WA_WState_ExplicitShowHide);
    if (hiddenOnPurpose)
        copy->hide();
    else if (target->isVisible())
        copy->show();
}

bool Excluded(const QString& name) {
    return std::any_of(std::begin(MapControlsNotCloned), std::end(MapControlsNotCloned),
                       [&](const char* excluded) { return name == QLatin1String(excluded); });
}

void CloneControl(QWidget* source, QWidget* target, bool copyHandlers, const MapHandlerTable& handlers,
                  Dialogs& dialogs, QWidget* owner) {
    const ControlFactory factory = FactoryFor(QString::fromLatin1(source->metaObject()->className()));
    std::unique_ptr<QWidget> copy(factory(target));
    CopyItems(source, copy.get());
    CopyProperties(source, copy.get());
    const QString name = CloneControlName(source->objectName(), dialogs);
    if (owner->findChild<QObject*>(name)) throw Error("A control named " + name.toStdString() + " exists already");
    copy->setObjectName(name);
    if (copyHandlers) WireControl(handlers, copy.get(), source->objectName());
    ShowLikeSource(source, copy.get(), target);
    copy.release(); // the target tab owns it now
}

} // namespace

QString CloneControlName(const QString& sourceName, Dialogs& dialogs) {
    QString name = sourceName;
    name.replace("Map", "Map2");
    if (name == sourceName) {
        dialogs.Error("Error creating a suitable control name " + name.toStdString());
        name += "_";
    }
    return name;
}

void CloneMapTab(QWidget* source, QWidget* target, bool copyHandlers, const MapHandlerTable& handlers, Dialogs& dialogs,
                 QWidget* owner) {
    for (QWidget* control : source->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (Excluded(control->objectName())) continue;
        try {
            CloneControl(control, target, copyHandlers, handlers, dialogs, owner);
        } catch (const std::exception&) {
            dialogs.Error("Error duplicating control " + control->objectName().toStdString());
        }
    }
}

} // namespace tavrik
