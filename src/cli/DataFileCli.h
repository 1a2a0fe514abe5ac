// Loading the data file named on the command line exactly as the program's open command does, with a
// file that cannot be found reported as an error (the program itself stays silent about it).
#pragma once

#include "workspace/DataFileLoader.h"

#include <string>

namespace tavrik::cli {

// Fills ws (ProgramFolder := the executable's folder) from file; throws tavrik::Error when the file
// cannot be found or read, or is a broken save state.
DataFileLoad LoadDataFileForCli(Workspace& ws, const std::string& file);

// The warning line on standard error when an address (what names it) lies past the end of memory.
void WarnIfPastMemory(const Workspace& ws, int64_t address, const std::string& what);

// Makes the picture the tile sheet as "Use Loaded Tiles" does; throws tavrik::Error when it cannot be found.
void LoadTilePictureForCli(Workspace& ws, const std::string& file);

} // namespace tavrik::cli
