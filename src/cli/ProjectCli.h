// The data file argument and the "--project FILE" option the ripping commands share: the project is loaded
// first (its data file, rip settings, maps and palette) and the other options are applied on top; the
// data-file argument may then be left out.
#pragma once

#include "Command.h"
#include "project/ProjectFile.h"
#include "workspace/RipRequest.h"
#include "workspace/Workspace.h"

#include <optional>
#include <string>

namespace tavrik::cli {

struct DataFileOptions {
    std::optional<std::string> File;
    std::optional<std::string> Project;
};

// Declares FILE and --project on a command.
void AddDataFileOptions(CLI::App& command, DataFileOptions& options);

struct CliWork {
    Workspace Ws;
    std::optional<ProjectFile> Project; // set with --project
    SavedPalette Palette = SavedPalette::None;
};

// Loads the project of --project (when given), then the data file given as FILE, which replaces the
// project's. Without --project the data file is required (a usage error). Throws tavrik::Error when a file
// cannot be opened; the project's warnings and unreadable files are printed on standard error.
void LoadCliWork(CliWork& work, const DataFileOptions& options);

// The project's "CopperlistStopYPos" when it is a line the copper walk can stop at (0 to 254), else fallback.
int32_t ProjectCopperStopLine(const ProjectFile& project, int32_t fallback);

// The rip options on top of the project's rip settings and colours (or the defaults without a project).
RipRequest CliRipRequest(const CliWork& work, const RipOptionTexts& options);

} // namespace tavrik::cli
