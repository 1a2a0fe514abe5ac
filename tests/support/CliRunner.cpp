// Runs tavrik-cli as a child process, without a shell.
#include "support/CliRunner.h"
#include "support/TextFiles.h"

#include "support/TempDir.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tavrik::test {

namespace {

CliResult Run(const std::string& path, const std::vector<std::string>& arguments,
              std::optional<std::chrono::milliseconds> interruptAfter) {
    TempDir folder;
    const std::string outPath = folder.File("stdout");
    const std::string errPath = folder.File("stderr");
    std::vector<std::string> words{path};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = 0;
    CliResult result;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        if (interruptAfter) {
            std::this_thread::sleep_for(*interruptAfter);
            kill(child, SIGINT);
        }
        int status = 0;
        waitpid(child, &status, 0);
        result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.Out = ReadText(outPath);
    result.Err = ReadText(errPath);
    return result;
}

} // namespace

CliResult RunProgram(const std::string& path, const std::vector<std::string>& arguments) {
    return Run(path, arguments, std::nullopt);
}

CliResult RunCli(const std::vector<std::string>& arguments) { return Run(TAVRIK_CLI_PATH, arguments, std::nullopt); }

CliResult RunCliInterrupted(const std::vector<std::string>& arguments, std::chrono::milliseconds after) {
    return Run(TAVRIK_CLI_PATH, arguments, after);
}

} // namespace tavrik::test
