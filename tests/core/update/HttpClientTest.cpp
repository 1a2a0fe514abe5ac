// HttpGet against a server on 127.0.0.1: the body and the user-agent, the transfer events, and the
// failures that leave the stream empty with the reason shown.
#include "update/HttpClient.h"

#include "LocalHttpServer.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

struct RecordedEvents : TransferEvents {
    std::vector<std::string> Names;
    uint64_t Expected = 0;
    std::vector<uint64_t> Positions;
    int Waits = 0;
    void WorkBegin(uint64_t expectedBytes) override {
        Names.push_back("begin");
        Expected = expectedBytes;
    }
    void Work(uint64_t bytesSoFar) override { Positions.push_back(bytesSoFar); }
    void WorkEnd() override { Names.push_back("end"); }
    void LetEventsRun() override { ++Waits; }
};

class HttpClientTest : public ::testing::Test {
  protected:
    test::LocalHttpServer Server;
    test::ScriptedDialogs Dialogs;
    std::vector<uint8_t> Stream{'o', 'l', 'd'};
};

TEST_F(HttpClientTest, DownloadsTheBodyWithTheProgramsUserAgentAndReportsProgress) {
    std::string body(3 * 1024 * 1024 + 17, '\0');
    for (size_t i = 0; i < body.size(); ++i)
        body[i] = static_cast<char>(i * 7);
    Server.Serve("/Tavrik.zip", {200, body, std::nullopt});
    RecordedEvents events;
    ASSERT_TRUE(HttpGet(Server.BaseUrl() + "/Tavrik.zip", "Tavrik.zip", Stream, Dialogs, &events));
    EXPECT_EQ(std::string(Stream.begin(), Stream.end()), body);
    EXPECT_TRUE(Dialogs.History.empty());
    EXPECT_EQ(Server.Requests().at(0).UserAgent, "Mozilla/4.0 (compatible; Indy Library)");
    EXPECT_EQ(events.Names, (std::vector<std::string>{"begin", "end"}));
    EXPECT_EQ(events.Expected, body.size());
    ASSERT_GT(events.Positions.size(), 2u);
    EXPECT_TRUE(std::is_sorted(events.Positions.begin(), events.Positions.end()));
    EXPECT_EQ(events.Positions.back(), body.size());
    EXPECT_GT(events.Waits, 0);
}

TEST_F(HttpClientTest, EmptyBodyStillBeginsAndEnds) {
    Server.Serve("/empty", {200, "", std::nullopt});
    RecordedEvents events;
    EXPECT_TRUE(HttpGet(Server.BaseUrl() + "/empty", "empty", Stream, Dialogs, &events));
    EXPECT_TRUE(Stream.empty());
    EXPECT_EQ(events.Names, (std::vector<std::string>{"begin", "end"}));
}

TEST_F(HttpClientTest, FailuresEmptyTheStreamAndNameTheDownload) {
    Server.Serve("/cut", {200, std::string(100000, 'x'), 40000});
    const std::string missing = Server.BaseUrl() + "/tavrik_version_check?s=1";
    const std::string cut = Server.BaseUrl() + "/cut";
    for (const std::string& url : {missing, cut, std::string("http://127.0.0.1:1/closed-port")}) {
        SCOPED_TRACE(url);
        Stream = {1, 2, 3};
        Dialogs.History.clear();
        RecordedEvents events;
        EXPECT_FALSE(HttpGet(url, "Brenwick_Version.txt", Stream, Dialogs, &events));
        EXPECT_TRUE(Stream.empty());
        ASSERT_EQ(Dialogs.Texts("error").size(), 1u);
        const std::string message = Dialogs.Texts("error")[0];
        EXPECT_TRUE(message.starts_with("An error occurred while downloading Brenwick_Version.txt\n")) << message;
        EXPECT_GT(message.size(), std::string("An error occurred while downloading Brenwick_Version.txt\n").size());
        EXPECT_TRUE(std::find(events.Names.begin(), events.Names.end(), "end") == events.Names.end());
    }
}

TEST_F(HttpClientTest, NotFoundSaysSo) {
    const HttpResponse response = Fetch(Server.BaseUrl() + "/Tavrik.zip");
    EXPECT_FALSE(response.Succeeded);
    EXPECT_NE(response.ErrorMessage.find("404"), std::string::npos) << response.ErrorMessage;
}

TEST_F(HttpClientTest, OnlyWebAddressesAreFetched) { EXPECT_FALSE(Fetch("file:///etc/hostname").Succeeded); }

} // namespace
} // namespace tavrik
