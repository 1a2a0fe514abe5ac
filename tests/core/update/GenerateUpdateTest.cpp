// Generate update: the version file made from CHANGELOG.md, the plain change log, where the source
// is looked for, and the menu item's visibility.
#include "update/GenerateUpdate.h"

#include "support/UpdateTestFiles.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

namespace fs = std::filesystem;

const ProgramVersion Version{0, 9, 1, 60};

// A change log of versions with the given numbers of entries, newest first.
std::vector<std::string> ChangeLog(const std::vector<int>& entriesPerVersion) {
    std::vector<std::string> lines{"", "Newest version first.", ""};
    for (size_t version = 0; version < entriesPerVersion.size(); ++version) {
        lines.push_back("## 0.9." + std::to_string(entriesPerVersion.size() - version) + " (Build 5" +
                        std::to_string(version) + ")");
        for (int entry = 0; entry < entriesPerVersion[version]; ++entry)
            lines.push_back("- change " + std::to_string(version) + "." + std::to_string(entry) + "  ");
        lines.emplace_back();
    }
    return lines;
}

TEST(GenerateUpdate, VersionFileHoldsTheNewestEntriesCutAtAHeading) {
    EXPECT_EQ(VersionFileLines(ChangeLog({2, 1}), Version),
              (std::vector<std::string>{"0.9.1.60", "0.9.2 (Build 50)", "- change 0.0", "- change 0.1", "",
                                        "0.9.1 (Build 51)", "- change 1.0"}));
    // Line 12 (version, then 11 kept lines) may hold the next heading: the cut falls there.
    std::vector<std::string> lines = VersionFileLines(ChangeLog({4, 6, 9}), Version);
    EXPECT_EQ(lines.back(), "- change 1.5");
    EXPECT_EQ(lines.size(), 1u + 12u + 1u);
    // A version too long to show whole is cut after twenty lines.
    lines = VersionFileLines(ChangeLog({30}), Version);
    EXPECT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines.back(), "- change 0.18");
    // A heading before line 12 is kept with its entries.
    lines = VersionFileLines(ChangeLog({3, 20}), Version);
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], "0.9.1 (Build 51)");
    EXPECT_EQ(lines.size(), 1u + 20u + 1u);
}

TEST(GenerateUpdate, WritesBothFilesFromTheChangeLogBesideTheProgram) {
    test::TempDir temp;
    test::WriteText(temp.Path() / "program/CHANGELOG.md", "# Tavrik change log\n\n## 0.9.0 (Build 57)\n- first\n");
    test::ScriptedDialogs dialogs;
    const std::string program = (temp.Path() / "program").string() + "/";
    EXPECT_TRUE(GenerateUpdateVisible(program));
    const std::optional<std::string> written =
        GenerateUpdate({program, temp.Path().string()}, Version, dialogs);
    ASSERT_EQ(written, program + "tavrik_version.txt");
    EXPECT_EQ(test::ReadText(*written), "0.9.1.60\n0.9.0 (Build 57)\n- first\n");
    EXPECT_EQ(test::ReadText(temp.Path() / "ChangeLog.txt"), "\n## 0.9.0 (Build 57)\n- first\n");
    EXPECT_TRUE(dialogs.History.empty());
}

TEST(GenerateUpdate, FailsClearlyWithoutTheChangeLogBesideTheProgram) {
    test::TempDir temp;
    const std::string program = (temp.Path() / "program").string() + "/";
    fs::create_directories(program);
    test::ScriptedDialogs dialogs;
    EXPECT_FALSE(GenerateUpdateVisible(program));
    EXPECT_FALSE(GenerateUpdate({program, temp.Path().string()}, Version, dialogs));
    EXPECT_EQ(dialogs.Texts("error"),
              std::vector<std::string>{"Could not locate source file " + program + "CHANGELOG.md. Generate failed!"});
    EXPECT_FALSE(fs::exists(program + "tavrik_version.txt"));
}

} // namespace
} // namespace tavrik
