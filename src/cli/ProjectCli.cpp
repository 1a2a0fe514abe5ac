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

void AddDataFileOptions(CLI::App& command, DataFileOptions& options) {
    command.add_option("FILE", options.File, "the save state or memory file (may be left out with --project)");
    command.add_option("--project", options.Project,
                       "load the project first (data file, rip, maps, palette); the other options apply on top")
        ->type_name("P.ini");
}

void LoadCliWork(CliWork& work, const DataFileOptions& options) {
    if (options.Project) LoadProjectOption(work, *options.Project);
    if (!options.Project || options.File) {
        if (!options.File) FailUsage("missing FILE (or --project P.ini)");
        work.Palette = LoadDataFileForCli(work.Ws, *options.File).Palette;
        return;
    }
    if (work.Ws.Memory.MemoryImage.empty())
        throw Error("cannot open the project's data file '" + work.Project->GfxFileName + "'");
}

int32_t ProjectCopperStopLine(const ProjectFile& project, int32_t fallback) {
    const std::optional<int32_t> line = ParseIntegerText(Trim(project.Ripper.CopperlistStopYPos));
    return line && *line >= 0 && *line <= 254 ? *line : fallback;
}

RipRequest CliRipRequest(const CliWork& work, const RipOptionTexts& options) {
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
