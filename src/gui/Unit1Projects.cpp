// TForm1's projects: New, Open and Save Project, a project read from every page's controls before saving
// and written back into them after loading, and the previous project opened at start.
#include "Unit1.h"

#include "app/Files.h"
#include "info/InfoPage.h"
#include "map/MapPage.h"
#include "map/MapRipper.h"
#include "platform/HandlerGuard.h"
#include "ripper/PalettePanel.h"
#include "ripper/RipperPage.h"
#include "search/SearchPage.h"
#include "search/SelectionOverlay.h"
#include "widgets/QtText.h"
#include "workspace/ProjectOperations.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <cmath>

namespace tavrik {

namespace {

// Lifts the suspension of rips however the load ends.
class RipsSuspended {
  public:
    explicit RipsSuspended(Workspace& ws) : Suspended(ws.Ripper.RipSuspended) { Suspended = true; }
    ~RipsSuspended() { Suspended = false; }
    RipsSuspended(const RipsSuspended&) = delete;
    RipsSuspended& operator=(const RipsSuspended&) = delete;

  private:
    bool& Suspended;
};

std::vector<std::string> MemoLines(const QPlainTextEdit* memo) {
    std::vector<std::string> lines;
    const QString text = memo->toPlainText();
    if (!text.isEmpty())
        for (const QString& line : text.split('\n'))
            lines.push_back(StdText(line));
    return lines;
}

int32_t Edge(double value) { return static_cast<int32_t>(std::lround(value)); }

// The "Map Search" tab's screenshot name, match grid text and selection.
void ReadSearchControls(const SearchPage& page, const Workspace& ws, ProjectSearch& search) {
    search.FileName = StdText(page.Controls().EditFileName->text());
    search.IndexLines = MemoLines(page.Controls().MemoIndexes);
    search.Selection.reset();
    if (const auto& s = ws.SearchSelection)
        search.Selection = {Edge(s->Left), Edge(s->Top), Edge(s->Right), Edge(s->Bottom)};
}

void ShowSearchControls(SearchPage& page, const ProjectSearch& search) {
    const SearchPageWidgets& w = page.Controls();
    w.EditFileName->setText(QText(search.FileName));
    QStringList lines;
    for (const std::string& line : search.IndexLines)
        lines.push_back(QText(line));
    w.MemoIndexes->setPlainText(lines.join('\n'));
}

} // namespace

void TForm1::ReadProjectControls() {
    Ripper().ReadProject(Project);
    for (size_t map = 0; map < MapTabs.size(); ++map)
        MapTabs[map]->ReadProject(Project.Maps[map]);
    ReadSearchControls(Search(), Shared, Project.Search);
    Project.MachineId = MachineId();
}

void TForm1::ShowProjectControls() {
    // The controls' own change handlers would rip with half of them written.
    const RipsSuspended suspended(Shared);
    DataFileName = Project.GfxFileName;
    Ripper().ShowProject(Project);
    for (size_t map = 0; map < MapTabs.size(); ++map)
        MapTabs[map]->ShowProject(Project.Maps[map]);
    ShowSearchControls(Search(), Project.Search);
}

// The rip and both maps as the core left them after a new or loaded project.
void TForm1::DrawProjectWork() {
    Ripper().Palette().DisplayWorkingPalette();
    RefreshAddressFields();
    Ripper().ButtonGfxRipClick();
}

void TForm1::NewProject() {
    SearchTab->CancelJob();
    ReadProjectControls();
    tavrik::NewProject(Shared, Project);
    ShowProjectControls();
    setWindowTitle(QText(Title));
    InfoTab->ClearInfo();
    DrawProjectWork();
    for (size_t map = 0; map < MapTabs.size(); ++map) {
        MapTabs[map]->ShowMap(Shared.MapImages[map]);
        MapTabs[map]->ClearSummary();
    }
    // A new piece of work has no screenshot set up, so no selection and no search results.
    Search().Controls().MemoResults->clear();
    Search().Controls().Selection->hide();
}

void TForm1::OpenProject() {
    if (const auto chosen =
            UserDialogs().OpenFile({OpenProjectTitle, ProjectDialogFilter, Shared.ProjectFileName, "ini"}))
        LoadProject(*chosen);
}

// There is no overwrite question: a project is saved over its old file.
void TForm1::SaveProjectAs() {
    if (const auto chosen =
            UserDialogs().SaveFile({SaveProjectTitle, ProjectDialogFilter, Shared.ProjectFileName, "ini"}))
        SaveProject(ProjectNameForSave(*chosen));
}

// Projects are kept by absolute names, so Open Recent finds them whatever folder the program starts in.
void TForm1::SaveProject(const std::string& fileName) {
    const std::string path = AbsolutePath(fileName);
    ReadProjectControls();
    tavrik::SaveProject(Shared, Project, path);
    RecentFiles.AddFile(path);
    ShowRecentFiles();
}

// A file that is no project is refused before anything changes, and stays out of the recent list.
void TForm1::LoadProject(const std::string& fileName) {
    SearchTab->CancelJob();
    const std::string path = AbsolutePath(fileName);
    ReadProjectControls();
    const MapPageWidgets& first = Map(1).Controls();
    const ProjectOpened opened =
        tavrik::LoadProject(Shared, Project, path, UserDialogs(),
                            {first.CheckBoxShowBadTiles->isChecked(), first.CheckBoxShowIndexes->isChecked()});
    RecentFiles.AddFile(path);
    ShowRecentFiles();
    ShowProjectOpened(opened);
}

void TForm1::ShowProjectOpened(const ProjectOpened& opened) {
    if (!opened.NewerBuildWarning.empty()) UserDialogs().Information(opened.NewerBuildWarning);
    InfoTab->ClearInfo();
    if (opened.DataFile.Loaded) {
        setWindowTitle(QText(opened.DataFile.FileName + " - " + Title));
        InfoTab->SetInfoLines(opened.DataFile.InfoLines);
    }
    for (const std::string& problem : opened.Problems)
        UserDialogs().Error(problem);
    ShowProjectControls();
    if (opened.SearchImageLoaded) Search().SetUpSearchImage();
    DrawProjectWork();
    for (int32_t map = 1; map <= 2; ++map)
        Maps->ShowOutcome(map, opened.Maps[static_cast<size_t>(map - 1)]);
}

// At start, when the option says so: the most recent project, then the ripper view's keys.
void TForm1::LoadPreviousProject() {
    if (!Settings.LoadPreviousProject || Settings.PreviousProject.empty()) return;
    RunHandler(UserDialogs(), [this] { LoadProject(Settings.PreviousProject); });
    Ripper().KeyCaptureField()->setFocus();
}

} // namespace tavrik
