// The item alarm dialog: what it shows for a stored number, what it stores, what it refuses.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "bidding/alarm_form.h"
#include "foundation/config_store.h"
#include "scripted_boxes.h"

namespace {

class AlarmFormTest : public ::testing::Test {
protected:
    void SetUp() override { modTLC::ResetForTests(); }
    void TearDown() override { modTLC::ResetForTests(); }
    testsupport::ScriptedMessageBoxes boxes;
};

TEST_F(AlarmFormTest, LoadingShowsTheStoredMinutesAndSwitches) {
    struct Case {
        const char* stored;  // nullptr: no key
        const char* minutes;
        bool bidCount, highBid, alarmOn;
    } cases[] = {
        {nullptr, "5", false, false, false},
        {"0", "5", false, false, false},
        {"1284", "5", false, false, true},
        {"2567", "10", true, true, true},
        {"15361", "60", true, false, false},
        {"abc", "5", false, false, false},
        {"99999", "5", false, false, false},  // not a 16-bit number
    };
    for (const auto& c : cases) {
        modTLC::ResetForTests();
        if (c.stored) modTLC::Set_Config_Value("Options", "AlarmValues", c.stored);
        Alarm dialog;
        const std::string at = c.stored ? c.stored : "(none)";
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Tolvane Rerode II Alarm Settings");
        EXPECT_EQ(dialog.txtTime->text().toStdString(), c.minutes) << at;
        EXPECT_EQ(dialog.chkBidCnt->isChecked(), c.bidCount) << at;
        EXPECT_EQ(dialog.chkHighBidAmt->isChecked(), c.highBid) << at;
        EXPECT_EQ(dialog.chkAlarmOn->isChecked(), c.alarmOn) << at;
    }
}

TEST_F(AlarmFormTest, ExitStoresMinutesTimes256PlusTheSwitchesOrRefusesTheMinutes) {
    struct Case {
        const char* minutes;
        bool bidCount, highBid, alarmOn;
        const char* stored;  // nullptr: refused, nothing stored, the dialog stays open
    } cases[] = {
        {"10", true, true, true, "2567"},
        {"5", false, false, true, "1284"},
        {"60", false, true, false, "15362"},
        {" 7 ", false, false, false, "1792"},
        {"5.4", true, false, false, "1281"},  // whole minutes
        {"4", false, false, true, nullptr},
        {"61", false, false, true, nullptr},
        {"60.4", false, false, true, nullptr},
        {"", false, false, true, nullptr},
        {"ten", false, false, true, nullptr},
    };
    for (const auto& c : cases) {
        modTLC::ResetForTests();
        boxes.clear();
        Alarm dialog;
        dialog.show();
        dialog.txtTime->setText(c.minutes);
        dialog.chkBidCnt->setChecked(c.bidCount);
        dialog.chkHighBidAmt->setChecked(c.highBid);
        dialog.chkAlarmOn->setChecked(c.alarmOn);
        dialog.Exit->click();
        if (c.stored) {
            EXPECT_EQ(modTLC::Get_Config_Value("Options", "AlarmValues", "none"), c.stored) << c.minutes;
            EXPECT_TRUE(boxes.shown().empty()) << c.minutes;
            EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.minutes;
            EXPECT_FALSE(dialog.isVisible()) << c.minutes;
        } else {
            EXPECT_EQ(modTLC::Get_Config_Value("Options", "AlarmValues", "none"), "none") << c.minutes;
            ASSERT_EQ(boxes.shown().size(), 1u) << c.minutes;
            EXPECT_EQ(boxes.shown()[0].text, "Invalid Alarm Time! Enter 5-60 Minutes");
            EXPECT_EQ(boxes.shown()[0].style, 4096);
            EXPECT_TRUE(dialog.isVisible()) << c.minutes;
        }
    }
}

TEST_F(AlarmFormTest, TheCloseBoxSavesNothing) {
    modTLC::Set_Config_Value("Options", "AlarmValues", "1284");
    Alarm dialog;
    dialog.show();
    dialog.txtTime->setText("30");
    dialog.chkBidCnt->setChecked(true);
    dialog.close();
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "AlarmValues"), "1284");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace
