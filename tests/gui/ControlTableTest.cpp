// The controls the handlers, the projects and the tests reach by name: each must exist on its tab with the
// kind and the default a new piece of work starts from. A control left out here is a real fault: the
// behaviour that reads it would find nothing.
#include "FormFixture.h"
#include "GuiTestRegistry.h"

#include "widgets/ImageView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

namespace tavrik::test {

namespace {

enum class Kind { Field, List, Check, Button, Label, Slider, Memo, View };

struct ControlRow {
    const char* Tab;
    const char* Name;
    Kind Type;
    const char* Default; // the text, caption or selected item; nullptr: whatever start-up wrote
};

constexpr ControlRow ControlTable[] = {
    {"TabSheetGfx", "EditGfxAddress", Kind::Field, "$0"},
    {"TabSheetGfx", "EditGfxTileWidth", Kind::Field, "16"},
    {"TabSheetGfx", "EditGfxTileHeight", Kind::Field, "16"},
    {"TabSheetGfx", "EditGfxBitplaneCount", Kind::Field, "1"},
    {"TabSheetGfx", "EditGfxSkipBytes", Kind::Field, "0"},
    {"TabSheetGfx", "ComboBoxGfxSkipMode", Kind::List, "Tiles"},
    {"TabSheetGfx", "EditGfxRipWidth", Kind::Field, "320"},
    {"TabSheetGfx", "EditGfxRipHeight", Kind::Field, "256"},
    {"TabSheetGfx", "ComboBoxGfxMode", Kind::List, "Amiga ACBM"},
    {"TabSheetGfx", "ComboBoxGfxSpriteMode", Kind::List, "Sprite 0/1"},
    {"TabSheetGfx", "CheckBoxGfxMaskBefore", Kind::Check, "Mask Before Graphics"},
    {"TabSheetGfx", "CheckBoxGfxMaskAfter", Kind::Check, "Mask After Graphics"},
    {"TabSheetGfx", "ButtonGfxRip", Kind::Button, "Rip Tiles (F5)"},
    {"TabSheetGfx", "LabelBitplaneOrder", Kind::Label, nullptr},
    {"TabSheetGfx", "LabelGfxSprite4ColourBank", Kind::Label, "Col bank:"},
    {"TabSheetGfx", "LabelGfxColourBankKeys", Kind::Label, "0-7"},
    {"TabSheetGfx", "EditGfxPaletteAddress", Kind::Field, nullptr},
    {"TabSheetGfx", "ButtonGfxWalkCopperlist", Kind::Button, nullptr},
    {"TabSheetGfx", "EditGfxCopperlistStopYPos", Kind::Field, "$80"},
    {"TabSheetGfx", "ImgView32Extract", Kind::View, nullptr},
    {"TabSheetGfx", "EditGfxKeyCapture", Kind::Field, ""},
    {"TabSheetGfx", "LabelGfxMapActive", Kind::Label, "Map is active! Use shortcut keys to move!"},
    {"TabSheetGfx", "GaugeBarGfxZoom", Kind::Slider, nullptr},
    {"TabSheetGfx", "LabelGfxZoomValue", Kind::Label, nullptr},
    {"TabSheetGfx", "ComboBoxGfxScaleMode", Kind::List, "Normal"},
    {"TabSheetGfx", "CheckBoxGfxGrid", Kind::Check, "Grid"},
    {"TabSheetGfx", "ComboBoxGfxTileSize", Kind::List, "Same as tiles"},
    {"TabSheetGfx", "CheckBoxGfxRearrange", Kind::Check, "Rearrange"},
    {"TabSheetGfx", "ComboBoxGfxTilesPerBlockSize", Kind::List, "Same as tiles"},
    {"TabSheetGfx", "EditGfxTilesPerBlockAcross", Kind::Field, "1"},
    {"TabSheetGfx", "EditGfxTilesPerBlockDown", Kind::Field, "1"},
    {"TabSheetGfx", "ComboBoxGfxTilesPerBlockDirection", Kind::List, "Across"},
    {"TabSheetGfx", "ButtonSaveGfx", Kind::Button, "Save Gfx"},
    {"TabSheetGfx", "EditGfxFileName", Kind::Field, ""},
    {"TabSheetGfx", "ButtonOpenGfx", Kind::Button, "..."},
    {"TabSheetGfx", "EditGfxTilesFileName", Kind::Field, ""},
    {"TabSheetGfx", "ButtonOpenGfxTiles", Kind::Button, "..."},
    {"TabSheetGfx", "ButtonLoadTiles", Kind::Button, "Load Tiles"},
    {"TabSheetGfx", "ButtonClearTiles", Kind::Button, "Clear Tiles"},
    {"TabSheetGfx", "CheckBoxUseMap", Kind::Check, "Use Loaded Tiles"},
    {"TabSheetGfx", "Panel1", Kind::Label, "Palette"},
    {"TabSheetGfx", "ButtonECSPalette", Kind::Button, "ECS"},
    {"TabSheetGfx", "ButtonAGAPalette", Kind::Button, "AGA"},
    {"TabSheetGfx", "ButtonCopperlistPalette", Kind::Button, "Copperlist"},
    {"TabSheetMap", "EditMapAddress", Kind::Field, "$0"},
    {"TabSheetMap", "EditMapWidthInTiles", Kind::Field, "64"},
    {"TabSheetMap", "EditMapHeightInTiles", Kind::Field, "64"},
    {"TabSheetMap", "EditMapTrimTiles", Kind::Field, "0"},
    {"TabSheetMap", "EditMapSkipBytes", Kind::Field, "0"},
    {"TabSheetMap", "ComboBoxMapMemoryType", Kind::List, "Byte"},
    {"TabSheetMap", "ComboBoxMapDirection", Kind::List, "Horizontal"},
    {"TabSheetMap", "ComboBoxMapCustomGame", Kind::List, ""},
    {"TabSheetMap", "EditMapFlipYMask", Kind::Field, "$0"},
    {"TabSheetMap", "CheckBoxMapFlipYMask", Kind::Check, "Enabled"},
    {"TabSheetMap", "EditMapFlipXMask", Kind::Field, "$0"},
    {"TabSheetMap", "CheckBoxMapFlipXMask", Kind::Check, "Enabled"},
    {"TabSheetMap", "EditMapShift", Kind::Field, "0"},
    {"TabSheetMap", "EditMapMask", Kind::Field, "$ffff"},
    {"TabSheetMap", "EditMapAdjust", Kind::Field, "0"},
    {"TabSheetMap", "EditMapTilesPerBlockAcross", Kind::Field, "1"},
    {"TabSheetMap", "EditMapTilesPerBlockDown", Kind::Field, "1"},
    {"TabSheetMap", "ComboBoxMapTilesPerBlockDirection", Kind::List, "Across"},
    {"TabSheetMap", "ComboBoxMapTileSize", Kind::List, "Same as tiles"},
    {"TabSheetMap", "MemoMapTileIndexReplacements", Kind::Memo, ""},
    {"TabSheetMap", "EditMapKeyCapture", Kind::Field, nullptr},
    {"TabSheetMap", "LabelMapMapIsActive", Kind::Label, "Map is active! Use shortcut keys to move!"},
    {"TabSheetMap", "GaugeBarMapZoom", Kind::Slider, nullptr},
    {"TabSheetMap", "LabelMapZoom", Kind::Label, "Zoom:"},
    {"TabSheetMap", "EditMapFileName", Kind::Field, ""},
    {"TabSheetMap", "ButtonOpenMap", Kind::Button, "..."},
    {"TabSheetMap", "ButtonLoadMap", Kind::Button, "Load Map"},
    {"TabSheetMap", "CheckBoxMapUseLoadedMap", Kind::Check, "Use Loaded Map"},
    {"TabSheetMap", "LabelMapWidthInTilesKeys", Kind::Label, "Q/A"},
    {"TabSheetMap", "LabelMapHeightInTilesKeys", Kind::Label, "W/S"},
    {"TabSheetMap", "LabelMapTrimTilesKeys", Kind::Label, "E/D"},
    {"TabSheetMap", "LabelMapSkipBytesKeys", Kind::Label, "R/F"},
    {"TabSheetMap", "LabelMapAdjustKeys", Kind::Label, "1/2"},
    {"TabSheetMap", "LabelMapScaleModeKeys", Kind::Label, "V"},
    {"TabSheetMap", "ButtonCreateMap", Kind::Button, "Create Map"},
    {"TabSheetMap", "ButtonMapSave", Kind::Button, "Save Map"},
    {"TabSheetMap", "CheckBoxMapShowBadTiles", Kind::Check, "Show Bad Tiles"},
    {"TabSheetMap", "CheckBoxMapShowIndexes", Kind::Check, "Show Indexes"},
    {"TabSheetMap", "LabelMapSummary", Kind::Label, ""},
    {"TabSheetMap", "ComboBoxMapScaleMode", Kind::List, "Scale to fit"},
    {"TabSheetMap", "ImgView32Map", Kind::View, nullptr},
    {"TabSheetMapData", "MemoMapData", Kind::Memo, ""},
    {"TabSheetInfo", "MemoInfo", Kind::Memo, ""},
    {"TabSheetInfo", "MemoCopperlist", Kind::Memo, ""},
    {"TabSheetMap2", "ImgView32Map2", Kind::View, nullptr},
    {"TabSheetMap2", "EditMap2KeyCapture", Kind::Field, nullptr},
    {"TabSheetMap2", "EditMap2Address", Kind::Field, "$0"},
    {"TabSheetMap2", "ButtonCreateMap2", Kind::Button, "Create Map"},
    {"TabSheetMap2", "LabelMap2Summary", Kind::Label, ""},
};

bool OfKind(const QWidget* control, Kind kind) {
    switch (kind) {
    case Kind::Field: return qobject_cast<const QLineEdit*>(control);
    case Kind::List: return qobject_cast<const QComboBox*>(control);
    case Kind::Check: return qobject_cast<const QCheckBox*>(control);
    case Kind::Button: return qobject_cast<const QPushButton*>(control);
    case Kind::Label: return qobject_cast<const QLabel*>(control);
    case Kind::Slider: return qobject_cast<const QSlider*>(control);
    case Kind::Memo: return qobject_cast<const QPlainTextEdit*>(control);
    case Kind::View: return qobject_cast<const TImgView32*>(control);
    }
    return false;
}

QString Shown(const QWidget* control) {
    if (const auto* list = qobject_cast<const QComboBox*>(control)) return list->currentText();
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(control)) return memo->toPlainText();
    return control->property("text").toString();
}

} // namespace

class ControlTableTest : public QObject {
    Q_OBJECT

  private slots:
    void EveryControlIsOnItsTabWithItsKindAndDefault() {
        FormFixture fixture;
        TForm1& form = fixture.Create();
        for (const ControlRow& row : ControlTable) {
            const auto* tab = form.PageControl()->findChild<QWidget*>(row.Tab);
            QVERIFY2(tab, row.Tab);
            const auto* control = tab->findChild<QWidget*>(row.Name);
            QVERIFY2(control, row.Name);
            QVERIFY2(OfKind(control, row.Type), row.Name);
            if (row.Default) QVERIFY2(Shown(control) == QString::fromUtf8(row.Default), row.Name);
        }
    }
};

static const GuiTestRegistration<ControlTableTest> controlTableRegistration;

} // namespace tavrik::test

#include "ControlTableTest.moc"
