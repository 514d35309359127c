// The program update against the fake update server: the version answers, the offer and the note,
// the update's information and packages, the checks, the files in the data folder, the updater's
// start and the program's end; and the road's failures, each leaving the program as it was.
#include "maintenance/program_update.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include <deque>
#include <functional>

#include "fake_clock.h"
#include "fake_service.h"
#include "fake_update_server.h"
#include "foundation/bid_engine_state.h"
#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/message_dialog.h"
#include "foundation/protected_texts.h"
#include "foundation/startup.h"
#include "foundation/system_info.h"
#include "foundation/zlib_codec.h"
#include "items/auction_item.h"
#include "maintenance/maintenance_duty.h"
#include "mainwindow/update_server.h"
#include "recording_main_window.h"
#include "recording_program_launcher.h"
#include "scripted_boxes.h"
#include "service/wininet.h"
#include "temp_data_folder.h"

namespace {

using testsupport::FakeUpdateServer;
using File = FakeUpdateServer::UpdateFile;

constexpr int kCriticalStyle = 16 + 4096;

class ProgramUpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::DataFolder = data.dataFolder();
        modTLC::ResetForTests();
        TLMainState::ResetForTests();
        TLMainState::MinuteWarningGiven = 0;
        Maintenance::ResetProgramUpdateForTests();
        TLMainItems::Items = std::vector<TLMainItems::AuctionItem>(1);
        TLMainItems::ItemCount = 0;
        modWinInfo::WindowsVersionText = "Debian GNU/Linux 12 (bookworm)";
        modTLMain::DefaultUserAgent = modTLMain::kDefaultUserAgent;
        modWinInet::Close_Session();  // the next request opens one with that user agent
        modTLC::Set_Config_Value("Options", UpdateServer::kServerKey, server.address());
        Maintenance::setUpdateExitForTests([this] { ++exits; });
        Messages::SetAnswerHookForTests([this](Messages& m) {
            shown.push_back(m.messageText());
            if (answers.empty()) return m.clickButton(1);
            auto answer = answers.front();
            answers.pop_front();
            answer(m);
        });
        data.write("UpdateInfo.txt", "notes of 3.43");
    }
    void TearDown() override {
        Maintenance::ResetProgramUpdateForTests();
        modWinInet::Close_Session();  // its kept-alive connection to the fake goes first
        Maintenance::setUpdateExitForTests(nullptr);
        Messages::SetAnswerHookForTests(nullptr);
        Messages::UnloadShared();
        TLMainState::ResetForTests();
        TLMainState::MinuteWarningGiven = 0;
    }

    // The update of 3.44: a new program and its notes, whose checksum has a letter in it.
    static std::vector<File> update344() {
        std::string program;
        for (int i = 0; i < 5000; ++i) program += "new program " + std::to_string(i) + "\n";
        std::vector<File> files = {{"UPDATEEXE", program}, {"UpdateInfo.txt", "notes of 3.44"}};
        while (FakeUpdateServer::updateInfo(files).find_first_of("ABCDEF") >= 8) files[0].bytes += " ";
        return files;
    }
    static std::string phrase() { return modTLMain::Protected_Text(modTLMain::ProtectedText::UpdateInfoPhrase); }
    void publish(const std::vector<File>& files, std::string info = {}) {
        if (info.empty()) info = FakeUpdateServer::updateInfo(files);
        server.answer("M-", "3.44");
        server.publishUpdate("3.44", info, FakeUpdateServer::packageOf(files), phrase());
    }
    // The command, and the road to its end and its last report (the clock moves meanwhile).
    void runUpdate() {
        duty.MnuTitleUpdateFile_Click();
        toTheEnd();
    }
    void toTheEnd() {
        platform::timers().waitUntil(
            [] { return !Maintenance::Update_Road_Running() && modWinInet::Requests_In_Flight() == 0; }, 120000);
    }
    // Nothing of the update reached the data folder, the settings or the updater.
    void expectNothingTouched(const std::string& what) {
        EXPECT_FALSE(data.exists("UPDATEEXE")) << what;
        EXPECT_FALSE(data.exists("UPDATEEXE.staged")) << what;
        EXPECT_EQ(data.read("UpdateInfo.txt"), "notes of 3.43") << what;
        EXPECT_FALSE(data.exists("UpdateInfo.txt.previous")) << what;
        EXPECT_NE(modTLC::Get_Config_Value("Options", "UpdateStatus"), "1") << what;
        EXPECT_TRUE(launcher.started.empty()) << what;
        EXPECT_EQ(exits, 0) << what;
        EXPECT_EQ(TLMainState::DownloadBusy, 0) << what;
        EXPECT_FALSE(Maintenance::Update_Road_Running()) << what;
    }
    std::string lastQuery() const { return server.queries().empty() ? "" : server.queries().back(); }

    testsupport::TempDataFolder data;
    testsupport::FakeTime time;
    testsupport::RecordingStatusLine status;
    testsupport::ScriptedMessageBoxes boxes;
    testsupport::RecordingProgramLauncher launcher;
    FakeUpdateServer server;
    Maintenance::MaintenanceDuty duty;
    std::deque<std::function<void(Messages&)>> answers;
    std::vector<std::string> shown;
    int exits = 0;
};

