// tavrik-cli screen: the screen the snapshot's machine was showing, rebuilt and written as PNG; --json prints
// what was found and the rip options that rip its planes.
#include "Command.h"
#include "DataFileCli.h"
#include "SearchCli.h"

#include "app/IntegerText.h"
#include "imageio/PngFile.h"
#include "workspace/ScreenOperations.h"

#include <iostream>

namespace tavrik::cli {

namespace {

const char* Bool(bool value) { return value ? "true" : "false"; }

std::string ScreenJson(const ScreenDescription& d) {
    const bool amiga = d.Machine == ScreenMachine::Amiga;
    std::string json = "{\"machine\": ";
    json += JsonString(amiga ? "amiga" : "st");
    json += ", \"address\": " + JsonString(DollarHex(d.Address));
    json += ", \"bitplanes\": " + std::to_string(d.Bitplanes);
    json += ", \"width\": " + std::to_string(d.Width) + ", \"height\": " + std::to_string(d.Height);
    json += ", \"mode\": " + JsonString(RipModeWord(d.Mode));
    json += ", \"skip\": " + std::to_string(d.Skip);
    json += ", \"skipMode\": " + JsonString(d.SkipMode == 1 ? "bitplanes" : "tiles");
    json += std::string(", \"hires\": ") + Bool(d.Hires) + ", \"interlaced\": " + Bool(d.Interlaced);
    json += std::string(", \"ham\": ") + Bool(d.Ham) + ", \"ehb\": " + Bool(d.Ehb);
    json += std::string(", \"dualPlayfield\": ") + Bool(d.DualPlayfield);
    json += ", \"ripOptions\": " + JsonString(RipOptionsText(d)) + "}";
    return json;
}

// The --palette choice as the rip takes it, read into 256 colours.
std::optional<std::array<Colour, 256>> PaletteOption(Workspace& ws, const OptionReader& options) {
    const RipRequest request = ReadRipRequest(options);
    if (!request.Palette) return std::nullopt;
    ApplyPaletteChoice(ws, request, SavedPalette::None);
    std::array<Colour, 256> colours{};
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = ColourFromEntry(ws.Palette.Entries[i]);
    return colours;
}

int RunScreen(const CommandArguments& arguments) {
    const OptionReader options(arguments, {"-o", "--machine", "--palette"}, {"--json"});
    const std::string& file = options.Positional(0, "FILE");
    options.ExpectPositionals(1);
    const std::optional<std::string> out = options.Value("-o");
    if (!out || out->empty()) FailUsage("missing -o OUT.png");
    const std::optional<int32_t> machineChoice = options.Choice("--machine", {"amiga", "st"});

    Workspace ws;
    LoadDataFileForCli(ws, file);
    const ScreenMachine machine = !machineChoice ? LoadedScreenMachine(ws.Memory)
                                  : *machineChoice == 0 ? ScreenMachine::Amiga
                                                        : ScreenMachine::AtariSt;
    const RebuiltScreen screen = RebuildScreen(ws.Memory, machine, PaletteOption(ws, options));
    SaveImagePng(screen.Picture, *out);
    if (options.Flag("--json")) std::cout << ScreenJson(screen.Description) << "\n";
    return 0;
}

const CommandRegistration registration{
    {"screen", R"(FILE -o OUT.png [--json] [--machine amiga|st] [--palette PALETTE]
      -o OUT.png             the rebuilt screen
      --json                 print what was found: {"machine", "address", "bitplanes", "width", "height", "mode",
                             "skip", "skipMode", "hires", "interlaced", "ham", "ehb", "dualPlayfield",
                             "ripOptions"}; ripOptions are the tavrik-cli rip options that rip the screen's planes
      --machine MACHINE      amiga (a save state) | st (an Atari ST memory dump from address 0); default: amiga
                             for a save state, st for any other file
      --palette PALETTE      default | ecs | aga | c64 | bw | a binary palette file: the colour registers to use;
                             default: the saved colour registers (Amiga), TOS's start-up colours (ST))",
     "Rebuilds the screen the machine was showing from a save state's copper list and registers, or from an "
     "Atari ST memory dump, and writes it as PNG.",
     &RunScreen}};

} // namespace

} // namespace tavrik::cli
