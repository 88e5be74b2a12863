// The update check against a local HTTP server: the real network client, the
// redirect page, and what the user is told.
#include "core/app/TextCatalog.h"
#include "core/app/UpdateCheck.h"
#include "platform/net/FakeHttpClient.h"
#include "platform/net/HttpClient.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/LocalHttpServer.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class UpdateCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        store = new MemorySettingsStore;
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        messages = new test::ScriptedMessages;
        previous = SetMessageService(std::unique_ptr<MessageService>(messages));
        ASSERT_TRUE(server.listening());
        session.http = &client;
        session.setBusy = [this](bool busy) { busyCalls << busy; };
        local.version = "1.2.34";
        local.size = 4096;
    }
    void TearDown() override {
        SetMessageService(std::move(previous));
        SetSettingsStore(nullptr);
    }
    UpdateVerdict checkAgainst(const QString& address) {
        store->values["UpgAdres"] = address;
        return CheckForUpdates(session, local);
    }
    QList<int> shownNumbers() const {
        QList<int> n;
        for (const auto& m : messages->shown)
            n << m.textNumber;
        return n;
    }

    MemorySettingsStore* store = nullptr;
    test::ScriptedMessages* messages = nullptr;
    std::unique_ptr<MessageService> previous;
    test::LocalHttpServer server;
    QtHttpClient client{3000};
    FetchSession session;
    LocalBuild local;
    QList<bool> busyCalls;
};

} // namespace

TEST_F(UpdateCheckTest, NewerSameAndRebuiltVersionsAreToldApart) {
    server.serve("/newer.txt", "1.2.35,4096\r\n");
    server.serve("/newer-minor.txt", "1.3.0,4096"); // 1.3.0 > 1.2.34, though "130" < "1234"
    server.serve("/rebuilt.txt", "  1.2.34,5000,ignored\n");
    server.serve("/same.txt", "1.2.34,4096\n");
    server.serve("/older.txt", "1.2.9,4096");
    server.serve("/joined.txt", "1235,4096"); // the single-number form
    server.serve("/joined-same.txt", "1234,4096");

    EXPECT_EQ(checkAgainst(server.url("/newer.txt")), UpdateVerdict::Newer);
    EXPECT_EQ(checkAgainst(server.url("/newer-minor.txt")), UpdateVerdict::Newer);
    EXPECT_EQ(checkAgainst(server.url("/rebuilt.txt")), UpdateVerdict::Newer);
    EXPECT_EQ(checkAgainst(server.url("/same.txt")), UpdateVerdict::Current);
    EXPECT_EQ(checkAgainst(server.url("/older.txt")), UpdateVerdict::Current);
    EXPECT_EQ(checkAgainst(server.url("/joined.txt")), UpdateVerdict::Newer);
    EXPECT_EQ(checkAgainst(server.url("/joined-same.txt")), UpdateVerdict::Current);
    EXPECT_EQ(shownNumbers(), (QList<int>{3230, 3230, 3230, 3232, 3232, 3230, 3232}));

    // The newer-build message names the product's page; the pointer was busy
    // during each fetch and normal again before each message.
    EXPECT_TRUE(messages->shown[0].text.contains("https://kelbrin.example.org/en/"))
        << messages->shown[0].text.toStdString();
    EXPECT_EQ(busyCalls.size(), 14);
    EXPECT_EQ(busyCalls.count(true), 7);

    // One plain GET: any type accepted, never from a cache, the program's name as agent.
    ASSERT_FALSE(server.requests.isEmpty());
    const QByteArray head = server.requests[0].head;
    EXPECT_TRUE(head.startsWith("GET /newer.txt HTTP/1.1")) << head.constData();
    EXPECT_TRUE(head.contains("Accept: */*")) << head.constData();
    EXPECT_TRUE(head.contains("User-Agent: MP3 Dravon")) << head.constData();
}

TEST_F(UpdateCheckTest, EveryFailureIsToldOnceWithItsOwnText) {
    server.serve("/one-field.txt", "1.2.35\n");
    server.serve("/words.txt", "new,4096");
    server.serve("/trailing.txt", "1.2.35beta,4096");
    server.serve("/bad-size.txt", "1.2.35,4k");
    server.serve("/empty-field.txt", "1..2,4096");
    server.serve("/huge.txt", "99999999999999999999,4096");
    server.serve("/blank.txt", "   \r\n");
    server.serve("/gone.txt", test::LocalHttpServer::Page{500, "1.2.35,4096", {}, false, false});
    const QStringList failing = {
        server.url("/one-field.txt"), server.url("/words.txt"),    server.url("/trailing.txt"),
        server.url("/bad-size.txt"),  server.url("/empty-field.txt"), server.url("/huge.txt"),
        server.url("/blank.txt"),     server.url("/gone.txt"),     server.url("/missing.txt"),
        "ftp://127.0.0.1/version.txt", "not an address"};
    for (const QString& address : failing) {
        messages->shown.clear();
        EXPECT_EQ(checkAgainst(address), UpdateVerdict::Failed) << address.toStdString();
        EXPECT_EQ(shownNumbers(), QList<int>{3231}) << address.toStdString();
        EXPECT_EQ(messages->shown.value(0).style, mb::Information);
    }
    EXPECT_EQ(busyCalls.count(true), busyCalls.count(false));
}

