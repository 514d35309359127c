#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QPointer>

#include "fake_clock.h"
#include "foundation/main_window_link.h"
#include "foundation/message_dialog.h"
#include "foundation/startup.h"
#include "foundation/window_process.h"
#include "platform/process.h"
#include "platform/timers.h"
#include "platform/window_routines.h"
#include "temp_data_folder.h"

using testsupport::FakeTime;
using testsupport::TempDataFolder;

namespace {

struct ProcessEnded {
    int code;
};

class WindowProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        TLMainState::ResetForTests();
        platform::setExitHookForTests([](int code) { throw ProcessEnded{code}; });
    }
    void TearDown() override {
        platform::setExitHookForTests({});
        Messages::SetAnswerHookForTests({});
        TLMainState::ResetForTests();
        modTLMain::SetSplashLogoProvider({});
    }
};

class Form final : public QWidget {
public:
    explicit Form(const char* name) { setObjectName(name); }
    int unloads = 0;
    bool forceExitSeen = false;

protected:
    void closeEvent(QCloseEvent* e) override {
        ++unloads;
        forceExitSeen = TLMainState::ForceExit;
        e->accept();
    }
};

TEST_F(WindowProcessTest, ExitProgramUnloadsEveryFormAndEndsTheProcess) {
    Form main("TLMain"), options("Options");
    main.show();
    bool ranOn = false;
    try {
        modTLMain::Exit_Program();
        ranOn = true;
    } catch (const ProcessEnded& e) {
        EXPECT_EQ(e.code, 0);
    }
    EXPECT_FALSE(ranOn);
    EXPECT_TRUE(TLMainState::ForceExit);
    EXPECT_EQ(main.unloads, 1);
    EXPECT_TRUE(main.forceExitSeen);  // the close handler skips its pending-bids question
    EXPECT_EQ(options.unloads, 1);
}

TEST_F(WindowProcessTest, ExitProgramEndsTheProcessInsideAWaitingMessage) {
    FakeTime time;
    time.timers.setRealSliceMs(0);
    QPointer<Messages> dialog;
    Messages::SetAnswerHookForTests([&](Messages& m) { dialog = &m; });  // nobody answers
    platform::Timer downloadDone([] { modTLMain::Exit_Program(); });
    downloadDone.setInterval(1000);
    downloadDone.setEnabled(true);
    std::string result = "returned";
    Messages::Args a;
    a.Text = "Waiting";
    a.Btn1Caption = "OK";
    EXPECT_THROW(result = Messages::DisplayMsg(a), ProcessEnded);
    EXPECT_EQ(result, "returned");  // the call never came back
    EXPECT_TRUE(dialog.isNull());
    EXPECT_TRUE(TLMainState::ForceExit);
}

TEST_F(WindowProcessTest, TaskbarButtonOnlyForMinusOne) {
    QWidget w;
    modTLMain::Set_Taskbar_Button(-1, &w);
    EXPECT_TRUE(platform::hasTaskbarButton(&w));
    EXPECT_TRUE(w.isVisible());
    modTLMain::Set_Taskbar_Button(1, &w);  // not True: taken away
    EXPECT_FALSE(platform::hasTaskbarButton(&w));
    EXPECT_TRUE(w.isVisible());
    w.hide();
    modTLMain::Set_Taskbar_Button(-1, &w);
    EXPECT_TRUE(platform::hasTaskbarButton(&w));
    EXPECT_TRUE(w.isVisible());  // shown afterwards even when hidden before
}

TEST_F(WindowProcessTest, ClickAtClicksTenPixelsInsideThePosition) {
    EXPECT_EQ(modTLMain::Click_Pixel(1500), 110);
    EXPECT_EQ(modTLMain::Click_Pixel(0), 10);
    QPushButton button("Bid");
    button.setWindowFlag(Qt::FramelessWindowHint);
    button.setGeometry(105, 105, 40, 20);
    button.show();
    QCoreApplication::processEvents();
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    modTLMain::Click_At(1500, 1500);
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 1);
}

TEST_F(WindowProcessTest, LoadSplashPictureKeepsTheDesignPictureWhenTheFileIsMissing) {
    TempDataFolder data;
    modTLMain::DataFolder = data.dataFolder();
    QLabel logo;
    QPixmap design(3, 3);
    design.fill(Qt::red);
    logo.setPixmap(design);
    modTLMain::SetSplashLogoProvider([&] { return &logo; });
    modTLMain::Load_Splash_Picture();
    EXPECT_EQ(logo.pixmap().size(), QSize(3, 3));

    // A 1 x 1 GIF.
    const unsigned char gif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0xff,
                                 0xff, 0xff, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00, 0x2c,
                                 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00,
                                 0x3b};
    QDir().mkpath(QString::fromStdString(data.path("Help")));
    data.write("Help/tl2splash.gif", std::string(reinterpret_cast<const char*>(gif), sizeof gif));
    modTLMain::Load_Splash_Picture();
    EXPECT_EQ(logo.pixmap().size(), QSize(1, 1));
    modTLMain::ResetStartupForTests();
}

}  // namespace
