// The options dialog's Connections page: the connection type and its layout, the dial-up boxes,
// the phone-book list and the connection-test panel. The boxes' checks, the phone-book choice,
// the test and the macro recording belong to the dial-up service.
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputMethod>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

#include "bidding/dial_state.h"
#include "foundation/vb.h"
#include "mainwindow/tl_main_state.h"
#include "platform/message_box.h"
#include "foundation/config_store.h"
#include "foundation/options_state.h"
#include "options/setup_form.h"
#include "options/setup_links.h"
#include "service/national_sites.h"

void Setup::buildConnectionsPage(QWidget* page) {
    auto* pageLayout = new QVBoxLayout(page);
    TabFrame2 = new QWidget(page);
    pageLayout->addWidget(TabFrame2);
    auto* layout = new QVBoxLayout(TabFrame2);

    auto* types = new QGroupBox("Connection Type", TabFrame2);
    auto* typesLayout = new QVBoxLayout(types);
    // The window is created with "DSL or Cable High Speed Connection" chosen.
    ADTypeGroup = optionGroup(ADType.data(),
                              {"Use Internet Explorer Default Connection", "Use Selected Dial-up Connection",
                               "DSL or Cable High Speed Connection", "Macro Dialer"},
                              types, typesLayout, 0, 2, [this](int i) { ADType_Click(i); });
    layout->addWidget(types);

    auto* boxes = new QGridLayout;
    const char* labels[8] = {"Dial", "minutes before auction ends", "Hangup", "minute(s) after auction ends",
                             "Wait", "seconds between dial attempts", "Try",  "times to connect"};
    for (int i = 0; i < 8; ++i) Tab2[static_cast<size_t>(i)] = new QLabel(labels[i], TabFrame2);
    ConnectTimeBox = new QLineEdit(TabFrame2);
    HangupTimeBox = new QLineEdit(TabFrame2);
    RetryTimeBox = new QLineEdit(TabFrame2);
    MaxAttemptsBox = new QLineEdit(TabFrame2);
    QLineEdit* rows[4] = {ConnectTimeBox, HangupTimeBox, RetryTimeBox, MaxAttemptsBox};
    for (int r = 0; r < 4; ++r) {
        rows[r]->setMaximumWidth(50);
        boxes->addWidget(Tab2[static_cast<size_t>(2 * r)], r, 0);
        boxes->addWidget(rows[r], r, 1);
        boxes->addWidget(Tab2[static_cast<size_t>(2 * r + 1)], r, 2);
    }
    layout->addLayout(boxes);

    RecInfoLab = new QLabel("Dial-up Connections", TabFrame2);
    RecInfoLab->setWordWrap(true);
    layout->addWidget(RecInfoLab);
    DUNConn = new QComboBox(TabFrame2);
    layout->addWidget(DUNConn);
    auto* buttons = new QHBoxLayout;
    Play = new QPushButton("Test", TabFrame2);
    RecordCmd = new QPushButton("Record", TabFrame2);
    buttons->addWidget(Play);
    buttons->addWidget(RecordCmd);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addStretch(1);

    TestFrame = new QGroupBox("Connection Test Mode", page);
    auto* testLayout = new QVBoxLayout(TestFrame);
    txtTestResults = new QPlainTextEdit(TestFrame);
    txtTestResults->setReadOnly(true);
    cmdExitTest = new QPushButton("Exit Test Mode", TestFrame);
    testLayout->addWidget(txtTestResults);
    testLayout->addWidget(cmdExitTest);
    pageLayout->addWidget(TestFrame);
    TestFrame->hide();

    Set_Connection_Type_Layout(2);

    connect(cmdExitTest, &QPushButton::clicked, this, [this] { cmdExitTest_Click(); });
    connect(Play, &QPushButton::clicked, this, [this] { Play_Click(); });
    connect(RecordCmd, &QPushButton::clicked, this, [this] { RecordCmd_Click(); });
    connect(DUNConn, &QComboBox::activated, this, [this](int) { DUNConn_Click(); });
    for (QLineEdit* box : rows) box->installEventFilter(this);
}

// The page's controls for a connection type: which are enabled, the buttons' captions, the
// information text and whether the phone-book list shows.
void Setup::Set_Connection_Type_Layout(int type) {
    const bool dialing = type != 2;
    const bool phoneBook = type == 1;
    for (int i = 0; i < 4; ++i) Tab2[static_cast<size_t>(i)]->setEnabled(dialing);
    for (int i = 4; i < 8; ++i) Tab2[static_cast<size_t>(i)]->setEnabled(phoneBook);
    ConnectTimeBox->setEnabled(dialing);
    HangupTimeBox->setEnabled(dialing);
    RetryTimeBox->setEnabled(phoneBook);
    MaxAttemptsBox->setEnabled(phoneBook);
    Play->setEnabled(dialing);
    RecordCmd->setEnabled(type == 1 || type == 3);
    switch (type) {
        case 0:
            Play->setText("Test");
            RecordCmd->setText("Default");
            RecInfoLab->setText(QString::fromStdString(DialInfoIE));
            break;
        case 1:
            Play->setText("Test");
            RecordCmd->setText("Default");
            RecInfoLab->setText(QString::fromStdString(DialInfoList));
            break;
        case 3:
            Play->setText("Playback");
            RecordCmd->setText("Record");
            RecInfoLab->setText(QString::fromStdString(DialInfoMacro));
            break;
        default:  // the captions stay as they were
            RecInfoLab->setText(QString::fromStdString(DialInfoNone));
            break;
    }
    RecInfoLab->setAlignment(type == 3 ? Qt::AlignLeft : Qt::AlignHCenter);
    DUNConn->setVisible(phoneBook);
}

