// The update check and download against a server on 127.0.0.1: what the check sends, a failed check never
// passing for "no newer version", and a downloaded archive checked against its checksum and its entries.
#include "update/UpdateCheck.h"

#include "app/Error.h"
#include "support/LocalHttpServer.h"
#include "support/TempDir.h"
#include "support/UpdateTestFiles.h"

#include <gtest/gtest.h>

namespace tavrik {
namespace {

namespace fs = std::filesystem;

std::span<const uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

class UpdateCheckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(Temp.Path() / "program");
        Request = {Server.BaseUrl() + "//", {0, 8, 4, 57}, {(Temp.Path() / "program").string() + "/", "tavrik"}};
    }
    void ServeVersion(const std::string& text) { Server.Serve("/tavrik_version_check", {200, text}); }
    // The error message of what, or "" when it did not throw.
    template <typename Call> std::string Failure(Call what) {
        try {
            what();
        } catch (const Error& error) {
            return error.what();
        }
        return {};
    }

    test::TempDir Temp;
    test::LocalHttpServer Server;
    UpdateRequest Request;
};

TEST_F(UpdateCheckTest, TheCheckSendsTheRunningVersionAndNothingElse) {
    ServeVersion("0.8.4.58\n- fixes\n");
    const ServerVersion server = CheckUpdateServer(Request);
    EXPECT_TRUE(server.Newer);
    EXPECT_EQ(server.File.Newest, (ProgramVersion{0, 8, 4, 58}));
    ASSERT_EQ(Server.Requests().size(), 1u);
    EXPECT_EQ(Server.Requests()[0].Target, "/tavrik_version_check?v=0.8.4.57");
    EXPECT_EQ(Server.Requests()[0].UserAgent, UpdateUserAgent);
    ServeVersion("0.8.4.57");
    EXPECT_FALSE(CheckUpdateServer(Request).Newer);
}

TEST_F(UpdateCheckTest, EveryFailedCheckSaysSo) {
    const std::vector<test::LocalHttpServer::Reply> replies = {
        {404, "Not Found"},
        {200, "0.8.4.58\n" + std::string(70000, 'x')},
        {200, "0.8.4.58\n", std::nullopt, true},
        {200, "0.8.4.58\n- fixes\n", 5},
        {200, ""},
        {200, "<html>maintenance</html>"},
        {200, "0.8.4.58\nsha256: 1234"},
    };
    for (const test::LocalHttpServer::Reply& reply : replies) {
        SCOPED_TRACE(reply.Body.substr(0, 30));
        Server.Serve("/tavrik_version_check", reply);
        EXPECT_TRUE(Failure([&] { CheckUpdateServer(Request); }).starts_with("The update check failed: "));
    }
    EXPECT_NE(LatestVersionMessage(Request.Version), "");
}

TEST_F(UpdateCheckTest, ArchiveMustMatchTheAnnouncedChecksum) {
    const std::string archive = test::ZipBytes({{"tavrik", "new program"}});
    Server.Serve("/Tavrik.zip", {200, archive});
    VersionFile file{{0, 8, 4, 58}, {}, Sha256Hex(Bytes(archive))};
    EXPECT_EQ(DownloadUpdate(Request, file), std::vector<uint8_t>(archive.begin(), archive.end()));
    file.Sha256[10] = file.Sha256[10] == '0' ? '1' : '0';
    EXPECT_NE(Failure([&] { DownloadUpdate(Request, file); }).find("SHA-256 checksum differs"), std::string::npos);
    file.Sha256.clear(); // without a checksum line any whole, safe archive is taken
    EXPECT_EQ(DownloadUpdate(Request, file).size(), archive.size());
}

TEST_F(UpdateCheckTest, ArchivesThatWouldNotInstallAreRefusedAtDownload) {
    const std::string good = test::ZipBytes({{"tavrik", std::string(100000, 'n')}});
    const std::vector<test::LocalHttpServer::Reply> replies = {
        {200, test::ZipBytes({{"tavrik_Old", "junk"}})},
        {200, good.substr(0, good.size() - 30)},
        {404, "gone"},
    };
    for (const test::LocalHttpServer::Reply& reply : replies) {
        SCOPED_TRACE(reply.Body.size());
        Server.Serve("/Tavrik.zip", reply);
        EXPECT_NE(Failure([&] { DownloadUpdate(Request, {}); }), "");
    }
    EXPECT_TRUE(fs::is_empty(Temp.Path() / "program"));
}

TEST(UpdateChecksum, KnownDigests) {
    EXPECT_EQ(Sha256Hex(Bytes("abc")), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256Hex(Bytes("")), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

} // namespace
} // namespace tavrik
