// The splash window: the unseen hand-off at start-up, the About box with its fades, and the
// service input of the About command.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QStringList>

#include "fake_clock.h"
#include "foundation/cipher.h"
#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/protected_texts.h"
#include "foundation/startup.h"
#include "mainwindow/splash.h"
#include "platform/timers.h"
#include "recording_main_window.h"
#include "scripted_input_boxes.h"
#include "temp_data_folder.h"

using namespace testsupport;

namespace {

Splash* openSplash() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* s = qobject_cast<Splash*>(w); s && s->isVisible()) return s;
    return nullptr;
}

void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

class SplashWindow : public ::testing::Test {
protected:
    void SetUp() override {
        modAHM::SetProviderAvailableForTests(true);
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        modDebug::ResetForTests();
        TLMainAbout::AboutMode = false;
        modTLMain::DataFolder = data.dataFolder();
    }
    void TearDown() override {
        if (Splash* s = openSplash()) s->ExitSplash();
        flushDeletes();
        modAHM::SetProviderAvailableForTests(true);
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        modDebug::ResetForTests();
        TLMainAbout::AboutMode = false;
    }
    // A splash for start-up that records which window it hands over to.
    Splash* startupSplash() {
        return new Splash(Splash::Next{
            [this] { handedTo.push_back("NewSetup"); },
            [this] { handedTo.push_back("unload NewSetup"); },
            [this] { handedTo.push_back("TLMain"); },
        });
    }

    TempDataFolder data;
    FakeTime time;
    RecordingWindow mainWindow;
    ScriptedInputBoxes input;
    std::vector<std::string> handedTo;
};

TEST_F(SplashWindow, AtStartUpItClosesUnseenAndHandsOver) {
    struct C { bool newInstall; std::vector<std::string> handedTo; };
    const C cases[] = {
        {false, {"unload NewSetup", "TLMain"}},
        {true, {"NewSetup"}},
    };
    for (const C& c : cases) {
        handedTo.clear();
        modTLMain::NewInstall = c.newInstall;
        QPointer<Splash> s = startupSplash();
        s->Form_Load();
        EXPECT_FALSE(s->isVisible());
        time.advanceMs(9);
        EXPECT_TRUE(handedTo.empty()) << "not before 10 ms";
        time.advanceMs(1);
        EXPECT_EQ(handedTo, c.handedTo);
        EXPECT_FALSE(modTLMain::NewInstall);
        flushDeletes();
        EXPECT_TRUE(s.isNull()) << "unloaded";
    }
}

