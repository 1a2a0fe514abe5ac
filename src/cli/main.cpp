// tavrik-cli entry: picks the command, reports errors as "tavrik-cli: MESSAGE".
#include "Command.h"
#include "TerminalProgress.h"

#include "app/Error.h"
#include "app/Limits.h"

#include <algorithm>
#include <exception>
#include <iostream>

namespace tavrik::cli {

std::vector<Command>& CommandTable() {
    static std::vector<Command> table;
    return table;
}

namespace {

void PrintUsage(std::ostream& out) {
    std::vector<Command> commands = CommandTable();
    std::sort(commands.begin(), commands.end(), [](const Command& a, const Command& b) { return a.Name < b.Name; });
    out << "usage: tavrik-cli COMMAND [ARGUMENTS]\n\ncommands:\n";
    for (const Command& command : commands)
        out << "  tavrik-cli " << command.Name << " " << command.Usage << "\n      " << command.Summary << "\n";
    out << "\nRun tavrik-cli COMMAND --help for the options of one command.\n";
}

const Command* FindCommand(const std::string& name) {
    for (const Command& command : CommandTable())
        if (command.Name == name) return &command;
    return nullptr;
}

} // namespace

} // namespace tavrik::cli

int main(int argc, char** argv) {
    using namespace tavrik;
    using namespace tavrik::cli;
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty() || words[0] == "--help" || words[0] == "-h") {
        PrintUsage(words.empty() ? std::cerr : std::cout);
        return words.empty() ? 2 : 0;
    }
    const Command* command = FindCommand(words[0]);
    if (command == nullptr) {
        std::cerr << "tavrik-cli: unknown command '" << words[0] << "'\n";
        PrintUsage(std::cerr);
        return 2;
    }
    const CommandArguments arguments(words.begin() + 1, words.end());
    if (std::find(arguments.begin(), arguments.end(), "--help") != arguments.end()) {
        std::cout << "usage: tavrik-cli " << command->Name << " " << command->Usage << "\n" << command->Summary << "\n";
        return 0;
    }
    CatchInterrupt();
    try {
        return command->Run(arguments);
    } catch (const Interrupted&) {
        std::cerr << "tavrik-cli: interrupted\n";
        return InterruptedExitCode;
    } catch (const UsageError& error) {
        std::cerr << "tavrik-cli: " << error.Message << "\nusage: tavrik-cli " << command->Name << " " << command->Usage
                  << "\n";
        return 2;
    } catch (const std::bad_alloc&) {
        std::cerr << "tavrik-cli: " << NotEnoughMemoryMessage << "\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "tavrik-cli: " << error.what() << "\n";
        return 1;
    }
}
