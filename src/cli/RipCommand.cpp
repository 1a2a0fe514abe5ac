// tavrik-cli rip: rips a save state or memory file with the tile ripper's settings and writes the tile
// sheet (or its grid image) as PNG, the way "Save Gfx" writes it.
#include "Command.h"
#include "DataFileCli.h"
#include "ProjectCli.h"
#include "workspace/RipRequest.h"

#include "imageio/PngFile.h"

#include <string>

namespace tavrik::cli {

namespace {

struct RipOptions {
    DataFileOptions Data;
    std::string Out;
    RipOptionTexts Rip;
};

void DeclareRip(CLI::App& command, RipOptions& o) {
    AddDataFileOptions(command, o.Data);
    command.add_option("-o", o.Out, "the PNG file to write")->type_name("OUT.png")->required();
    AddRipOptions(command, o.Rip);
}

int RunRip(const RipOptions& o) {
    CliWork work;
    LoadCliWork(work, o.Data);
    Workspace& ws = work.Ws;
    const RipRequest request = CliRipRequest(work, o.Rip);
    const RipRequestResult result = ApplyRipRequest(ws, request, work.Palette);
    WarnIfPastMemory(ws, ws.Ripper.Parameters.Address, "address");
    SaveImagePng(request.GridThickness ? ShownImage(result.Rip, ws) : ws.TileSheet, o.Out);
    return 0;
}

const CommandRegistration<RipOptions> registration{
    "rip",
    "Rips graphics out of a save state or memory file with the tile ripper's settings and writes the tile sheet "
    "as PNG.",
    DeclareRip, RunRip};

} // namespace

} // namespace tavrik::cli
