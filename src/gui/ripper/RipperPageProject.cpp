// The "Tile Ripper" tab's part of a project: its controls, file names and copper list address read into a
// project record before saving, and written back from one after loading or starting a new project.
#include "ripper/RipperPage.h"

#include "project/ProjectFile.h"
#include "widgets/Controls.h"
#include "widgets/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace tavrik {

void RipperPage::ReadProject(ProjectFile& project) const {
    project.GfxFileName = StdText(EditGfxFileName->text());
    project.GfxTilesFileName = StdText(EditGfxTilesFileName->text());
    project.Ripper = ReadControls();
    project.PaletteAddress = StdText(EditGfxPaletteAddress->text());
}

void RipperPage::ShowProject(const ProjectFile& project) {
    const RipControls& c = project.Ripper;
    WriteEveryControl(c);
    // The check box's own handler would load the tiles again; the project load has done that.
    SetUseLoadedTiles(c.UseLoadedTiles);
    EditGfxFileName->setText(QText(project.GfxFileName));
    EditGfxTilesFileName->setText(QText(project.GfxTilesFileName));
    EditGfxPaletteAddress->setText(QText(project.PaletteAddress));
    ModeChanged();
}

} // namespace tavrik
