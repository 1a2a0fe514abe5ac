// Fetch against a server on 127.0.0.1: which addresses may be fetched at all, bodies past their limit or
// without end stopped with bounded memory, cancellation, and the transfer events of a download.
#include "update/HttpClient.h"

#include "support/LocalHttpServer.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

struct RecordedEvents : TransferEvents {
    std::vector<std::string> Names;
    std::vector<uint64_t> Positions;
    uint64_t Expected = 0;
    uint64_t CancelAfter = UINT64_MAX;
    void WorkBegin(uint64_t expected) override {
        Names.push_back("begin");
        Expected = expected;
    }
    void Work(uint64_t bytes) override { Positions.push_back(bytes); }
    void WorkEnd() override { Names.push_back("end"); }
    bool Cancelled() const override { return !Positions.empty() && Positions.back() >= CancelAfter; }
};

class HttpClientTest : public ::testing::Test {
  protected:
    test::LocalHttpServer Server;
};

TEST(HttpAddress, HttpsEverywhereAndPlainHttpOnlyFromThisComputer) {
    for (const char* allowed : {"https://updates.example.org/tavrik", "http://127.0.0.1:8080/", "http://127.8.9.1/x",
                                "http://localhost/", "http://[::1]:99/"})
        EXPECT_EQ(AddressProblem(allowed), "") << allowed;
    for (const char* refused : {"http://updates.example.org/", "http://127.example.org/", "http://10.0.0.1/",
                                "ftp://127.0.0.1/", "file:///etc/passwd", "updates.example.org", ""})
        EXPECT_NE(AddressProblem(refused), "") << refused;
    const HttpResponse response = Fetch("http://192.0.2.7/Tavrik.zip", {1000, 1});
    EXPECT_FALSE(response.Succeeded);
    EXPECT_NE(response.ErrorMessage.find("not an https address"), std::string::npos) << response.ErrorMessage;
}

TEST(HttpAddress, QueryValuesKeepOnlyUnreservedCharacters) {
    EXPECT_EQ(QueryValue("0.9.0-57_a~"), "0.9.0-57_a~");
    EXPECT_EQ(QueryValue("1 2&v=3/4?#+%\xC3\xA9"), "1%202%26v%3D3%2F4%3F%23%2B%25%C3%A9");
    EXPECT_EQ(QueryValue(std::string("a\0b", 3)), "a%00b");
    EXPECT_EQ(QueryValue(""), "");
}

TEST_F(HttpClientTest, WholeBodyArrivesWithItsProgress) {
    const std::string body(3'000'000, 'b');
    Server.Serve("/file", {200, body});
    RecordedEvents events;
    const HttpResponse response = Fetch(Server.BaseUrl() + "/file", {body.size()}, &events);
    ASSERT_TRUE(response.Succeeded) << response.ErrorMessage;
    EXPECT_EQ(response.Body.size(), body.size());
    EXPECT_EQ(events.Names, (std::vector<std::string>{"begin", "end"}));
    EXPECT_EQ(events.Expected, body.size());
    EXPECT_TRUE(std::is_sorted(events.Positions.begin(), events.Positions.end()));
    EXPECT_EQ(events.Positions.back(), body.size());
}

TEST_F(HttpClientTest, BodiesPastTheirLimitStopWithoutGrowing) {
    Server.Serve("/announced", {200, std::string(5000, 'a')});
    Server.Serve("/endless", {200, std::string(65536, 'e'), std::nullopt, true});
    for (const std::string path : {"/announced", "/endless"}) {
        SCOPED_TRACE(path);
        RecordedEvents events;
        const HttpResponse response = Fetch(Server.BaseUrl() + path, {4096}, &events);
        EXPECT_FALSE(response.Succeeded);
        EXPECT_TRUE(response.Body.empty());
        EXPECT_EQ(response.ErrorMessage, "the server sent more than the 4 KB this download may have");
        for (uint64_t position : events.Positions)
            EXPECT_LE(position, 4096u);
    }
}

TEST_F(HttpClientTest, CancellingStopsAnEndlessDownload) {
    Server.Serve("/endless", {200, "", std::nullopt, true});
    RecordedEvents events;
    events.CancelAfter = 1 << 20;
    const HttpResponse response = Fetch(Server.BaseUrl() + "/endless", {uint64_t{1} << 40}, &events);
    EXPECT_FALSE(response.Succeeded);
    EXPECT_EQ(response.ErrorMessage, "the download was cancelled");
    EXPECT_EQ(std::count(events.Names.begin(), events.Names.end(), "end"), 0);
}

TEST_F(HttpClientTest, MissingAndCutOffBodiesFail) {
    Server.Serve("/cut", {200, std::string(100000, 'x'), 40000});
    EXPECT_EQ(Fetch(Server.BaseUrl() + "/missing", {1000}).ErrorMessage, "The requested URL returned error: 404");
    const HttpResponse cut = Fetch(Server.BaseUrl() + "/cut", {200000});
    EXPECT_FALSE(cut.Succeeded);
    EXPECT_TRUE(cut.Body.empty());
    EXPECT_FALSE(Fetch("http://127.0.0.1:1/closed-port", {1000}).Succeeded);
}

} // namespace
} // namespace tavrik
