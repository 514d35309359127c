// The connection manager adapter against a stand-in `nmcli` put first on PATH: what it asks,
// what it reads back, and that a password reaches it through a pipe, never its command line.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "platform/dialup_network.h"

namespace {

// A stand-in nmcli: logs each call's arguments and standard input, answers from the case below.
constexpr const char* kStandIn = R"SH(#!/bin/sh
dir=$(dirname "$0")
echo "$*" >> "$dir/calls.log"
case "$*" in
  "-t -f NAME,TYPE connection show")
    printf 'Wired:802-3-ethernet\nMy\\:Modem:gsm\nHome DSL:pppoe\nPhone BT:bluetooth\n' ;;
  "-s -t -f gsm.username,gsm.password,gsm.number connection show id My:Modem")
    printf 'gsm.username:joe\ngsm.password:pw\ngsm.number:*99#\n' ;;
  "-s -t -f pppoe.username,pppoe.password connection show id Home DSL")
    printf 'pppoe.username:me\npppoe.password:\n' ;;
  "-s -t -f gsm.username,gsm.password,gsm.number connection show id Phone BT")
    printf 'gsm.username:--\ngsm.password:--\ngsm.number:--\n' ;;
  *"connection up id My:Modem (dial account)"*)
    cat > "$dir/stdin.log"
    echo 'Error: Connection activation failed: (24) The modem is busy.' >&2; exit 4 ;;
  *"connection up id Home DSL"*)
    cat > "$dir/stdin.log"; exit 0 ;;
  "-t -f NAME,TYPE connection show --active")
    printf 'Wired:802-3-ethernet\nHome DSL:pppoe\n' ;;
esac
exit 0
)SH";

class Nmcli : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QFile f(dir.filePath("nmcli"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kStandIn);
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        oldPath = qgetenv("PATH");
        qputenv("PATH", dir.path().toUtf8() + ":" + oldPath);
    }
    void TearDown() override { qputenv("PATH", oldPath); }
    static void waitFor(const std::function<bool()>& done) {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    std::string read(const char* name) const {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
    }

    QTemporaryDir dir;
    QByteArray oldPath;
};

TEST_F(Nmcli, ListsTheDiallingConnectionsWithTheirAccounts) {
    bool done = false;
    int code = -1;
    std::vector<platform::DialEntry> entries;
    platform::dialupNetwork().listEntries([&](int c, std::vector<platform::DialEntry> e) {
        code = c, entries = std::move(e), done = true;
    });
    waitFor([&] { return done; });
    ASSERT_EQ(code, 0);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "My:Modem");
    EXPECT_EQ(entries[0].user, "joe");
    EXPECT_EQ(entries[0].password, "pw");
    EXPECT_EQ(entries[0].number, "*99#");
    EXPECT_EQ(entries[1].type, "pppoe");
    EXPECT_EQ(entries[1].password, "");
    EXPECT_EQ(entries[2].name, "Phone BT");
    EXPECT_EQ(entries[2].user, "");
}

TEST_F(Nmcli, DialsWithThePasswordThroughAPipeAndReadsTheFailure) {
    int code = -1;
    std::string connection;
    platform::dialupNetwork().dial("My:Modem", {"dflt", "Top$ecret", "5550000"}, [&](int c, std::string n) {
        code = c, connection = n;
    });
    waitFor([&] { return code >= 0; });
    EXPECT_EQ(code, platform::kDialLineBusy);
    EXPECT_EQ(connection, "My:Modem (dial account)");
    const std::string calls = read("calls.log");
    EXPECT_EQ(calls.find("Top$ecret"), std::string::npos) << calls;
    // The account goes on a copy kept in memory; the saved connection is not changed.
    EXPECT_NE(calls.find("connection clone --temporary id My:Modem My:Modem (dial account)"), std::string::npos) << calls;
    EXPECT_NE(calls.find("connection modify --temporary id My:Modem (dial account) gsm.username dflt gsm.number 5550000"),
              std::string::npos)
        << calls;
    EXPECT_EQ(calls.find("modify --temporary id My:Modem gsm"), std::string::npos) << calls;
    EXPECT_NE(calls.find("connection up id My:Modem (dial account) passwd-file /dev/stdin"), std::string::npos) << calls;
    EXPECT_EQ(read("stdin.log"), "gsm.password:Top$ecret\n");

    code = -1;
    platform::dialupNetwork().hangUp({"My:Modem (dial account)"}, [&] { code = 0; });
    waitFor([&] { return code == 0; });
    const std::string after = read("calls.log");
    const size_t clone = after.find("connection clone");
    EXPECT_LT(after.find("connection delete id My:Modem (dial account)"), clone) << "a stale copy goes first";
    EXPECT_NE(after.find("connection down id My:Modem (dial account)\nconnection delete id My:Modem (dial account)", clone),
              std::string::npos)
        << "the copy goes with its hang-up";

    code = -1;
    platform::dialupNetwork().dial("Nowhere", {}, [&](int c, std::string) { code = c; });
    waitFor([&] { return code >= 0; });
    EXPECT_EQ(code, platform::kDialNoEntry);
}

TEST_F(Nmcli, HangsUpOnlyTheDiallingConnectionsThatAreUp) {
    bool done = false;
    std::vector<std::string> active;
    platform::dialupNetwork().activeDialConnections([&](std::vector<std::string> n) { active = n, done = true; });
    waitFor([&] { return done; });
    EXPECT_EQ(active, std::vector<std::string>{"Home DSL"});
    done = false;
    platform::dialupNetwork().hangUp(active, [&] { done = true; });
    waitFor([&] { return done; });
    EXPECT_NE(read("calls.log").find("connection down id Home DSL"), std::string::npos);
}

TEST_F(Nmcli, WithoutNmcliNothingAnswers) {
    qputenv("PATH", QByteArray("/nonexistent"));
    int code = -1;
    platform::dialupNetwork().listEntries([&](int c, std::vector<platform::DialEntry>) { code = c; });
    waitFor([&] { return code >= 0; });
    EXPECT_EQ(code, platform::kDialNoService);
}

TEST(DialFailureCode, FailureTextsReadAsTheLinesNumbers) {
    struct Case {
        int exit;
        const char* text;
        int code;
    };
    const Case cases[] = {
        {8, "Error: NetworkManager is not running.", 621},
        {10, "Error: unknown connection 'x'.", 623},
        {4, "Error: Connection activation failed: (7) Secrets were required, but not provided.", 645},
        {4, "Error: Connection activation failed: (24) The modem is busy.", 676},
        {3, "Error: Timeout expired (90 seconds)", 678},
        {4, "Error: Connection activation failed: (26) No carrier could be established.", 679},
        {4, "Error: Connection activation failed: (25) The modem could not find a dial tone.", 680},
        {4, "Error: Connection activation failed: (14) PPP service failed to start.", 14},
        {1, "Error: something else", 1},
        {4, "Error: failed: (99999999999999999999) a reason beyond the code range", 4},
        {4, "Error: ((x) (12a) (14) PPP service failed to start.", 14},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::Dial_Failure_Code(c.exit, c.text), c.code) << c.text;
    // Output of any length is read in one pass: a long run of digits, then the reason.
    const std::string longOutput = "Error: (" + std::string(200000, '7') + " (14) PPP service failed to start.";
    EXPECT_EQ(platform::Dial_Failure_Code(4, longOutput), 14);
}

}  // namespace
