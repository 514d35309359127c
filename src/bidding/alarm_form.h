// alarm_form.h — the item alarm dialog (form Alarm): the default end-of-auction alarm that the
// grid copies into an item when the user switches the item's alarm on.
//
// The settings are one number, Options "AlarmValues": minutes before the end (5 to 60) × 256,
// plus 1 to alert when the bid count changes, 2 when the high bid amount changes and 4 for the
// end-of-auction alarm itself; 5 minutes with only the alarm on is 1284. Exit checks and saves
// and closes; the window's close box saves nothing. Items whose alarm was switched on earlier
// keep their own copy.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class Alarm final : public QDialog {
public:
    explicit Alarm(QWidget* parent = nullptr);

    // Opens the dialog modally (the grid's command) and returns when it closes.
    static void Show_Alarm_Dialog(QWidget* parent = nullptr);

    // The number for the given minutes (rounded to whole minutes) and switches.
    static int16_t Alarm_Value(double minutes, bool bidCount, bool highBidAmount, bool alarmOn);

    // Event procedures.
    void Form_Load();
    void Form_Activate();
    void Exit_Click();

    QGroupBox* fraAlarm = nullptr;   // "End of Auction Alarm"
    QLineEdit* txtTime = nullptr;
    QCheckBox* chkAlarmOn = nullptr;
    QGroupBox* fraChange = nullptr;  // "Alert On Change"
    QCheckBox* chkHighBidAmt = nullptr;
    QCheckBox* chkBidCnt = nullptr;
    QPushButton* Exit = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
};
