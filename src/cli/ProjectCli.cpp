// Loading a project for the command line's commands.
#include "ProjectCli.h"

#include "ConsoleDialogs.h"
#include "DataFileCli.h"
#include "app/Error.h"
#include "app/Files.h"
#include "app/IntegerText.h"
#include "workspace/ProjectOperations.h"

#include <iostream>

namespace tavrik::cli {

namespace {

void LoadProjectOption(CliWork& work, const std::string& path) {
    if (!PathIsFile(path)) throw Error("cannot open project " + path);
    Workspace& ws = work.Ws;
    ws.ProgramFolder = ExecutableFolder();
    ConsoleDialogs dialogs;
    ProjectFile project = NewProjectFile();
    const ProjectOpened opened = LoadProject(ws, project, path, dialogs);
    if (!opened.NewerBuildWarning.empty()) std::cerr << "tavrik-cli: " << opened.NewerBuildWarning << "\n";
    for (const std::string& problem : opened.Problems)
        std::cerr << "tavrik-cli: " << problem << "\n";
    work.Palette = opened.DataFile.Palette;
    work.Project = std::move(project);
}

} // namespace

void LoadCliWork(CliWork& work, const OptionReader& options) {
    const std::optional<std::string> projectPath = options.Value("--project");
    if (projectPath) LoadProjectOption(work, *projectPath);
    if (!projectPath || options.PositionalCount() > 0) {
        work.Palette = LoadDataFileForCli(work.Ws, options.Positional(0, "FILE")).Palette;
        return;
    }
    if (work.Ws.Memory.MemoryImage.empty())
        throw Error("cannot open the project's data file '" + work.Project->GfxFileName + "'");
}

int32_t ProjectCopperStopLine(const ProjectFile& project, int32_t fallback) {
    const std::optional<int32_t> line = ParseIntegerText(Trim(project.Ripper.CopperlistStopYPos));
    return line && *line >= 0 && *line <= 254 ? *line : fallback;
}

RipRequest CliRipRequest(const CliWork& work, const OptionReader& options) {
    if (!work.Project) return ReadRipRequest(options);
    const ProjectFile& project = *work.Project;
    RipRequest base;
    base.Controls = project.Ripper;
    base.Order = project.Order;
    base.BaseColours = project.Palette;
    base.CopperStopLine = ProjectCopperStopLine(project, base.CopperStopLine);
    return ReadRipRequest(options, base);
}

} // namespace tavrik::cli
