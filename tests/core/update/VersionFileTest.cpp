// The version file: the newest version compared number by number, the change-log lines, bad first
// lines, and the download question built from it.
#include "update/VersionFile.h"

#include "app/Error.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

const ProgramVersion Running{0, 8, 4, 57};

bool ServerIsNewer(const std::string& firstLine) { return ParseVersionFile(firstLine).Newest > Running; }

TEST(VersionFile, NewerWhenTheFirstDifferingNumberIsGreater) {
    EXPECT_TRUE(ServerIsNewer("0.8.4.58"));
    EXPECT_TRUE(ServerIsNewer("0.8.5.0"));
    EXPECT_TRUE(ServerIsNewer("1.0.0.0"));
    EXPECT_FALSE(ServerIsNewer("0.8.4.57"));
    EXPECT_FALSE(ServerIsNewer("0.7.9.99"));
    EXPECT_FALSE(ServerIsNewer("0.8.3.65535"));
    EXPECT_TRUE(ParseVersionFile("65535.0.0.0").Newest > (ProgramVersion{32767, 9, 9, 9}));
}

TEST(VersionFile, LinesAfterTheFirstAreTheChangeLogWhateverTheLineBreaks) {
    const VersionFile file = ParseVersionFile("0.8.5.0\r\n\r\n0.8.5 (Build 0)\r\n- faster maps\n- fixes\r\n");
    EXPECT_EQ(file.Newest, (ProgramVersion{0, 8, 5, 0}));
    EXPECT_EQ(file.ChangeLog, (std::vector<std::string>{"", "0.8.5 (Build 0)", "- faster maps", "- fixes"}));
    EXPECT_TRUE(ParseVersionFile("0.8.5.0").ChangeLog.empty());
}

TEST(VersionFile, FirstLineThatIsNotFourNumbersIsAClearError) {
    for (const char* line : {"0.8.4", "0.8.4.", "0.8.x.57", "0.8.4.57.1", "70000.0.0.0", "-1.0.0.0", "<html>", ""}) {
        SCOPED_TRACE(line);
        try {
            ParseVersionFile(std::string(line) + "\nchanges");
            ADD_FAILURE() << "accepted";
        } catch (const Error& error) {
            EXPECT_NE(std::string(error.what()).find("\"" + std::string(line) + "\" is not four numbers"),
                      std::string::npos)
                << error.what();
        }
    }
    EXPECT_THROW(ParseVersionFile(""), Error);
}

TEST(VersionFile, ChecksumLineIsTakenOutOfTheChangeLogAndMustBeWhole) {
    const std::string digits = "9F86D081884C7D659A2FEAA0C55AD015A3BF4F1B2B0B822CD15D6C15B0F00A08";
    const VersionFile file = ParseVersionFile("0.8.5.0\n- fixes\nsha256:  " + digits + " \n- more");
    EXPECT_EQ(file.Sha256, "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08");
    EXPECT_EQ(file.ChangeLog, (std::vector<std::string>{"- fixes", "- more"}));
    EXPECT_TRUE(ParseVersionFile("0.8.5.0\n- fixes").Sha256.empty());
    for (const std::string& bad : {"sha256: " + digits.substr(1), "sha256: " + digits + "0", "sha256: " +
                                   digits.substr(1) + "g", "sha256: " + digits + "\nsha256: " + digits})
        EXPECT_THROW(ParseVersionFile("0.8.5.0\n" + bad), Error) << bad;
}

TEST(VersionFile, QuestionShowsTheChangeLogOnlyWhenItHoldsText) {
    const std::string archive = "/opt/tavrik/Tavrik.zip";
    EXPECT_EQ(NewVersionQuestion(ParseVersionFile("0.8.5.0\n"), archive),
              "A new version 0.8.5 (Build 0) of Tavrik is available!\n\nThe new version will be saved as "
              "/opt/tavrik/Tavrik.zip\nWould you like to download it now?");
    EXPECT_EQ(NewVersionQuestion(ParseVersionFile("0.8.5.0\n  \n\n"), archive),
              NewVersionQuestion(ParseVersionFile("0.8.5.0"), archive));
    EXPECT_EQ(NewVersionQuestion(ParseVersionFile("0.8.4.58\n0.8.4 (Build 58)\n- fixes"), archive),
              "A new version 0.8.4 (Build 58) of Tavrik is available!\n\n0.8.4 (Build 58)\n- fixes\n\nThe new "
              "version will be saved as /opt/tavrik/Tavrik.zip\nWould you like to download it now?");
}

} // namespace
} // namespace tavrik
