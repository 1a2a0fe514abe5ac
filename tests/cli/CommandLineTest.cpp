// tavrik-cli's command line as a whole: the version, an unknown or missing command, each command's own help,
// and option values read the way the program's fields read them (hex, negative numbers, repeated options).
#include "support/CliRunner.h"
#include "support/DemoData.h"
#include "support/TempDir.h"

#include "app/Files.h"
#include "update/VersionFile.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tavrik {
namespace {

using test::RunCli;

size_t LineCount(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

TEST(CommandLine, VersionIsPrintedAloneAndAnUnknownCommandGetsOneUsageLine) {
    const test::CliResult version = RunCli({"--version"});
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Out, "tavrik-cli " + VersionText(RunningVersion()) + "\n");

    const test::CliResult unknown = RunCli({"rpi", "demo.uss"});
    EXPECT_EQ(unknown.ExitCode, 2);
    EXPECT_EQ(unknown.Out, "");
    EXPECT_NE(unknown.Err.find("unknown command 'rpi'"), std::string::npos) << unknown.Err;
    EXPECT_EQ(LineCount(unknown.Err), 2u) << unknown.Err; // the reason and one usage line, not the whole help

    const test::CliResult none = RunCli({});
    EXPECT_EQ(none.ExitCode, 2);
    EXPECT_NE(none.Err.find("search"), std::string::npos) << none.Err; // without a command: the list of them
}

TEST(CommandLine, EveryCommandHasItsOwnHelp) {
    for (const char* command : {"convert", "copper", "info", "map", "match", "palette", "project", "rip",
                                "save-uncompressed", "screen", "search", "update"}) {
        const test::CliResult help = RunCli({command, "--help"});
        EXPECT_EQ(help.ExitCode, 0) << command;
        EXPECT_NE(help.Out.find(std::string("tavrik-cli ") + command), std::string::npos) << help.Out;
        EXPECT_EQ(help.Err, "") << command;
    }
}

TEST(CommandLine, MapSizesBelowOneCellAreUsageErrorsNamingTheOption) {
    test::TempDir folder;
    const std::string out = folder.File("map.png");
    for (const auto& [option, value] : std::vector<std::pair<std::string, std::string>>{
             {"--map-width", "0"}, {"--map-width", "-3"}, {"--map-height", "0"}, {"--map-width", "$0"}}) {
        const test::CliResult result = RunCli({"map", test::ExampleFile("demo.uss"), "-o", out, option, value});
        EXPECT_EQ(result.ExitCode, 2) << option << " " << value;
        EXPECT_NE(result.Err.find(option + ": takes a number of at least 1, not '" + value + "'"), std::string::npos)
            << result.Err;
    }
    EXPECT_FALSE(PathIsFile(out));
}

TEST(CommandLine, ValuesAreReadAsTheFieldsReadThem) {
    test::TempDir folder;
    const std::string demo = test::ExampleFile("demo.uss");
    // A negative number is a value, not an option; "$" is hex; the last of an option given twice counts;
    // --replace is taken once per occurrence, so FILE may follow it.
    const std::string lastWins = folder.File("last.png");
    const test::CliResult map = RunCli({"map", "--shift", "-1", "--map-width", "$8", "--map-height", "99",
                                        "--map-height", "4", "--replace", "$100=$0", "--replace", "$101=$0", demo,
                                        "-o", lastWins, "--dump"});
    ASSERT_EQ(map.ExitCode, 0) << map.Err;
    EXPECT_EQ(LineCount(map.Out), 1u + 4u) << map.Out; // the summary and four rows of eight values

    // The options of one command are not another's.
    const test::CliResult foreign = RunCli({"rip", demo, "-o", folder.File("r.png"), "--map-width", "8"});
    EXPECT_EQ(foreign.ExitCode, 2);
    EXPECT_NE(foreign.Err.find("--map-width"), std::string::npos) << foreign.Err;
    const test::CliResult extra = RunCli({"info", demo, "second.uss"});
    EXPECT_EQ(extra.ExitCode, 2);
    EXPECT_NE(extra.Err.find("second.uss"), std::string::npos) << extra.Err;
}

} // namespace
} // namespace tavrik