TEST_F(ProgramUpdateTest, ANewerVersionIsPlacedAndTheUpdaterStartedWithAnEmptyTrail) {
    const auto files = update344();
    publish(files);
    duty.MnuTitleUpdateFile_Click();
    // The package comes with the progress window up and downloads held back.
    ASSERT_TRUE(platform::timers().waitUntil([] { return Messages::Shared() && Messages::ProgressText() == "100 %"; },
                                             60000));
    EXPECT_EQ(Messages::Shared()->messageText(), "  Downloading Update File");
    EXPECT_EQ(TLMainState::DownloadBusy, -1);
    toTheEnd();

    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "A Program Update is Available!\r\nDo you wish to update now?");
    EXPECT_EQ(shown[1].rfind("Note: At the completion of this update download this program will need to exit and "
                             "run the \r\nfile 'Renewlet' to update the files.",
                             0),
              0u);
    EXPECT_EQ(server.queries(), (std::vector<std::string>{"M-3.43", "UI-3.44", "UG-3.44"}));
    EXPECT_EQ(server.asked()[0].userAgent, "M-3.43");
    EXPECT_EQ(server.asked()[1].userAgent, modTLMain::kDefaultUserAgent);

    EXPECT_EQ(data.read("UPDATEEXE"), files[0].bytes);
    EXPECT_EQ(data.read("UpdateInfo.txt"), "notes of 3.44");
    EXPECT_EQ(data.read("UpdateInfo.txt.previous"), "notes of 3.43") << "kept until the outcome";
    EXPECT_FALSE(data.exists("UPDATEEXE.staged"));
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "UpdateStatus"), "1");
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "UpdateVersion"), "3.44");
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "UpdateError"), "");
    EXPECT_EQ(modTLC::ConfigDirty, 0) << "saved before the program ends";

    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].program, data.path("Renewlet"));
    EXPECT_EQ(launcher.started[0].arguments, std::vector<std::string>{""});
    EXPECT_EQ(launcher.started[0].workingFolder, modTLMain::DataFolder);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(TLMainState::DownloadBusy, 0);
    EXPECT_EQ(TLMainState::VersionOverride, 0);
    EXPECT_TRUE(boxes.shown().empty());
}

