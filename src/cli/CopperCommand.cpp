// tavrik-cli copper: the listing of a copper list in a loaded save state, as the "Info" tab shows it.
#include "Command.h"
#include "ProjectCli.h"

#include "memory/CopperList.h"

#include <iostream>

namespace tavrik::cli {

namespace {

constexpr int32_t DefaultStopLine = 0x80;

struct CopperOptions {
    DataFileOptions Data;
    std::optional<std::string> Address;
    std::optional<std::string> StopLine;
};

void DeclareCopper(CLI::App& command, CopperOptions& o) {
    AddDataFileOptions(command, o.Data);
    const CLI::Validator startCheck = TextCheck(
        [](const std::string& text) { return ProcessStartAddress(text, AddressMode{}).has_value(); },
        "an address such as $1000 or +$100");
    command.add_option("--address", o.Address, "start here instead of at COP1LC (\"+\" counts from chip RAM)")
        ->type_name("TEXT")
        ->check(startCheck);
    command.add_option("--stop-line", o.StopLine, "the last display line of the walk; default $80")
        ->type_name("N")
        ->check(IntegerTextCheck(0, 254));
}

int RunCopper(const CopperOptions& o) {
    CliWork work;
    LoadCliWork(work, o.Data);
    const Workspace& ws = work.Ws;
    const int32_t projectLine = work.Project ? ProjectCopperStopLine(*work.Project, DefaultStopLine) : DefaultStopLine;
    const int32_t stopLine = o.StopLine ? IntegerTextValue(*o.StopLine) : projectLine;
    const uint32_t start =
        o.Address ? *ProcessStartAddress(*o.Address, ws.Addresses()) : CopperlistActionStart(ws.Memory);
    const CopperWalk walk = WalkCopperList(ws.Memory, start, stopLine);
    for (const std::string& line : walk.Lines)
        std::cout << line << "\n";
    if (!walk.Error.empty()) {
        std::cout.flush();
        std::cerr << "tavrik-cli: " << walk.Error << "\n";
        return 1;
    }
    if (walk.LastBplcon0 > 0) std::cout << BitplaneSummary(walk.LastBplcon0) << "\n";
    return 0;
}

const CommandRegistration<CopperOptions> registration{
    "copper",
    "Lists the copper list from COP1LC (or from --address, \"+\" counting from chip RAM) up to the stop line "
    "(default $80), then the bitplane mode it sets.",
    DeclareCopper, RunCopper};

} // namespace

} // namespace tavrik::cli
