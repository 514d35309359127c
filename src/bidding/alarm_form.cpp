#include "bidding/alarm_form.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "foundation/config_store.h"
#include "foundation/small_routines.h"
#include "foundation/vb.h"
#include "platform/message_box.h"

namespace {

constexpr int kBidCountBit = 1;
constexpr int kHighBidBit = 2;
constexpr int kAlarmOnBit = 4;

// The stored number as a 16-bit integer; 0 when it does not read as one.
int16_t storedValue() {
    const std::string text = vb::Trim(modTLC::Get_Config_Value("Options", "AlarmValues", "0"));
    if (!vb::IsNumeric(text)) return 0;
    const double v = vb::CDbl(text);
    if (!(v >= -32768.5 && v < 32767.5)) return 0;
    return static_cast<int16_t>(vb::CInt(v));
}

}  // namespace

Alarm::Alarm(QWidget* parent) : QDialog(parent) {
    setObjectName("Alarm");
    setModal(true);

    fraAlarm = new QGroupBox("End of Auction Alarm", this);
    chkAlarmOn = new QCheckBox(fraAlarm);
    txtTime = new QLineEdit(fraAlarm);
    txtTime->setFixedWidth(40);
    auto* alarmRow = new QHBoxLayout(fraAlarm);
    alarmRow->addWidget(chkAlarmOn);
    alarmRow->addWidget(new QLabel("Alert", fraAlarm));
    alarmRow->addWidget(txtTime);
    alarmRow->addWidget(new QLabel("minutes before end", fraAlarm));
    alarmRow->addStretch(1);

    fraChange = new QGroupBox("Alert On Change", this);
    chkHighBidAmt = new QCheckBox("High Bid Amount", fraChange);
    chkBidCnt = new QCheckBox("Bid Count", fraChange);
    auto* changeRow = new QHBoxLayout(fraChange);
    changeRow->addWidget(chkHighBidAmt);
    changeRow->addWidget(chkBidCnt);
    changeRow->addStretch(1);

    Exit = new QPushButton("Exit", this);
    connect(Exit, &QPushButton::clicked, this, [this] { Exit_Click(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraAlarm);
    layout->addWidget(fraChange);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(Exit);
    layout->addLayout(buttons);

    Form_Load();
}

void Alarm::Show_Alarm_Dialog(QWidget* parent) {
    Alarm dialog(parent);
    dialog.exec();
}

int16_t Alarm::Alarm_Value(double minutes, bool bidCount, bool highBidAmount, bool alarmOn) {
    int v = vb::CInt(minutes) * 256;
    if (bidCount) v += kBidCountBit;
    if (highBidAmount) v += kHighBidBit;
    if (alarmOn) v += kAlarmOnBit;
    return static_cast<int16_t>(v);
}

void Alarm::Form_Load() {
    setWindowTitle(QString::fromUtf8(platform::kProgramTitle) + " Alarm Settings");
    adjustSize();
    modTLMain::Place_Over_Main_Window(this);
    // A stored value that does not read shows 5 minutes and no switches.
    const int16_t v = storedValue();
    const int minutes = static_cast<int16_t>(v & 0xFF00) / 256;
    txtTime->setText(v != 0 ? QString::number(minutes) : QStringLiteral("5"));
    chkBidCnt->setChecked((v & kBidCountBit) != 0);
    chkHighBidAmt->setChecked((v & kHighBidBit) != 0);
    chkAlarmOn->setChecked((v & kAlarmOnBit) != 0);
}

void Alarm::Form_Activate() { modTLMain::Set_Window_Topmost(this, -1); }

void Alarm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    Form_Activate();
}

void Alarm::Exit_Click() {
    const std::string text = vb::Trim(txtTime->text().toStdString());
    const double minutes = vb::IsNumeric(text) ? vb::CDbl(text) : 0;
    if (text.empty() || !vb::IsNumeric(text) || minutes < 5 || minutes > 60) {
        platform::MsgBox("Invalid Alarm Time! Enter 5-60 Minutes", platform::vbSystemModal);
        return;
    }
    const int16_t v = Alarm_Value(minutes, chkBidCnt->isChecked(), chkHighBidAmt->isChecked(), chkAlarmOn->isChecked());
    modTLC::Set_Config_Value("Options", "AlarmValues", static_cast<long>(v));
    accept();
}