// The version answer decides: nothing to do, an error, or the offer (answered No here).
TEST_F(ProgramUpdateTest, TheVersionAnswerDecides) {
    struct C { const char* reply; const char* box; const char* status; bool offered; };
    const C cases[] = {
        {"3.43", nullptr, "No Update is Required......", false},
        {"3.4", nullptr, "No Update is Required......", false},
        {"3.44", nullptr, "", true},
        {"3.5", nullptr, "", true},
        {"9xyz", "Error Invalid Version Level....", "", false},
        {"3.431", "Error Invalid Version Level....", "", false},
        {"", "Error Retrieving Version Level....", "", false},
    };
    for (const C& c : cases) {
        SCOPED_TRACE(c.reply);
        shown.clear();
        boxes.clear();
        status.status.clear();
        server.answer("M-", c.reply);
        answers = {[](Messages& m) { m.clickButton(2); }};
        runUpdate();
        EXPECT_EQ(status.status, c.status);
        EXPECT_EQ(shown.size(), c.offered ? 1u : 0u);
        ASSERT_EQ(boxes.shown().size(), c.box ? 1u : 0u);
        if (c.box) {
            EXPECT_EQ(boxes.shown()[0].text, c.box);
            EXPECT_EQ(boxes.shown()[0].style, kCriticalStyle);
        }
        EXPECT_EQ(lastQuery(), "M-3.43") << "nothing downloaded";
        answers.clear();
    }
    // No server, or a plain http one: nothing is asked, and the user is told why in one message.
    const size_t asked = server.asked().size();
    struct NoServer { std::string address; const char* told; };
    const NoServer refused[] = {{"", UpdateServer::kNoServerText},
                                {"http" + server.address().substr(5), UpdateServer::kNotHttpsText}};
    for (const NoServer& c : refused) {
        SCOPED_TRACE(c.address);
        modTLC::Set_Config_Value("Options", UpdateServer::kServerKey, c.address);
        boxes.clear();
        runUpdate();
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, c.told);
        EXPECT_EQ(boxes.shown()[0].title, Maintenance::kCheckForUpdatesTitle);
        EXPECT_FALSE(Maintenance::Update_Road_Running());
    }
    EXPECT_EQ(server.asked().size(), asked);
}

// Only the first button of the offer and of the note goes on; closing either window is a no, and
// so is Enter pressed by reflex (the update ends the program without asking about armed bids).
// A version the daily check found is not asked again.
TEST_F(ProgramUpdateTest, TheOfferAndTheNoteGoOnOnlyByTheirFirstButton) {
    publish(update344());
    const auto close = [](Messages& m) { m.closeWindow(); };
    const auto yes = [](Messages& m) { m.clickButton(1); };
    const auto enter = [](Messages& m) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(&m, &key);
    };
    const std::deque<std::function<void(Messages&)>> scripts[] = {
        {close}, {yes, close}, {yes, [](Messages& m) { m.clickButton(2); }}, {enter}, {yes, enter}};
    for (const auto& script : scripts) {
        answers = script;
        runUpdate();
        EXPECT_EQ(lastQuery(), "M-3.43");
        expectNothingTouched("declined");
    }
    TLMainState::VersionOverride = 1;
    TLMainState::UpdateVersionReply = "3.44";
    const size_t asked = server.asked().size();
    runUpdate();
    EXPECT_EQ(server.queries()[asked], "UI-3.44") << "no version query";
    EXPECT_EQ(TLMainState::VersionOverride, 0);
    EXPECT_EQ(launcher.started.size(), 1u);
}

TEST_F(ProgramUpdateTest, ABusyProgramOrARunningRoadRefusesTheCommand) {
    publish(update344());
    TLMainState::DownloadBusy = -1;
    duty.MnuTitleUpdateFile_Click();
    EXPECT_EQ(status.status, "Busy, Download In Progress....");
    TLMainState::DownloadBusy = 0;
    TLMainState::UpdateBusy = -1;
    duty.MnuTitleUpdateFile_Click();
    EXPECT_EQ(status.status, "Busy, Download In Progress....");
    TLMainState::UpdateBusy = 0;
    EXPECT_FALSE(Maintenance::Update_Road_Running());
    EXPECT_TRUE(server.asked().empty());

    answers = {[this](Messages& m) {
        duty.MnuTitleUpdateFile_Click();  // a second click while the first road waits on its offer
        m.clickButton(2);
    }};
    status.status.clear();
    runUpdate();
    EXPECT_EQ(status.status, "Busy, Download In Progress....");
    EXPECT_EQ(server.queries(), std::vector<std::string>{"M-3.43"});
}

