// tavrik-cli entry: reads the command line with CLI11, runs the command, and reports errors as
// "tavrik-cli: MESSAGE" (exit status 2 for a bad command line, 1 for a failure).
#include "Command.h"
#include "TerminalProgress.h"

#include "app/Error.h"
#include "app/Limits.h"
#include "update/VersionFile.h"

#include <algorithm>
#include <exception>
#include <iostream>

namespace tavrik::cli {

std::vector<Command>& CommandTable() {
    static std::vector<Command> table;
    return table;
}

namespace {

struct DeclaredCommand {
    CLI::App* Options;
    CommandRun Run;
};

std::string CommandNames() {
    std::vector<std::string> names;
    for (const Command& command : CommandTable())
        names.push_back(command.Name);
    std::sort(names.begin(), names.end());
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : " | ") + name;
    return list;
}

bool IsCommand(const std::string& word) {
    const std::vector<Command>& table = CommandTable();
    return std::any_of(table.begin(), table.end(), [&](const Command& command) { return command.Name == word; });
}

int FailWithUsage(const std::string& message, const std::string& command) {
    std::cerr << "tavrik-cli: " << message << "\nusage: tavrik-cli " << (command.empty() ? "COMMAND" : command)
              << " [ARGUMENTS]  (tavrik-cli " << (command.empty() ? "" : command + " ") << "--help for more)\n";
    return 2;
}

int RunCommand(const DeclaredCommand& declared) {
    CatchInterrupt();
    try {
        return declared.Run();
    } catch (const Interrupted&) {
        std::cerr << "tavrik-cli: interrupted\n";
        return InterruptedExitCode;
    } catch (const UsageError& error) {
        return FailWithUsage(error.Message, declared.Options->get_name());
    } catch (const std::bad_alloc&) {
        std::cerr << "tavrik-cli: " << NotEnoughMemoryMessage << "\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "tavrik-cli: " << error.what() << "\n";
        return 1;
    }
}

} // namespace

} // namespace tavrik::cli

int main(int argc, char** argv) {
    using namespace tavrik;
    using namespace tavrik::cli;
    CLI::App app("Rips graphics, palettes and maps out of Amiga memory snapshots.", "tavrik-cli");
    UseProgramOptionRules(app);
    app.set_version_flag("--version", "tavrik-cli " + VersionText(RunningVersion()));
    app.require_subcommand(1, 1);
    std::vector<Command> commands = CommandTable();
    std::sort(commands.begin(), commands.end(), [](const Command& a, const Command& b) { return a.Name < b.Name; });
    std::vector<DeclaredCommand> declared;
    for (const Command& command : commands) {
        CLI::App* options = app.add_subcommand(command.Name, command.Summary);
        declared.push_back({options, command.Declare(*options)});
    }

    if (argc < 2) {
        std::cerr << app.help();
        return 2;
    }
    const std::string first = argv[1];
    if (!first.starts_with("-") && !IsCommand(first))
        return FailWithUsage("unknown command '" + first + "' (the commands: " + CommandNames() + ")", "");
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& done) { // --help or --version
        return app.exit(done);
    } catch (const CLI::ParseError& error) {
        const std::vector<CLI::App*> chosen = app.get_subcommands();
        return FailWithUsage(error.what(), chosen.empty() ? "" : chosen.front()->get_name());
    }
    for (const DeclaredCommand& command : declared)
        if (command.Options->parsed()) return RunCommand(command);
    return FailWithUsage("no command given", "");
}
