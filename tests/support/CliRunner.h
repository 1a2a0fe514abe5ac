// Runs the built tavrik-cli (or another program) with arguments and captures its exit status and both output streams.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace tavrik::test {

struct CliResult {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

// Runs the program at path (without a shell, standard input empty).
CliResult RunProgram(const std::string& path, const std::vector<std::string>& arguments);
CliResult RunCli(const std::vector<std::string>& arguments);
// The same, with Ctrl+C (SIGINT) sent to it after the given time.
CliResult RunCliInterrupted(const std::vector<std::string>& arguments, std::chrono::milliseconds after);

} // namespace tavrik::test
