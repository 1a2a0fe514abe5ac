// tavrik-cli info and save-uncompressed: the Info lines of a loaded file, the uncompressed copy written
// as named, and the errors for files that cannot be found or are broken.
#include "support/CliRunner.h"
#include "support/TempDir.h"
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

TEST(InfoCommand, PrintsTheLinesOfTheInfoTab) {
    const test::CliResult result = RunCli({"info", SampleState});
    EXPECT_EQ(result.ExitCode, 0);
    EXPECT_EQ(result.Out, ReadText(DataDir + "/savestate_compressed/info.txt"));
    EXPECT_EQ(result.Err, "");
}

TEST(InfoCommand, RawFileSaysSoAndNothingAboutChipRam) {
    test::TempDir folder;
    std::ofstream(folder.File("dump.bin"), std::ios::binary) << "raw memory bytes";
    const test::CliResult result = RunCli({"info", folder.File("dump.bin")});
    EXPECT_EQ(result.ExitCode, 0);
    EXPECT_EQ(result.Out, "The file was read as raw memory of 16 bytes.\n");
}

TEST(InfoCommand, MissingFileIsAnError) {
    const test::CliResult result = RunCli({"info", "/no/such/file.uss"});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Out, "");
    EXPECT_EQ(result.Err, "tavrik-cli: cannot open /no/such/file.uss\n");
}

TEST(InfoCommand, BrokenSaveStateIsAnErrorNamingFileAndChunk) {
    const std::string path = DataDir + "/corrupt/savestate_truncated.uss";
    const test::CliResult result = RunCli({"info", path});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Out, "");
    EXPECT_NE(result.Err.find("tavrik-cli: Cannot load " + path + ": chunk \"CRAM\" at offset $70"), std::string::npos)
        << result.Err;
}

TEST(SaveUncompressedCommand, WritesTheCopyUnderTheNameGiven) {
    test::TempDir folder;
    const std::string out = folder.File("plain.bin");
    const test::CliResult saved = RunCli({"save-uncompressed", SampleState, out});
    ASSERT_EQ(saved.ExitCode, 0) << saved.Err;
    EXPECT_EQ(saved.Out, "");

    // The copy loads with the same report, without the compressed-chunk lines.
    std::string expected = ReadText(DataDir + "/savestate_compressed/info.txt");
    const size_t firstZlib = expected.find("ZLib");
    const size_t afterZlib = expected.find("Total chip memory");
    expected.erase(firstZlib, afterZlib - firstZlib);
    EXPECT_EQ(RunCli({"info", out}).Out, expected);
}

TEST(SaveUncompressedCommand, UnwritableOutputIsAnError) {
    const test::CliResult result = RunCli({"save-uncompressed", SampleState, "/no/such/folder/out.uss"});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_NE(result.Err.find("/no/such/folder/out.uss"), std::string::npos) << result.Err;
}

} // namespace
} // namespace tavrik
