// Long jobs of tavrik-cli: Ctrl+C in the middle of a search ends it cleanly with status 130 and no results,
// and with standard error not a terminal (as here) no progress display is written there.
#include "support/CliRunner.h"
#include "support/SearchInputs.h"
#include "support/TempDir.h"

#include "app/Files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace tavrik {
namespace {

struct LargeMemory {
    test::TempDir Folder;
    std::string Memory = Folder.File("memory.bin");
    std::string Grid = Folder.File("grid.txt");

    // 32 MB of noise and a grid it does not hold, searched with every step of the table.
    LargeMemory() {
        std::mt19937 random(7);
        WriteWholeFile(Memory, test::NoisyMemory(32 << 20, random));
        std::ofstream(Grid) << "3, 3, 3, 3\n3, 3, 3, 3\n99, 99, 99, 99\n";
    }
    std::vector<std::string> Search() const { return {"search", Memory, "--grid-file", Grid, "--longs", "--detailed"}; }
};

TEST(LongJobs, CtrlCStopsASearchWithStatus130AndNoResults) {
    const LargeMemory large;
    const test::CliResult stopped = test::RunCliInterrupted(large.Search(), std::chrono::milliseconds(300));
    EXPECT_EQ(stopped.ExitCode, 130);
    // Ended by the program itself, not by the signal's default action.
    EXPECT_EQ(stopped.Err, "tavrik-cli: interrupted\n");
    EXPECT_EQ(stopped.Out, "");
}

} // namespace
} // namespace tavrik
