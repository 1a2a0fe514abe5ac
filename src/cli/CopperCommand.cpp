// tavrik-cli copper: the listing of a copper list in a loaded save state, as the "Info" tab shows it.
#include "Command.h"
#include "ProjectCli.h"

#include "memory/CopperList.h"

#include <iostream>

namespace tavrik::cli {

namespace {

constexpr int32_t DefaultStopLine = 0x80;

int RunCopper(const CommandArguments& arguments) {
    const OptionReader options(arguments, {"--address", "--stop-line", "--project"});
    options.ExpectPositionals(1);
    const std::optional<int32_t> stopLineOption = options.Integer("--stop-line", 0, 254);
    const std::optional<std::string> addressText = options.Value("--address");
    if (addressText && !ProcessStartAddress(*addressText, AddressMode{}))
        FailUsage("option --address takes an address such as $1000 or +$100, not '" + *addressText + "'");

    CliWork work;
    LoadCliWork(work, options);
    const Workspace& ws = work.Ws;
    const int32_t stopLine =
        stopLineOption.value_or(work.Project ? ProjectCopperStopLine(*work.Project, DefaultStopLine) : DefaultStopLine);
    const uint32_t start =
        addressText ? *ProcessStartAddress(*addressText, ws.Addresses()) : CopperlistActionStart(ws.Memory);
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

const CommandRegistration registration{
    {"copper", "FILE [--address TEXT] [--stop-line N] | --project P.ini [FILE] [--address TEXT] [--stop-line N]",
     "Lists the copper list from COP1LC (or from --address, \"+\" counting from chip RAM) up to the stop line "
     "(default $80), then the bitplane mode it sets.",
     &RunCopper}};

} // namespace

} // namespace tavrik::cli