// A package that does not inflate to the announced size (damaged, or larger) is fetched again as
// it is: trail "Z", which the updater gets.
TEST_F(ProgramUpdateTest, APackageThatDoesNotInflateToItsSizeIsFetchedPlain) {
    const auto files = update344();
    const std::string package = FakeUpdateServer::packageOf(files);
    const std::string gzipped = testsupport::gzipBytes(package);
    const std::string bodies[] = {gzipped.substr(0, gzipped.size() / 2), "not gzip at all",
                                  testsupport::gzipBytes(package + "and more")};
    for (const std::string& body : bodies) {
        launcher.started.clear();
        exits = 0;
        data.write("UpdateInfo.txt", "notes of 3.43");
        publish(files);
        server.answer("UG-3.44", body);
        runUpdate();
        EXPECT_EQ(lastQuery(), "UU-3.44");
        EXPECT_EQ(data.read("UPDATEEXE"), files[0].bytes);
        EXPECT_EQ(modTLC::Get_Config_Value("Options", "UpdateError"), "Z");
        ASSERT_EQ(launcher.started.size(), 1u);
        EXPECT_EQ(launcher.started[0].arguments, std::vector<std::string>{"Z"});
        EXPECT_EQ(exits, 1);
    }
}

// The checks after the download: a failure is reported to the server and told, and nothing is
// written.
TEST_F(ProgramUpdateTest, ASizeOrChecksumFailureTouchesNothing) {
    const auto files = update344();
    std::string lowerCase = FakeUpdateServer::updateInfo(files);
    for (size_t i = 0; i < 8; ++i) lowerCase[i] = static_cast<char>(std::tolower(lowerCase[i]));
    struct C { const char* what; std::function<void()> serve; const char* box; const char* trail; };
    const C cases[] = {
        {"checksum in lower case", [&] { publish(files, lowerCase); }, "Update File Error! CRC Error!", "C"},
        {"one byte changed",
         [&] {
             publish(files);
             std::string bad = FakeUpdateServer::packageOf(files);
             bad[100] ^= 1;
             server.answer("UG-3.44", testsupport::gzipBytes(bad));
         },
         "Update File Error! CRC Error!", "C"},
        {"both packages short",
         [&] {
             publish(files);
             server.answer("UG-3.44", "damaged");
             server.answer("UU-3.44", FakeUpdateServer::packageOf(files).substr(1));
         },
         "Update File Error! Size Error!", "ZS"},
        {"no package at all",
         [&] {
             publish(files);
             server.answer("UG-3.44", "");
             server.answer("UU-3.44", "");
         },
         "Update File Error! Size Error!", "ZS"},
    };
    for (const C& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        c.serve();
        runUpdate();
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, c.box);
        EXPECT_EQ(boxes.shown()[0].title, "Update Error");
        EXPECT_EQ(boxes.shown()[0].style, kCriticalStyle);
        EXPECT_EQ(lastQuery(), "UF-" + std::string(c.trail) + "-3.43-Debian GNU/Linux 12 (bookworm)");
        EXPECT_EQ(server.asked().back().userAgent, "UF-" + std::string(c.trail) + "-3.43-Debian+GNU/Linux+12+(bookworm)");
        expectNothingTouched(c.what);
    }
}

