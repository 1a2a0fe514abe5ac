// tavrik-cli palette: the colour list the working palette holds after FILE is loaded into a new project.
#include "Command.h"
#include "ConsoleDialogs.h"
#include "DataFileCli.h"

#include "workspace/TilePictures.h"
#include "app/Error.h"
#include "app/Files.h"
#include "imageio/ImageLoader.h"
#include "palette/PaletteDisplay.h"
#include "palette/PaletteOperations.h"

#include <iostream>

namespace tavrik::cli {

namespace {

// The saved colour registers become the palette as the AGA or ECS button would set them.
void TakeSavedColours(Workspace& ws, const std::string& file) {
    ApplySavedPalette(ws, LoadDataFileForCli(ws, file).Palette);
}

// Opening a picture makes it the tiles; only an Atari ST picture brings its colours into the palette.
void TakePictureColours(Workspace& ws, const std::string& file) { LoadTilePictureForCli(ws, file); }

struct PaletteOptions {
    std::string File;
};

void DeclarePalette(CLI::App& command, PaletteOptions& o) {
    command.add_option("FILE", o.File, "a save state, memory file or picture")->required();
}

int RunPalette(const PaletteOptions& o) {
    const std::string& file = o.File;

    Workspace ws;
    DefaultPalette(ws.Palette);
    switch (RouteOpenedFile(file)) {
    case OpenFileRoute::Project:
        throw Error(file + " is a project file; the palette command reads save states, memory files and pictures");
    case OpenFileRoute::Picture: TakePictureColours(ws, file); break;
    case OpenFileRoute::DataFile: TakeSavedColours(ws, file); break;
    }
    for (int32_t colour : ws.Palette.Colours.Values())
        std::cout << "$" << ColourToRrggbb(static_cast<Colour>(colour)) << "\n";
    return 0;
}

const CommandRegistration<PaletteOptions> registration{
    "palette",
    "Prints the palette (one $RRGGBB per line) that loading a save state, memory file or picture gives a new "
    "project.",
    DeclarePalette, RunPalette};

} // namespace

} // namespace tavrik::cli
