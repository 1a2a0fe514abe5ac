// tavrik-cli copper: the listing from COP1LC or a typed address, the stop line, walk errors after the
// lines listed so far, and bad option values.
#include "support/CliRunner.h"
#include "support/TextFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace tavrik {
namespace {

using test::ReadText;
using test::RunCli;

const std::string DataDir = TAVRIK_TEST_DATA_DIR;
const std::string SampleState = DataDir + "/savestate_compressed/state.uss";
const std::string Headings = "Chip Addr: Copper instructions ; Comments\n" + std::string(50, '-') + "\n";

TEST(CopperCommand, ListsFromTheSavedListPointerToTheStopLine) {
    const test::CliResult result = RunCli({"copper", SampleState});
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, ReadText(DataDir + "/savestate_compressed/copper.txt"));
}

TEST(CopperCommand, LaterStopLineRunsOnToTheEndMarker) {
    const test::CliResult result = RunCli({"copper", SampleState, "--stop-line", "$A0"});
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    const std::string tail = "$0000200C: ffff fffe           ; End of copperlist\n"
                             "$0000200C: FFFF FFFE           ; Wait for vpos >= 0xFF and hpos >= 0xFE\n" +
                             std::string(31, ' ') + "; Destination Y coordinate reached!\nGame uses 4 bitplanes\n";
    ASSERT_GE(result.Out.size(), tail.size());
    EXPECT_EQ(result.Out.substr(result.Out.size() - tail.size()), tail);
}

TEST(CopperCommand, ChipRelativeAddressStartsInsideChipRam) {
    const test::CliResult result = RunCli({"copper", SampleState, "--address", "+$2000"});
    EXPECT_EQ(result.ExitCode, 0);
    EXPECT_EQ(result.Out, Headings +
                              "$00002000: 0102 0011           ; BPLCON1 = 0x0011\n"
                              "$00002004: 9001 FF00           ; Wait for vpos >= 0x90 and hpos >= 0x00\n" +
                              std::string(31, ' ') + "; Destination Y coordinate reached!\n");
}

TEST(CopperCommand, StartBelowChipRamPrintsTheHeadingsThenTheError) {
    const test::CliResult result = RunCli({"copper", SampleState, "--address", "$10"});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Out, Headings);
    EXPECT_EQ(result.Err, "tavrik-cli: Copper list start $10 lies below the start of chip RAM at $7C\n");
}

TEST(CopperCommand, BadOptionValuesAreUsageErrorsNamingTheOption) {
    const test::CliResult address = RunCli({"copper", SampleState, "--address", "zz"});
    EXPECT_EQ(address.ExitCode, 2);
    EXPECT_NE(address.Err.find("--address"), std::string::npos);
    const test::CliResult stopLine = RunCli({"copper", SampleState, "--stop-line", "255"});
    EXPECT_EQ(stopLine.ExitCode, 2);
    EXPECT_NE(stopLine.Err.find("--stop-line"), std::string::npos);
    EXPECT_EQ(stopLine.Out, "");
}

TEST(CopperCommand, MissingFileIsAnError) {
    const test::CliResult result = RunCli({"copper", "/no/such/file.uss"});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Err, "tavrik-cli: cannot open /no/such/file.uss\n");
}

} // namespace
} // namespace tavrik
