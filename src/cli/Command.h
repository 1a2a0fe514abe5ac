// The command table of tavrik-cli: each command file registers its name and summary, the arguments and
// options it declares on its own CLI11 subcommand, and the function that runs it on what was read.
#pragma once

#include "app/CommandLine.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tavrik::cli {

using CommandRun = std::function<int()>;

struct Command {
    std::string Name;
    std::string Summary;
    // Declares the arguments and options on the command's subcommand; returns what runs it once they are read.
    std::function<CommandRun(CLI::App& command)> Declare;
};

std::vector<Command>& CommandTable();

// Registers a command whose arguments are read into an Options value, in its source file:
//   const CommandRegistration<InfoOptions> registration{"info", "Prints ...", DeclareInfo, RunInfo};
// DeclareInfo adds the options bound to the fields of InfoOptions; RunInfo runs on them and returns the exit
// status. A bad command line found by RunInfo throws through FailUsage; any other failure throws tavrik::Error.
template <typename Options> struct CommandRegistration {
    CommandRegistration(std::string name, std::string summary, void (*declare)(CLI::App&, Options&),
                        int (*run)(const Options&)) {
        CommandTable().push_back({std::move(name), std::move(summary), [declare, run](CLI::App& command) {
                                      auto options = std::make_shared<Options>();
                                      declare(command, *options);
                                      return CommandRun([options, run] { return run(*options); });
                                  }});
    }
};

} // namespace tavrik::cli