void Setup::ADType_Click(int index) {
    for (int i = 0; i < 4; ++i) {
        if (ADType[static_cast<size_t>(i)]->isChecked()) {
            Set_Connection_Type_Layout(i);
            break;
        }
    }
    modTLC::Set_Config_Value("Options", "AutoDialType", std::to_string(index));
    modRAS::DialType = static_cast<int16_t>(index);
    // The main window's Connect and Hangup follow the type at once.
    SetupLinks::setupLink<SetupLinks::MainWindowView>().enableDialCommands(index != 2);
}

void Setup::cmdExitTest_Click() {
    DialTestRunning = 0;
    TestFrame->hide();
    TabFrame2->show();
}

// Load steps 4 to 7.
void Setup::loadConnections() {
    DialInfoMacro = "To record a macro click the \"Record\" button to start the macro recording. When finished, "
                    "press the \"Escape\" key to end the macro recording.";
    DialInfoList = "Available Dial-Up Connections";
    DialInfoNone = "Dial-Up Services are Not Used";
    DialInfoIE = "Using Internet Explorer Default Settings\r\nSelect 'Tools-Internet Options-Connections' in IE for "
                 "current settings";

    const QInputMethod* input = QGuiApplication::inputMethod();
    TLMainState::MacroKeyboardLayout = input ? input->locale().name().toStdString() : std::string();

    ConnectTimeBox->setText(QString::fromStdString(modTLC::Get_Setting("Options", "ConnectTime")));
    HangupTimeBox->setText(QString::fromStdString(modTLC::Get_Setting("Options", "HangupTime")));
    RetryTimeBox->setText(QString::fromStdString(modTLC::Get_Setting("Options", "RetryDialTime")));
    MaxAttemptsBox->setText(QString::fromStdString(modTLC::Get_Setting("Options", "MaxAttempts")));

    const int type = static_cast<int>(loadNumber("Options", "AutoDialType", 0, 3, "2", true));
    chooseOption(ADTypeGroup, type);
    Set_Connection_Type_Layout(type);
}

// Load step 8.
void Setup::loadSitesAndPhoneBook() {
    QStringList sites;
    for (long i = 0; i < modTLMain::kNationalSiteCount; ++i) sites << QString::fromUtf8(modTLMain::National_Site(i)->label);
    fillList(cbSites, sites);
    chooseListIndex(cbSites,
                    static_cast<int>(loadNumber("Locale", "SiteIndex", 0, modTLMain::kNationalSiteCount - 1, "0")));
    SetupLinks::setupLink<SetupLinks::Dialup>().Load_DUN_Entries(*DUNConn);
}

void Setup::DUNConn_Click() {
    SetupLinks::setupLink<SetupLinks::Dialup>().DUNConn_Click(DUNConn->currentText().toStdString(),
                                                              DUNConn->currentIndex());
}

void Setup::Play_Click() {
    if (!ADType[2]->isChecked()) SetupLinks::setupLink<SetupLinks::Dialup>().Play_Click();
}

void Setup::RecordCmd_Click() { SetupLinks::setupLink<SetupLinks::Dialup>().RecordCmd_Click(); }

// One timing box: its bounds, its range message, its key and the value in use.
struct Setup::TimingBox {
    QLineEdit* box;
    double lowest;
    double highest;
    const char* rangeMessage;
    const char* key;
    int16_t* inUse;
};

// The box's text must be a number within its bounds (both allowed); the key keeps the number as
// typed, the value in use the number rounded to the nearest whole, halves to the even one.
void Setup::checkTimingBox(const TimingBox& t) {
    const std::string text = t.box->text().toStdString();
    const auto refuse = [this, &t](const char* message) {
        m_checkingBox = true;
        platform::MsgBox(message, platform::vbOKOnly | platform::vbSystemModal);
        t.box->clear();
        t.box->setFocus();
        m_checkingBox = false;
    };
    if (!vb::IsNumeric(text)) return refuse("Not Valid Time Entry");
    const double value = vb::Val(text);
    if (value < t.lowest || value > t.highest) return refuse(t.rangeMessage);
    modTLC::Set_Config_Value("Options", t.key, vb::Str(value));
    *t.inUse = static_cast<int16_t>(std::nearbyint(value));
}

void Setup::Connecttimebox_LostFocus() {
    checkTimingBox({ConnectTimeBox, 5, 60, "Error: Auto Dial Time Range is 5-60 Minutes", "ConnectTime",
                    &modRAS::ConnectTimeMins});
}

void Setup::HangupTimeBox_LostFocus() {
    checkTimingBox({HangupTimeBox, 1, 60, "Error: Hangup Time Range is 1-60 Minutes", "HangupTime",
                    &modRAS::HangupTimeMins});
}

void Setup::RetryTimeBox_LostFocus() {
    checkTimingBox({RetryTimeBox, 1, 99, "Error: Wait Time Range is 1-99 Seconds", "RetryDialTime",
                    &TLMainState::RetryDialSecs});
}

void Setup::MaxAttemptsBox_LostFocus() {
    checkTimingBox({MaxAttemptsBox, 1, 99, "Error: Re-Dial Attempts Range is 1-99", "MaxAttempts",
                    &TLMainState::MaxDialAttempts});
}
