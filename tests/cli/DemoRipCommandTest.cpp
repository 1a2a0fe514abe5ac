// tavrik-cli on the demo save state of examples/: the title screen ripped with the copper palette as the
// README tells, the info summary and the copper listing. Expected values come from the demo manifest.
#include "support/CliRunner.h"
#include "support/DemoData.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"

#include "app/ByteStream.h"
#include "app/Files.h"
#include "app/IntegerText.h"
#include "imageio/PngFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace tavrik {
namespace {

using test::Lines;
using test::RunCli;

std::string DemoState() { return test::ExampleFile(test::DemoManifest().at("SaveState").get<std::string>()); }

int32_t Int32(const nlohmann::json& value) { return static_cast<int32_t>(value.get<int64_t>()); }
std::string Number(const nlohmann::json& value) { return std::to_string(value.get<int64_t>()); }

// The colour table of a palette PNG (its PLTE chunk); ReadPng gives only the colours of the pixels.
std::vector<Colour> PngColourTable(const std::vector<uint8_t>& png) {
    for (size_t at = 8; at + 8 <= png.size();) {
        const uint32_t length = LongBEAt(png, at);
        const std::string type(png.begin() + static_cast<std::ptrdiff_t>(at) + 4,
                               png.begin() + static_cast<std::ptrdiff_t>(at) + 8);
        if (type == "PLTE" && at + 8 + length <= png.size()) {
            std::vector<Colour> table;
            for (size_t i = at + 8; i + 3 <= at + 8 + length; i += 3)
                table.push_back(MakeColour(png[i], png[i + 1], png[i + 2]));
            return table;
        }
        at += 12 + static_cast<size_t>(length);
    }
    return {};
}

TEST(DemoRipCommand, TitleScreenWithTheCopperPaletteShowsTheTopColours) {
    const nlohmann::json& manifest = test::DemoManifest();
    const nlohmann::json& title = manifest.at("TitleScreen");
    const nlohmann::json& ripper = title.at("Ripper");
    test::TempDir folder;
    const std::string out = folder.File("title.png");
    const test::CliResult result =
        RunCli({"rip", DemoState(), "-o", out, "--address", "+" + title.at("AddressText").get<std::string>(),
                "--bitplanes", Number(ripper.at("Bitplanes")), "--tile",
                Number(ripper.at("TileWidth")) + "x" + Number(ripper.at("TileHeight")), "--palette", "copper"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Err, "");

    const std::vector<uint8_t> png = ReadWholeFile(out);
    const Image sheet = ReadPng(png);
    const Image indexes = test::ReadIndexPicture(title.at("Indexes").get<std::string>());
    const std::vector<Colour> top = test::ManifestColours(manifest.at("TopPalette"));
    ASSERT_EQ(sheet.Width(), Int32(ripper.at("RipWidth")));
    ASSERT_EQ(sheet.Height(), Int32(ripper.at("RipHeight")));
    ASSERT_EQ(indexes.Width(), sheet.Width());
    ASSERT_EQ(indexes.Height(), sheet.Height());
    // Every pixel shows the top palette's colour of its index: the indexes and the palette at once.
    int differing = 0;
    for (int32_t y = 0; y < sheet.Height(); ++y)
        for (int32_t x = 0; x < sheet.Width(); ++x) {
            const uint8_t index = indexes.IndexAt(x, y);
            ASSERT_LT(index, top.size());
            if (sheet.ColourAt(x, y) != top[index] && differing++ < 5)
                ADD_FAILURE() << "pixel " << x << ", " << y << " of index " << int{index};
        }
    EXPECT_EQ(differing, 0);
    // The title leaves some colours unused; the colour table still holds the whole top palette.
    const std::vector<Colour> table = PngColourTable(png);
    ASSERT_GE(table.size(), top.size());
    EXPECT_EQ(std::vector<Colour>(table.begin(), table.begin() + static_cast<std::ptrdiff_t>(top.size())), top);
}

TEST(DemoRipCommand, InfoPrintsTheChipMemorySummary) {
    const nlohmann::json& manifest = test::DemoManifest();
    const test::CliResult result = RunCli({"info", DemoState()});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const std::vector<std::string> lines = Lines(result.Out);
    const std::string total = "Total chip memory: " + manifest.at("ChipRamSizeText").get<std::string>() + " (" +
                              std::to_string(manifest.at("ChipRamSize").get<int64_t>() / 1024) + "kb)";
    EXPECT_NE(std::find(lines.begin(), lines.end(), total), lines.end()) << result.Out;
    EXPECT_EQ(lines.at(0), "Amiga State File detected: " + manifest.at("Description").get<std::string>());
}

TEST(DemoRipCommand, CopperListingStopsAtTheMidScreenWaitAndNamesThePlanes) {
    const nlohmann::json& manifest = test::DemoManifest();
    const nlohmann::json& wait = manifest.at("CopperList").at("MidScreenWait");
    const std::string planes = "Game uses " + Number(manifest.at("TitleScreen").at("Planes")) + " bitplanes";
    const test::CliResult result = RunCli({"copper", DemoState()});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const std::vector<std::string> lines = Lines(result.Out);
    ASSERT_GE(lines.size(), 3u);
    // The default stop line lies above the wait, so the walk ends there.
    EXPECT_NE(lines[lines.size() - 3].find(Hex(Int32(wait.at(0)), 4) + " " + Hex(Int32(wait.at(1)), 4)),
              std::string::npos)
        << result.Out;
    EXPECT_EQ(lines[lines.size() - 2], std::string(31, ' ') + "; Destination Y coordinate reached!");
    EXPECT_EQ(lines.back(), planes);
    EXPECT_EQ(result.Out.find("End of copperlist"), std::string::npos);

    // Past the wait the walk lists the lower colours and reaches the end of the list.
    const test::CliResult whole = RunCli({"copper", DemoState(), "--stop-line", "254"});
    ASSERT_EQ(whole.ExitCode, 0) << whole.Err;
    EXPECT_NE(whole.Out.find("; End of copperlist\n"), std::string::npos) << whole.Out;
    for (const nlohmann::json& change : manifest.at("LowerHalfChanges"))
        EXPECT_NE(whole.Out.find("; " + change.at("Register").get<std::string>() + " = 0x" +
                                 change.at("Word").get<std::string>().substr(1)),
                  std::string::npos)
            << change.at("Register").get<std::string>();
    EXPECT_EQ(Lines(whole.Out).back(), planes);
}

} // namespace
} // namespace tavrik
