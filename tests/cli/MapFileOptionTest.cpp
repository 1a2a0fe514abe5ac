// tavrik-cli map --map-file: the demo level's bytes cut out of memory into a map data file draw the same
// picture from the file as from memory, and a missing file is an error.
#include "support/CliRunner.h"
#include "support/DemoData.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include "app/Files.h"
#include "workspace/DataFileLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tavrik {
namespace {

using test::RunCli;

constexpr size_t LeadingBytes = 100; // the level starts at $64 in the map data file

class MapFileOption : public ::testing::Test {
  protected:
    const nlohmann::json& Level = test::DemoManifest().at("LevelMap");

    // The demo level drawn from its ACBM tiles; the map address and any further options follow.
    std::vector<std::string> Arguments(const std::string& out, const std::string& mapAddress) const {
        return test::DemoLevelMapArguments(out, {"--map-address", mapAddress});
    }

    std::string MemoryAddress() const { return "+" + Level.at("AddressText").get<std::string>(); }

    // 4096 bytes: junk, the level's bytes as memory holds them, then zeros.
    std::string WriteLevelFile() const {
        Workspace demo;
        test::ScriptedDialogs dialogs;
        EXPECT_TRUE(
            LoadDataFile(demo, test::ExampleFile(test::DemoManifest().at("SaveState").get<std::string>()), dialogs)
                .Loaded);
        const size_t size = size_t(Level.at("Width").get<int64_t>() * Level.at("Height").get<int64_t>());
        const auto level = demo.Memory.MemoryImage.begin() + Level.at("FileOffset").get<int64_t>();
        std::vector<uint8_t> bytes(4096, 0);
        std::fill_n(bytes.begin(), LeadingBytes, uint8_t{0x4E});
        std::copy_n(level, size, bytes.begin() + LeadingBytes);
        const std::string path = Folder.File("level.map");
        WriteWholeFile(path, bytes);
        return path;
    }

    std::vector<uint8_t> Draw(std::vector<std::string> arguments, const std::string& name) {
        arguments[3] = Folder.File(name);
        const test::CliResult result = RunCli(arguments);
        EXPECT_EQ(result.ExitCode, 0) << result.Err;
        return PathIsFile(arguments[3]) ? ReadWholeFile(arguments[3]) : std::vector<uint8_t>{};
    }

    test::TempDir Folder;
};

TEST_F(MapFileOption, TheMapReadFromTheFileAtTheSameAddressMatchesTheMapReadFromMemory) {
    const std::vector<uint8_t> fromMemory = Draw(Arguments("", MemoryAddress()), "memory.png");
    ASSERT_FALSE(fromMemory.empty());
    std::vector<std::string> fromFile = Arguments("", "$64");
    fromFile.insert(fromFile.end(), {"--map-file", WriteLevelFile()});
    EXPECT_EQ(Draw(fromFile, "file.png"), fromMemory);
    // Without the file the same address reads memory, where the level does not lie.
    EXPECT_NE(Draw(Arguments("", "$64"), "low-memory.png"), fromMemory);
}

TEST_F(MapFileOption, AMissingFileFailsNamingItAndWritesNoPicture) {
    std::vector<std::string> arguments = Arguments(Folder.File("none.png"), MemoryAddress());
    arguments.insert(arguments.end(), {"--map-file", Folder.File("missing.map")});
    const test::CliResult result = RunCli(arguments);
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_NE(result.Err.find("missing.map"), std::string::npos) << result.Err;
    EXPECT_FALSE(PathIsFile(Folder.File("none.png")));
    EXPECT_NE(RunCli({"map", "--help"}).Out.find("--map-file"), std::string::npos);
}

} // namespace
} // namespace tavrik
