// A map tab's part of a project: its controls, map data file name, flip boxes, scale mode and replacement
// lines read into a project map before saving, and written back from one after loading.
#include "map/MapPage.h"

#include "project/ProjectFile.h"
#include "widgets/Controls.h"
#include "widgets/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace tavrik {

namespace {

// A custom game the list does not know (written by a newer build) becomes an item of its own; an empty
// name selects the first item.
void ShowCustomGame(QComboBox* list, const std::string& game) {
    if (game.empty()) {
        list->setCurrentIndex(0);
        return;
    }
    const QString text = QText(game);
    int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        list->addItem(text);
        index = list->count() - 1;
    }
    SetIndex(list, index);
}

} // namespace

void MapPage::ReadProject(ProjectMap& map) const {
    const MapPageWidgets& w = Widgets;
    map.FileName = StdText(w.EditFileName->text());
    map.Controls = ReadControls();
    map.FlipYMaskEnabled = w.CheckBoxFlipYMask->isChecked();
    map.FlipXMaskEnabled = w.CheckBoxFlipXMask->isChecked();
    map.ScaleModeIndex = w.ComboBoxScaleMode->currentIndex();
    map.Replacements.clear();
    const QString replacements = w.MemoTileIndexReplacements->toPlainText();
    if (!replacements.isEmpty())
        for (const QString& line : replacements.split('\n'))
            map.Replacements.push_back(StdText(line));
    if (w.CheckBoxUseLoadedMap) map.UseLoadedMap = w.CheckBoxUseLoadedMap->isChecked();
}

void MapPage::ShowProject(const ProjectMap& map) {
    const MapPageWidgets& w = Widgets;
    const MapControls& c = map.Controls;
    WriteControls(c);
    SetIndex(w.ComboBoxMemoryType, c.MemoryTypeIndex);
    SetIndex(w.ComboBoxDirection, c.DirectionIndex);
    ShowCustomGame(w.ComboBoxCustomGame, c.CustomGame);
    SetIndex(w.ComboBoxTilesPerBlockDirection, c.TilesPerBlockDirectionIndex);
    if (w.ComboBoxTileSize) w.ComboBoxTileSize->setCurrentText(QText(c.TileSize.Text));
    w.EditFileName->setText(QText(map.FileName));
    w.CheckBoxFlipYMask->setChecked(map.FlipYMaskEnabled);
    w.CheckBoxFlipXMask->setChecked(map.FlipXMaskEnabled);
    QStringList lines;
    for (const std::string& line : map.Replacements)
        lines.push_back(QText(line));
    w.MemoTileIndexReplacements->setPlainText(lines.join('\n'));
    if (w.CheckBoxUseLoadedMap) {
        // The box's handler would read and draw the map; the window draws it once everything is in.
        const QSignalBlocker blocker(w.CheckBoxUseLoadedMap);
        w.CheckBoxUseLoadedMap->setChecked(map.UseLoadedMap);
    }
    SetIndex(w.ComboBoxScaleMode, map.ScaleModeIndex);
    ComboBoxMapScaleModeChange();
}

} // namespace tavrik