// The About box fades in over the hidden main window and stays until it is clicked; a click while
// it fades in does nothing; the click after fades it out and brings the main window back.
TEST_F(SplashWindow, TheAboutBoxFadesInStaysAndFadesOutOnAClick) {
    platform::Timer earlyClick([] {
        if (Splash* s = openSplash()) s->ExitSplash();
    });
    earlyClick.setInterval(100);
    earlyClick.setEnabled(true);

    TLMainAbout::MnuSubAbout_Click(0);
    earlyClick.setEnabled(false);
    EXPECT_EQ(mainWindow.shows, std::vector<bool>{false});
    Splash* s = openSplash();
    ASSERT_NE(s, nullptr) << "the early click did not close it";
    EXPECT_TRUE(TLMainAbout::AboutMode);
    EXPECT_TRUE(s->FadeDone);
    EXPECT_NEAR(s->windowOpacity(), 252 / 255.0, 0.01);
    EXPECT_EQ(s->labVer->text(), "Version 3.43");
    EXPECT_EQ(s->labCopyright->text().toStdString(), TLMainAbout::Copyright_Text());
    EXPECT_NE(s->labCopyright->text().indexOf("2026"), -1) << "the range ends with this year";
    EXPECT_TRUE(s->labRT->text().isEmpty());
    // Above the version: the program's picture and its name.
    EXPECT_FALSE(s->Image1->pixmap().isNull());
    QStringList shown;
    for (QLabel* l : s->findChildren<QLabel*>())
        if (l->isVisible()) shown << l->text();
    EXPECT_TRUE(shown.contains("Tolvane Rerode II")) << shown.join(" | ").toStdString();

    time.advanceMs(60000);
    EXPECT_NE(openSplash(), nullptr) << "no timer closes the box";

    QPointer<Splash> box = s;
    QMouseEvent click(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(s->labVer, &click);  // a click on a label reaches the window
    EXPECT_EQ(mainWindow.shows, (std::vector<bool>{false, true}));
    EXPECT_FALSE(TLMainAbout::AboutMode);
    flushDeletes();
    EXPECT_TRUE(box.isNull());
}

TEST_F(SplashWindow, AKeyClosesTheAboutBoxAndItShowsTheLogoWhenThereIsOne) {
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    data.write("Help/tl2splash.gif", bytes.toStdString());

    TLMainAbout::MnuSubAbout_Click(2);  // Ctrl alone: the box, no service input
    EXPECT_TRUE(input.asked().empty());
    Splash* s = openSplash();
    ASSERT_NE(s, nullptr);
    EXPECT_FALSE(s->TLIILogo->pixmap().isNull());

    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QCoreApplication::sendEvent(s, &key);
    EXPECT_EQ(openSplash(), nullptr);
    EXPECT_EQ(mainWindow.shows, (std::vector<bool>{false, true}));
}

// With Shift and Ctrl held the command first asks for a service code, compared in upper case.
TEST_F(SplashWindow, TheServiceInputTakesItsCodesOrFallsThroughToTheAboutBox) {
    const std::string debugCode = modTLMain::Protected_Text(modTLMain::ProtectedText::DebugAccess);
    const std::string timeOutCode = modTLMain::Protected_Text(modTLMain::ProtectedText::TimeOutCode);
    ASSERT_FALSE(debugCode.empty());
    ASSERT_EQ(timeOutCode.size(), 15u);
    struct C { std::string answer; bool debug; const char* timeOut; bool box; };
    const C cases[] = {
        {debugCode + "43", true, "", false},
        {QString::fromStdString(debugCode + "43").toLower().toStdString(), true, "", false},
        {debugCode + "42", false, "", true},          // another version's code
        {timeOutCode + "12", false, "12", false},
        {timeOutCode + "05", false, "5", false},
        {timeOutCode + "30", false, "30", false},
        {timeOutCode + "04", false, "", true},        // outside 5 to 30: nothing stored
        {timeOutCode + "31", false, "", true},
        {timeOutCode + "xy", false, "", true},
        {"", false, "", true},                        // cancelled
        {"hello", false, "", true},
    };
    for (const C& c : cases) {
        modDebug::ResetForTests();
        modTLC::Delete_Config_Key("Options", "TimeOut");
        mainWindow.shows.clear();
        input.answer(c.answer);
        TLMainAbout::MnuSubAbout_Click(3);
        ASSERT_FALSE(input.asked().empty());
        EXPECT_EQ(input.asked().back().prompt, "");
        EXPECT_EQ(input.asked().back().title, ":)");
        EXPECT_EQ(modDebug::DebugOutput, c.debug) << c.answer;
        EXPECT_EQ(modTLC::Get_Config_Value("Options", "TimeOut"), c.timeOut) << c.answer;
        Splash* s = openSplash();
        EXPECT_EQ(s != nullptr, c.box) << c.answer;
        if (s) s->ExitSplash();
        flushDeletes();
    }
}

// Without the cipher the codes cannot be built: every answer opens the About box.
TEST_F(SplashWindow, WithoutTheCipherNoCodeMatches) {
    modAHM::SetProviderAvailableForTests(false);
    EXPECT_EQ(modTLMain::Protected_Text(modTLMain::ProtectedText::DebugAccess), "");
    input.answer("");
    TLMainAbout::MnuSubAbout_Click(3);
    EXPECT_NE(openSplash(), nullptr);
    EXPECT_FALSE(modDebug::DebugOutput);
}

}  // namespace
