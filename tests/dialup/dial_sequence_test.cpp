// The automatic dial before a bid: attempts, pauses, failures, Esc, the hang-up count-down, and
// the File menu's Connect and Hangup.
#include <algorithm>

#include "dialup_fixture.h"

namespace dialtest {
namespace {

using Dial = DialupFixture;

// The statuses from the first one equal to `from`, duplicates of the line before dropped.
std::vector<std::string> statusesFrom(const std::vector<std::string>& all, const std::string& from) {
    std::vector<std::string> out;
    auto it = std::find(all.begin(), all.end(), from);
    for (; it != all.end(); ++it)
        if (out.empty() || out.back() != *it) out.push_back(*it);
    return out;
}

TEST_F(Dial, BusyTwiceThenConnectedShowsEveryStepAndCountsDownToTheHangUp) {
    chooseOffice();
    TLMainState::RetryDialSecs = 5;
    network.codes = {676, 676, 0};
    const int i = itemEndingIn(300);
    startPhoneBookDial(i);
    ASSERT_TRUE(runUntil([] { return modRAS::DialBusy == 0; }, 60000));

    std::vector<std::string> expected{"Dialing Office - Attempt #1", "Disconnecting.... Line is Busy...."};
    for (int attempt = 2; attempt <= 3; ++attempt) {
        for (int n = 4; n >= 0; --n) expected.push_back("Redialing in " + std::to_string(n) + " seconds....");
        expected.push_back("Dialing Office - Attempt #" + std::to_string(attempt));
        if (attempt == 2) expected.push_back("Disconnecting.... Line is Busy....");
    }
    expected.push_back("Connection Established....");
    EXPECT_EQ(statusesFrom(status.statuses, "Dialing Office - Attempt #1"), expected);

    EXPECT_EQ(network.dials.size(), 3u);
    EXPECT_TRUE(modRAS::DialConnected);
    EXPECT_EQ(modRAS::OwnConnection, "Office");
    EXPECT_TRUE(window.hangup.enabled());
    EXPECT_FALSE(window.sync.enabled());
    // The seconds to the end when it came up (each failure waited for its hang-up, each pause
    // five ticks), plus the two minutes after it.
    const long elapsed = static_cast<long>(time.clock.tickMs() / 1000);
    EXPECT_GT(elapsed, 18);
    EXPECT_NEAR(modRAS::HangupCountdown, 300 - elapsed + 120, 1);
    const std::string log = opLog();
    EXPECT_NE(log.find("User buyer1"), std::string::npos);
    EXPECT_NE(log.find("Item #1001"), std::string::npos);
    EXPECT_NE(log.find("Disconnecting....  Line is Busy...."), std::string::npos);
    EXPECT_EQ(window.pictures.back(), modRAS::kPhoneConnected);
}

struct EndCase {
    const char* name;
    int code;
    int maxAttempts;
    const char* failure;
};

TEST_F(Dial, ConfigurationAndAccountFailuresEndTheSequenceAtOnce) {
    const EndCase cases[] = {
        {"refused account", 645, 3, "Disconnecting.... User Name/Password Failed Authentication...."},
        {"code outside the table", 691, 3, "Disconnecting.... Unknown Error.... - 691"},
        {"unknown entry", 623, 3, "Disconnecting.... Connection Setup Error...."},
        {"one attempt only", 676, 1, "Disconnecting.... Line is Busy...."},
    };
    for (const EndCase& c : cases) {
        reset();
        chooseOffice();
        network.dials.clear();
        network.codes = {c.code, 0};
        TLMainState::MaxDialAttempts = static_cast<int16_t>(c.maxAttempts);
        status.statuses.clear();
        startPhoneBookDial(itemEndingIn(300));
        ASSERT_TRUE(runUntil([] { return modRAS::DialBusy == 0; }, 30000)) << c.name;
        EXPECT_EQ(network.dials.size(), 1u) << c.name;
        EXPECT_NE(std::find(status.statuses.begin(), status.statuses.end(), c.failure), status.statuses.end()) << c.name;
        EXPECT_EQ(status.status, "Failed to Connect....  Quiting....") << c.name;
        EXPECT_FALSE(window.sync.enabled()) << c.name;
        EXPECT_FALSE(modRAS::DialConnected) << c.name;
    }
}

TEST_F(Dial, NoEntryChosenDialsNothing) {
    startPhoneBookDial(itemEndingIn(300));
    ASSERT_TRUE(runUntil([] { return modRAS::DialBusy == 0; }, 30000));
    EXPECT_TRUE(network.dials.empty());
    EXPECT_EQ(status.status, "Failed to Connect....  Quiting....");
}

TEST_F(Dial, DroppedLineIsDialledOnceMoreTwoSecondsLaterWithinTheSameAttempt) {
    chooseOffice();
    network.codes = {668, 0};
    startPhoneBookDial(itemEndingIn(300));
    ASSERT_TRUE(runUntil([this] { return network.dials.size() == 2; }, 10000));
    const qint64 redialAt = time.clock.tickMs();
    ASSERT_TRUE(runUntil([] { return modRAS::DialBusy == 0; }, 10000));
    EXPECT_GE(redialAt, 2000);
    EXPECT_TRUE(modRAS::DialConnected);
    EXPECT_EQ(std::count(status.statuses.begin(), status.statuses.end(), "Dialing Office - Attempt #2"), 0);
}

TEST_F(Dial, EscCancelsTheDialInProgressAndItsLateAnswerIsDropped) {
    chooseOffice();
    network.dialMs = 20000;
    startPhoneBookDial(itemEndingIn(300));
    time.advanceMs(1500);
    ASSERT_EQ(network.dials.size(), 1u);
    modRAS::DialCancel = -1;  // Esc in the main window
    time.advanceMs(1000);
    EXPECT_EQ(network.cancels, 1);
    EXPECT_EQ(status.status, "Auto Dial Cancelled !");
    EXPECT_NE(opLog().find("Auto Dial Cancelled By User !"), std::string::npos);
    EXPECT_FALSE(modRAS::DialBusy);
    EXPECT_FALSE(window.sync.enabled());
    time.advanceMs(25000);  // the dial answers after all
    EXPECT_FALSE(modRAS::DialConnected);
    EXPECT_FALSE(window.hangup.enabled());
}

TEST_F(Dial, DefaultAccountIsUsedOnlyWhenOnAndComplete) {
    struct Case {
        const char* status;
        const char* phone;
        platform::DialAccount expected;
    };
    const Case cases[] = {
        {"1", "5559999", {"dflt", "dpw", "5559999"}},
        {"True", "5559999", {"dflt", "dpw", "5559999"}},
        {"True", "", {}},                    // incomplete: the entry's own account as it is kept
        {"0", "5559999", {"", "s3cret", ""}},  // the entry's stored account, its own user and number
    };
    for (const Case& c : cases) {
        reset();
        chooseOffice();
        set("DUN", "DefaultUser", "dflt");
        set("DUN", "DefaultPassword", "dpw");
        set("DUN", "DefaultPhone", c.phone);
        set("DUN", "DefaultStatus", c.status);
        network.dials.clear();
        modRAS::RAS_Dial([](int) {});
        ASSERT_EQ(network.dials.size(), 1u);
        const auto& a = network.dials[0].account;
        EXPECT_EQ(a.user, c.expected.user) << c.status << "/" << c.phone;
        EXPECT_EQ(a.password, c.expected.password) << c.status << "/" << c.phone;
        EXPECT_EQ(a.number, c.expected.number) << c.status << "/" << c.phone;
    }
}

TEST_F(Dial, AutomaticHangUpWarnsTakesDownOnlyTheProgramsOwnLineAndWaitsForANearBid) {
    modRAS::OwnConnection = "Office";
    modRAS::DialConnected = -1;
    network.up = {"Office", "Home Modem"};
    modRAS::HangupCountdown = 33;
    window.hangup.setEnabled(true);
    time.advanceMs(3000);
    EXPECT_EQ(status.status, "Warning! Auto Disconnect in 30 Seconds!");
    EXPECT_EQ(std::count_if(status.statuses.begin(), status.statuses.end(),
                            [](const std::string& s) { return s.rfind("Warning!", 0) == 0; }),
              1);
    TLMainState::MinuteWarningGiven = -1;  // a bid less than a minute away
    time.advanceMs(30000);
    EXPECT_EQ(status.status, "Disconnecting!");
    EXPECT_TRUE(modRAS::HangingUp);
    time.advanceMs(10000);
    EXPECT_TRUE(network.hungUp.empty()) << "nothing is taken down while a bid is near";
    TLMainState::MinuteWarningGiven = 0;
    time.advanceMs(6000);
    EXPECT_EQ(network.hungUp, std::vector<std::string>{"Office"});
    EXPECT_FALSE(modRAS::HangingUp);
    EXPECT_FALSE(modRAS::DialConnected);
    EXPECT_NE(opLog().find("Auto Disconnected"), std::string::npos);
    EXPECT_EQ(window.pictures.back(), modRAS::kPhoneNotConnected);
}

TEST_F(Dial, ManualConnectAndHangUpReportAndTouchOnlyDiallingConnections) {
    chooseOffice();
    modRAS::DialType = 1;
    bool ended = false;
    modRAS::MnuSubConnect_Click([&] { ended = true; });
    EXPECT_EQ(status.status, "Attempting to Connect....");
    ASSERT_TRUE(runUntil([&] { return ended; }, 5000));
    EXPECT_EQ(status.status, "Connection Established....");

    network.codes = {680};
    ended = false;
    modRAS::MnuSubConnect_Click([&] { ended = true; });
    ASSERT_TRUE(runUntil([&] { return ended; }, 5000));
    EXPECT_EQ(status.status, "Manual Dial Failed to Connect....");
    EXPECT_NE(opLog().find("Manual Dial Failed to Connect"), std::string::npos);

    network.up = {"Office", "Tethered Phone"};
    ended = false;
    modRAS::MnuSubHangup_Click([&] { ended = true; });
    EXPECT_EQ(status.status, "Hanging up....");
    ASSERT_TRUE(runUntil([&] { return ended; }, 10000));
    EXPECT_EQ(network.hungUp, (std::vector<std::string>{"Office", "Tethered Phone"}));
}

TEST_F(Dial, DefaultConnectionDialAnswersLaterAndEscDropsIt) {
    bool answered = false, connected = false;
    dialer.InternetAutodial([&](bool c) { answered = true, connected = c; });
    EXPECT_FALSE(answered);
    ASSERT_TRUE(runUntil([&] { return answered; }, 5000));
    EXPECT_TRUE(connected);

    network.defaultMs = 30000;
    answered = false;
    modRAS::DialBusy = -1;
    dialer.InternetAutodial([&](bool c) { answered = true, connected = c; });
    time.advanceMs(2000);
    modRAS::DialCancel = -1;
    ASSERT_TRUE(runUntil([&] { return answered; }, 3000));
    EXPECT_FALSE(connected);
    EXPECT_EQ(status.status, "Auto Dial Cancelled !");
}

}  // namespace
}  // namespace dialtest
