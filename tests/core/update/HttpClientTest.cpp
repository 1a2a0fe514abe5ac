// HttpGet against a server on 127.0.0.1: the transfer events of an empty body, and the failures that
// leave the stream empty with the reason shown. Large downloads are followed in the update check's tests.
#include "update/HttpClient.h"

#include "LocalHttpServer.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

struct RecordedEvents : TransferEvents {
    std::vector<std::string> Names;
    void WorkBegin(uint64_t) override { Names.push_back("begin"); }
    void Work(uint64_t) override { Names.push_back("work"); }
    void WorkEnd() override { Names.push_back("end"); }
};

class HttpClientTest : public ::testing::Test {
  protected:
    test::LocalHttpServer Server;
    test::ScriptedDialogs Dialogs;
    std::vector<uint8_t> Stream{'o', 'l', 'd'};
};

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
    EXPECT_EQ(Fetch(missing).ErrorMessage, "The requested URL returned error: 404");
}

TEST_F(HttpClientTest, OnlyWebAddressesAreFetched) { EXPECT_FALSE(Fetch("file:///etc/hostname").Succeeded); }

} // namespace
} // namespace tavrik