// Information that does not read fails the road as a size error before anything is written.
TEST_F(ProgramUpdateTest, UpdateInformationThatDoesNotReadIsRefused) {
    const auto files = update344();
    const std::string good = FakeUpdateServer::updateInfo(files);
    auto withName = [&](const std::string& name) {
        std::vector<File> f = files;
        f[1].name = name;
        return FakeUpdateServer::updateInfo(f);
    };
    Maintenance::UpdateInfo info;
    ASSERT_TRUE(Maintenance::Read_Update_Info(good, info));
    // Line breaks after the files end the information as one does.
    ASSERT_TRUE(Maintenance::Read_Update_Info(good + "\r\n\r\n\r\n", info));
    EXPECT_EQ(info.files.size(), 2u);
    EXPECT_EQ(info.files[1].name, "UpdateInfo.txt");
    struct C { const char* what; std::string text; };
    const C cases[] = {
        {"a path out of the folder", withName("../UpdateInfo.txt")},
        {"an absolute path", withName("/tmp/UpdateInfo.txt")},
        {"a file no update writes", withName("Renewlet")},
        {"the same file twice", withName("UPDATEEXE")},
        {"no new program", FakeUpdateServer::updateInfo({files[1]})},
        {"sizes that do not add up",
         good.substr(0, 10) + std::to_string(files[0].bytes.size() + files[1].bytes.size() + 1) +
             good.substr(good.find("\r\n", 10))},
        {"a count beyond its lines", good.substr(0, good.rfind("UpdateInfo.txt"))},
        {"no checksum", good.substr(10)},
        {"empty", ""},
        {"line breaks only", std::string(4096, '\n')},
        {"a line after the files", good + "\r\nUPDATEEXE\r\n"},
        {"a lone carriage return after the files", good + "\r\n\r"},
    };
    for (const C& c : cases) EXPECT_FALSE(Maintenance::Read_Update_Info(c.text, info)) << c.what;

    for (const std::string& text : {withName("../UpdateInfo.txt"), std::string("not enciphered with the phrase")}) {
        boxes.clear();
        publish(files, text);
        if (text.rfind("not", 0) == 0) server.answer("UI-3.44", text);
        runUpdate();
        ASSERT_EQ(boxes.shown().size(), 1u) << text;
        EXPECT_EQ(boxes.shown()[0].text, "Update File Error! Size Error!");
        EXPECT_EQ(lastQuery().rfind("UF-S-3.43-", 0), 0u);
        EXPECT_FALSE(data.exists("../UpdateInfo.txt"));
        expectNothingTouched(text);
    }

    boxes.clear();
    server.answer("UI-3.44", "");
    runUpdate();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Error Retrieving Update Information....");
    EXPECT_EQ(lastQuery(), "UI-3.44");
    expectNothingTouched("no information");
}

// The updater ends the program: it is not started while a bid is near.
TEST_F(ProgramUpdateTest, TheUpdaterWaitsWhileABidIsNear) {
    publish(update344());
    TLMainState::MinuteWarningGiven = -1;
    duty.MnuTitleUpdateFile_Click();
    platform::timers().waitUntil([] { return false; }, 30000);  // the downloads and checks, and a wait
    EXPECT_EQ(server.queries().back(), "UG-3.44");
    EXPECT_EQ(TLMainState::DownloadBusy, 0) << "the result updates are not held up meanwhile";
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_FALSE(data.exists("UPDATEEXE"));
    EXPECT_TRUE(Maintenance::Update_Road_Running());
    TLMainState::MinuteWarningGiven = 0;
    time.advanceMs(5000);
    EXPECT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(exits, 1);
}

// An updater that does not start: the files placed go, the replaced ones come back, the server
// hears "P" and the user is told.
TEST_F(ProgramUpdateTest, AnUpdaterThatDoesNotStartLeavesTheProgramAsItWas) {
    publish(update344());
    launcher.startSucceeds = false;
    runUpdate();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Update Error! Renewlet failed to execute.");
    EXPECT_EQ(boxes.shown()[0].style, 0);
    EXPECT_EQ(lastQuery().rfind("UF-P-3.43-", 0), 0u);
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "UpdateStatus"), "0");
    launcher.started.clear();
    expectNothingTouched("no updater");
}

// The outcome at the next start: kept copies go when the update took, come back when it did not.
TEST_F(ProgramUpdateTest, TheOutcomeSettlesThePlacedFiles) {
    for (bool took : {true, false}) {
        data.write("UpdateInfo.txt", "notes of 3.44");
        data.write("UpdateInfo.txt.previous", "notes of 3.43");
        data.write("UPDATEEXE", "new program");
        modTLC::Set_Config_Value("Options", UpdateServer::kPlacedFilesKey, "UPDATEEXE/UpdateInfo.txt");
        UpdateServer::Settle_Recorded_Files(took);
        EXPECT_EQ(data.read("UpdateInfo.txt"), took ? "notes of 3.44" : "notes of 3.43") << took;
        EXPECT_FALSE(data.exists("UpdateInfo.txt.previous")) << took;
        EXPECT_EQ(data.exists("UPDATEEXE"), took) << "the first tick deletes it in any case";
        EXPECT_EQ(modTLC::Get_Config_Value("Options", UpdateServer::kPlacedFilesKey), "");
    }
}

}  // namespace
