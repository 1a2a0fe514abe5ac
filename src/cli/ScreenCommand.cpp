// tavrik-cli screen: the screen the snapshot's machine was showing, rebuilt and written as PNG; --json prints
// what was found and the rip options that rip its planes.
#include "Command.h"
#include "DataFileCli.h"
#include "JsonOutput.h"

#include "app/IntegerText.h"
#include "imageio/PngFile.h"
#include "workspace/ScreenOperations.h"

namespace tavrik::cli {

namespace {

JsonObject ScreenJson(const ScreenDescription& d) {
    return {{"machine", d.Machine == ScreenMachine::Amiga ? "amiga" : "st"},
            {"address", DollarHexWide(static_cast<uint64_t>(d.Address))},
            {"bitplanes", d.Bitplanes},
            {"width", d.Width},
            {"height", d.Height},
            {"mode", RipModeWord(d.Mode)},
            {"skip", d.Skip},
            {"skipMode", d.SkipMode == 1 ? "bitplanes" : "tiles"},
            {"hires", d.Hires},
            {"interlaced", d.Interlaced},
            {"ham", d.Ham},
            {"ehb", d.Ehb},
            {"dualPlayfield", d.DualPlayfield},
            {"ripOptions", RipOptionsText(d)}};
}

struct ScreenOptions {
    std::string File;
    std::string Out;
    std::optional<std::string> Machine;
    RipOptionTexts Rip; // only --palette
    bool Json = false;
};

void DeclareScreen(CLI::App& command, ScreenOptions& o) {
    command.add_option("FILE", o.File, "a save state or Atari ST memory dump")->required();
    command.add_option("-o", o.Out, "the rebuilt screen")->type_name("OUT.png")->required();
    command.add_flag("--json", o.Json,
                     "print what was found: {\"machine\", \"address\", \"bitplanes\", \"width\", \"height\", "
                     "\"mode\", \"skip\", \"skipMode\", \"hires\", \"interlaced\", \"ham\", \"ehb\", "
                     "\"dualPlayfield\", \"ripOptions\"}; ripOptions are the tavrik-cli rip options that rip the "
                     "screen's planes");
    command
        .add_option("--machine", o.Machine,
                    "amiga (a save state) | st (an Atari ST memory dump from address 0); default: amiga for a save "
                    "state, st for any other file")
        ->type_name("MACHINE")
        ->check(OneOfCheck({"amiga", "st"}));
    command
        .add_option("--palette", o.Rip.Palette,
                    "default | ecs | aga | c64 | bw | a binary palette file: the colour registers to use; default: "
                    "the saved colour registers (Amiga), TOS's start-up colours (ST)")
        ->type_name("PALETTE")
        ->check(PaletteCheck());
}

// The --palette choice as the rip takes it, read into 256 colours.
std::optional<std::array<Colour, 256>> PaletteOption(Workspace& ws, const RipOptionTexts& options) {
    const RipRequest request = ReadRipRequest(options);
    if (!request.Palette) return std::nullopt;
    ApplyPaletteChoice(ws, request, SavedPalette::None);
    std::array<Colour, 256> colours{};
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = ColourFromEntry(ws.Palette.Entries[i]);
    return colours;
}

int RunScreen(const ScreenOptions& o) {
    Workspace ws;
    LoadDataFileForCli(ws, o.File);
    const ScreenMachine machine = !o.Machine ? LoadedScreenMachine(ws.Memory)
                                  : *o.Machine == "amiga" ? ScreenMachine::Amiga
                                                          : ScreenMachine::AtariSt;
    const RebuiltScreen screen = RebuildScreen(ws.Memory, machine, PaletteOption(ws, o.Rip));
    SaveImagePng(screen.Picture, o.Out);
    if (o.Json) PrintJson(ScreenJson(screen.Description));
    return 0;
}

const CommandRegistration<ScreenOptions> registration{
    "screen",
    "Rebuilds the screen the machine was showing from a save state's copper list and registers, or from an "
    "Atari ST memory dump, and writes it as PNG.",
    DeclareScreen, RunScreen};

} // namespace

} // namespace tavrik::cli