TEST_F(UpdateCheckTest, TheBodyIsCappedAndTheRequestHasADeadline) {
    const QByteArray big = "1.2.35,4096\n" + QByteArray(kHttpBodyCap, ' ');
    server.serve("/big.txt", big);
    test::LocalHttpServer::Page unmeasured{200, big, {}, false, true};
    server.serve("/big-unmeasured.txt", unmeasured);
    server.serve("/at-cap.txt", "1.2.34,4096" + QByteArray(kHttpBodyCap - 11, ' '));
    test::LocalHttpServer::Page silent;
    silent.silent = true;
    server.serve("/silent.txt", silent);

    EXPECT_EQ(checkAgainst(server.url("/big.txt")), UpdateVerdict::Failed);
    EXPECT_EQ(checkAgainst(server.url("/big-unmeasured.txt")), UpdateVerdict::Failed);
    EXPECT_EQ(checkAgainst(server.url("/at-cap.txt")), UpdateVerdict::Current);

    QtHttpClient quick(500);
    session.http = &quick;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(checkAgainst(server.url("/silent.txt")), UpdateVerdict::Failed);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(shownNumbers(), (QList<int>{3231, 3231, 3232, 3231}));
}

TEST_F(UpdateCheckTest, ARedirectPageIsFollowedToItsFrameSource) {
    session.redirectDomain = "redirect.test";
    server.serve("/redirect.test/", "<html><frameset><frame src=\"" +
                                        server.url("/real/version.txt").toUtf8() +
                                        "\"></frameset></html>");
    server.serve("/real/version.txt", "1.2.34,4096");
    server.serve("/redirect.test/noframe", "<html><body>moved</body></html>");
    server.serve("/redirect.test/blank", "\r\n");

    EXPECT_EQ(checkAgainst(server.url("/redirect.test/")), UpdateVerdict::Current);
    ASSERT_EQ(server.requests.size(), 2);
    EXPECT_EQ(server.requests[1].path, "/real/version.txt");

    // The file part follows the frame's address.
    messages->shown.clear();
    EXPECT_EQ(FetchUrlText(server.url("/redirect.test/"), ".sig", session), QString());
    EXPECT_EQ(server.requests.last().path, "/real/version.txt.sig");
    EXPECT_EQ(shownNumbers(), QList<int>{3231});

    messages->shown.clear();
    EXPECT_EQ(checkAgainst(server.url("/redirect.test/noframe")), UpdateVerdict::Failed);
    EXPECT_EQ(checkAgainst(server.url("/redirect.test/blank")), UpdateVerdict::Failed);
    EXPECT_EQ(shownNumbers(), (QList<int>{3231, 3231}));
}

TEST(UpdateVersionText, FieldsAreComparedOneByOne) {
    LocalBuild local{"0.10.0", 100};
    auto newer = [&](const QString& text) {
        const auto remote = ParseVersionText(text);
        EXPECT_TRUE(remote.has_value()) << text.toStdString();
        return remote && IsNewerBuild(*remote, local);
    };
    EXPECT_FALSE(newer("0.9.9,100"));
    EXPECT_TRUE(newer("0.10.1,100"));
    EXPECT_TRUE(newer("1.0,100"));      // missing fields count as 0
    EXPECT_FALSE(newer("0.10,100"));
    EXPECT_FALSE(newer("0.10.0.0,100"));
    EXPECT_TRUE(newer("0.10.0.1,100"));
    EXPECT_TRUE(newer("0.10.0,101"));
    EXPECT_FALSE(ParseVersionText("0.10.0").has_value());
    EXPECT_FALSE(ParseVersionText(",100").has_value());
    EXPECT_FALSE(ParseVersionText("0.10.0,-5").has_value());
    EXPECT_FALSE(ParseVersionText("0.1e3,100").has_value());
}

TEST(UpdateFetch, TheDefaultAddressIsUsedWithoutASettingAndAFailedPageIsNotRead) {
    MemorySettingsStore* store = new MemorySettingsStore;
    SetSettingsStore(std::unique_ptr<SettingsStore>(store));
    auto* messages = new test::ScriptedMessages;
    auto previous = SetMessageService(std::unique_ptr<MessageService>(messages));
    FakeHttpClient http;
    FetchSession session;
    session.http = &http;
    EXPECT_EQ(CheckForUpdates(session, LocalBuild{"1.0.0", 1}), UpdateVerdict::Failed);
    EXPECT_EQ(http.requests, QStringList{kDefaultUpdateAddress});
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 3231);
    SetMessageService(std::move(previous));
    SetSettingsStore(nullptr);
}
