// The manual page of tavrik-cli against the program itself: every option that tavrik-cli's help and each
// command's help name appears in the page, and the page names no option the program does not show.
#include "support/CliRunner.h"
#include "support/TextFiles.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace tavrik {
namespace {

using test::RunCli;

std::set<std::string> OptionsIn(const std::string& text) {
    static const std::regex option(R"((^|[^\w-])(--?[A-Za-z][\w-]*))");
    std::set<std::string> options;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it)
        options.insert((*it)[2].str());
    return options;
}

bool IsCommandsHeading(const std::string& line) {
    std::string lower = line.substr(0, line.find_last_not_of(" \t\r") + 1);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.ends_with("commands:");
}

// The commands listed under the line of the help that ends in "commands:" (in any case): the first word
// of every line indented as the first entry, with a leading program name passed over, up to the next
// line that is not indented.
std::vector<std::string> CommandsIn(const std::string& help) {
    std::istringstream lines(help);
    std::string line;
    while (std::getline(lines, line) && !IsCommandsHeading(line)) {
    }
    std::vector<std::string> commands;
    size_t indent = 0;
    while (std::getline(lines, line)) {
        const size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos) continue;
        if (start == 0) break;
        if (indent == 0) indent = start;
        if (start != indent) continue;
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (word == "tavrik-cli") words >> word;
        commands.push_back(word);
    }
    return commands;
}

// What the man page shows: roff's escaped dashes made plain and its font changes left out.
std::string ManualPageText() {
    static const std::regex fontChange(R"(\\f[BIRP])");
    const std::string page = std::regex_replace(test::ReadText(TAVRIK_CLI_MANUAL_PAGE), fontChange, "");
    return std::regex_replace(page, std::regex(R"(\\-)"), "-");
}

TEST(ManualPage, HoldsEveryOptionOfTheProgramAndOfEachCommand) {
    const test::CliResult usage = RunCli({"--help"});
    ASSERT_EQ(usage.ExitCode, 0);
    const std::vector<std::string> commands = CommandsIn(usage.Out);
    ASSERT_GE(commands.size(), 5u) << usage.Out;

    std::set<std::string> accepted = OptionsIn(usage.Out);
    const std::string page = ManualPageText();
    for (const std::string& command : commands) {
        const test::CliResult help = RunCli({command, "--help"});
        ASSERT_EQ(help.ExitCode, 0) << command;
        const std::set<std::string> options = OptionsIn(help.Out);
        accepted.insert(options.begin(), options.end());
        EXPECT_NE(page.find(".SS \"tavrik-cli " + command + "\""), std::string::npos) << command;
    }
    EXPECT_EQ(OptionsIn(page), accepted);
}

} // namespace
} // namespace tavrik
