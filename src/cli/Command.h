// The command table of tavrik-cli: each command file registers itself with a name, a usage line and a runner.
#pragma once

#include <string>
#include <vector>

namespace tavrik::cli {

// Thrown for a bad command line; main prints the message and the usage text and exits with 2.
struct UsageError {
    std::string Message;
};

using CommandArguments = std::vector<std::string>;
using CommandRunner = int (*)(const CommandArguments& arguments);

struct Command {
    std::string Name;
    std::string Usage; // the arguments, for the usage text
    std::string Summary;
    CommandRunner Run;
};

std::vector<Command>& CommandTable();

struct CommandRegistration {
    explicit CommandRegistration(Command command) { CommandTable().push_back(std::move(command)); }
};

} // namespace tavrik::cli
