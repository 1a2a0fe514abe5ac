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

int RunRip(const CommandArguments& arguments) {
    std::set<std::string> valueOptions = RipValueOptions();
    valueOptions.insert({"-o", "--project"});
    const OptionReader options(arguments, valueOptions, RipFlagOptions());
    options.ExpectPositionals(1);
    const std::optional<std::string> out = options.Value("-o");
    if (!out || out->empty()) FailUsage("missing -o OUT.png");
    ReadRipRequest(options); // a bad option fails before any file is read

    CliWork work;
    LoadCliWork(work, options);
    Workspace& ws = work.Ws;
    const RipRequest request = CliRipRequest(work, options);
    const RipRequestResult result = ApplyRipRequest(ws, request, work.Palette);
    WarnIfPastMemory(ws, ws.Ripper.Parameters.Address, "address");
    SaveImagePng(request.GridThickness ? ShownImage(result.Rip, ws) : ws.TileSheet, *out);
    return 0;
}

const CommandRegistration registration{
    {"rip",
     std::string("FILE -o OUT.png [options] | --project P.ini [FILE] -o OUT.png [options]\n") + ProjectOptionHelp +
         RipOptionsHelp(),
     "Rips graphics out of a save state or memory file with the tile ripper's settings and writes the tile sheet "
     "as PNG.",
     &RunRip}};

} // namespace

} // namespace tavrik::cli
