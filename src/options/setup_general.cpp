// The options dialog's general settings: the site list of the Users page, the Auto Update page,
// the general boxes of the Options page (photos, auto add, browser choices), the Wake-up page
// with its sleep test, and the time source and server of the Time Sync page.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "foundation/config_store.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/message_dialog.h"
#include "foundation/options_state.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/sys_tray.h"
#include "foundation/vb.h"
#include "foundation/window_process.h"
#include "items/item_grid_link.h"
#include "mainwindow/update_server.h"
#include "options/setup_form.h"
#include "options/setup_links.h"
#include "options/users_tab.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/desktop_files.h"
#include "platform/message_box.h"
#include "platform/tray.h"
#include "service/national_sites.h"

namespace {

using vb::vbCrLf;

constexpr int kUpdateButton = 4;  // the toolbar's item-update button
constexpr const char* kAltBrowserFolder = "/usr/bin";

QCheckBox* checkBox(const char* caption, QWidget* parent, QLayout* layout) {
    auto* b = new QCheckBox(caption, parent);
    layout->addWidget(b);
    return b;
}

// A typed item-number length: a number from `lo` to 20, else the fall-back.
bool lengthTextValid(const std::string& t, double lo) {
    if (!vb::IsNumeric(t)) return false;
    const double v = vb::CDbl(t);
    return v >= lo && v <= 20;
}
long lengthOf(const std::string& t, double lo, long fallback) {
    return lengthTextValid(t, lo) ? vb::CLng(vb::CDbl(t)) : fallback;
}

const char* updateTip(int option) {
    switch (option) {
        case 0: return "Update All Auction Items";
        case 1: return "Update All Current Category Items";
        case 2: return "Update Selected Auction Item";
        default: return nullptr;
    }
}

}  // namespace

void Setup::buildUsersPage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    usersTab = new UsersTab(page);
    layout->addWidget(usersTab);
    cbSites = new QComboBox(usersTab->siteFrame);
    usersTab->siteFrame->layout()->addWidget(cbSites);
    connect(cbSites, &QComboBox::currentIndexChanged, this, [this] { cbSites_Click(); });
}

void Setup::buildAutoUpdatePage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);

    auto* options = new QGroupBox("Auto Update Options", page);
    auto* optionsLayout = new QVBoxLayout(options);
    AUOGroup = optionGroup(AUO.data(), {"All Items", "Current Category Items", "Selected Item"}, options, optionsLayout,
                           0, -1, [this](int i) { AUO_Click(i); });
    layout->addWidget(options);

    auto* period = new QGroupBox("Auto Update Period", page);
    auto* periodLayout = new QVBoxLayout(period);
    auto* every = new QHBoxLayout;
    every->addWidget(new QLabel("Update Items every", period));
    AUOTimeMinbox = new QLineEdit("0", period);
    AUOTimeMinbox->setMaximumWidth(50);
    every->addWidget(AUOTimeMinbox);
    every->addWidget(new QLabel("( 10-99 ) Minutes", period));
    every->addStretch(1);
    periodLayout->addLayout(every);
    AUOAS = checkBox("Start Auto Update on Startup", period, periodLayout);
    chkAUStartup = checkBox("Update Items on Startup", period, periodLayout);
    chkUpdateBidSetup = checkBox("Update Item Upon Entering Bid Setup", period, periodLayout);
    layout->addWidget(period);

    auto* manual = new QGroupBox("Manual Update", page);
    auto* manualLayout = new QVBoxLayout(manual);
    AUMOGroup = optionGroup(AUMO.data(), {"All Items", "Follow Options Setting"}, manual, manualLayout, 0, 0,
                            [this](int i) { AUMO_Click(i); });
    layout->addWidget(manual);
    layout->addStretch(1);

    connect(AUOTimeMinbox, &QLineEdit::textChanged, this, [this] { AUOTimeMinbox_Change(); });
    AUOTimeMinbox->installEventFilter(this);
    for (auto [box, key] : {std::pair{AUOAS, "AutoUpdateStart"}, std::pair{chkAUStartup, "UpdateOnStart"},
                            std::pair{chkUpdateBidSetup, "UpdateBidSetup"}})
        connect(box, &QCheckBox::toggled, this, [this, box, key] { writeCheck(box, "Options", key); });
}

void Setup::buildOptionsPage(QWidget* page) {
    auto* pageLayout = new QVBoxLayout(page);
    frameOptions = new QWidget(page);
    pageLayout->addWidget(frameOptions);
    auto* columns = new QHBoxLayout(frameOptions);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    chkShowBidResults = checkBox("Display Bid Results After Bid", frameOptions, left);
    chkClosetoTray = checkBox("Close to Tray", frameOptions, left);
    chkShowBidSetup = checkBox("Show Bid Setup on Item Add", frameOptions, left);
    chkMyeBayAuto = checkBox("Auto Signin for \"My eBay\" ", frameOptions, left);
    chkShowUserItemsOnly = checkBox("Show Current User Items Only", frameOptions, left);
    chkIEFullScr = checkBox("IE Full Screen", frameOptions, left);
    chkNewBroWin = checkBox("New IE Browser Window", frameOptions, left);
    chkWarnBidPending = checkBox("Warn If Bid(s) Pending", frameOptions, left);
    auto* browser = new QHBoxLayout;
    chkAltBro = new QCheckBox("Alternate Browser", frameOptions);
    btnFindBro = new QPushButton("Find", frameOptions);
    btnFindBro->setToolTip("Locate Alternate Browser");
    browser->addWidget(chkAltBro);
    browser->addWidget(btnFindBro);
    browser->addStretch(1);
    left->addLayout(browser);
    chkTaskbar = checkBox("Show in Taskbar", frameOptions, left);
    AutoClockSet = checkBox("Auto Clock Set", frameOptions, left);
    auto* update = new QHBoxLayout;
    UpdateChk = new QCheckBox("Update Check", frameOptions);
    auto* serverLabel = new QLabel("Server:", frameOptions);
    txtUpdateServer = new QLineEdit(frameOptions);
    txtUpdateServer->setPlaceholderText("https://... (none set)");
    txtUpdateServer->setToolTip("The update server's address, beginning with https://. Check for Updates, the "
                                "daily check and Contact Us ask it; left empty, nothing is asked.");
    txtUpdateServer->setMinimumWidth(txtUpdateServer->fontMetrics().averageCharWidth() * 28);
    serverLabel->setBuddy(txtUpdateServer);
    update->addWidget(UpdateChk);
    update->addWidget(serverLabel);
    update->addWidget(txtUpdateServer, 1);
    left->addLayout(update);
    auto* sound = new QHBoxLayout;
    SoundOpt = new QCheckBox("Sound Effects", frameOptions);
    SndSetup = new QPushButton("Setup", frameOptions);
    sound->addWidget(SoundOpt);
    sound->addWidget(SndSetup);
    sound->addStretch(1);
    left->addLayout(sound);
    left->addStretch(1);

    auto* photos = new QGroupBox("Item Photos", frameOptions);
    auto* photosLayout = new QGridLayout(photos);
    cboPhotoSize = new QComboBox(photos);
    cboHoverTime = new QComboBox(photos);
    photosLayout->addWidget(new QLabel("Photo Size", photos), 0, 0);
    photosLayout->addWidget(cboPhotoSize, 0, 1);
    photosLayout->addWidget(new QLabel("Hover Time", photos), 1, 0);
    photosLayout->addWidget(cboHoverTime, 1, 1);
    chkPhotosOn = new QCheckBox("Photos On", photos);
    photosLayout->addWidget(chkPhotosOn, 2, 0, 1, 2);
    right->addWidget(photos);

    auto* autoAdd = new QGroupBox("Auto Add Settings", frameOptions);
    auto* autoAddLayout = new QGridLayout(autoAdd);
    txtAutoAddMin = new QLineEdit("10", autoAdd);
    txtAutoAddMax = new QLineEdit("12", autoAdd);
    autoAddLayout->addWidget(new QLabel("Minimum Item Number Length:", autoAdd), 0, 0);
    autoAddLayout->addWidget(txtAutoAddMin, 0, 1);
    autoAddLayout->addWidget(new QLabel("Maximum Item Number Length:", autoAdd), 1, 0);
    autoAddLayout->addWidget(txtAutoAddMax, 1, 1);
    chkAutoAddNoChar = new QCheckBox("No Alpha Characters", autoAdd);
    AutoAdd = new QCheckBox("Auto Add", autoAdd);
    autoAddLayout->addWidget(chkAutoAddNoChar, 2, 0, 1, 2);
    autoAddLayout->addWidget(AutoAdd, 3, 0, 1, 2);
    right->addWidget(autoAdd);
    right->addStretch(1);

    buildSoundFrame(page);

    // Boxes that only keep their key.
    const std::pair<QCheckBox*, const char*> plain[] = {
        {chkShowBidResults, "ShowBidResults"}, {chkClosetoTray, "ClosetoTray"}, {chkShowBidSetup, "ShowBidSetup"},
        {chkMyeBayAuto, "MyeBayASI"},          {chkIEFullScr, "IEFull"},        {chkNewBroWin, "NewBroWin"},
        {chkWarnBidPending, "BidsPendWarning"}, {AutoClockSet, "ClockSet"},     {UpdateChk, "ChkUpdates"},
    };
    for (auto [box, key] : plain)
        connect(box, &QCheckBox::toggled, this, [this, box = box, key = key] { writeCheck(box, "Options", key); });
    connect(cboPhotoSize, &QComboBox::currentIndexChanged, this, [this] { cboPhotoSize_Click(); });
    connect(cboHoverTime, &QComboBox::currentIndexChanged, this, [this] { cboHoverTime_Click(); });
    connect(chkPhotosOn, &QCheckBox::toggled, this, [this] { chkPhotosOn_Click(); });
    connect(txtAutoAddMin, &QLineEdit::textChanged, this, [this] { txtAutoAddMin_Change(); });
    connect(txtAutoAddMax, &QLineEdit::textChanged, this, [this] { txtAutoAddMax_Change(); });
    txtAutoAddMin->installEventFilter(this);
    txtAutoAddMax->installEventFilter(this);
    txtUpdateServer->installEventFilter(this);
    connect(chkAutoAddNoChar, &QCheckBox::toggled, this, [this] { chkAutoAddNoChar_Click(); });
    connect(AutoAdd, &QCheckBox::toggled, this, [this] { AutoAdd_Click(); });
    connect(chkShowUserItemsOnly, &QCheckBox::toggled, this, [this] { chkShowUserItemsOnly_Click(); });
    connect(chkTaskbar, &QCheckBox::toggled, this, [this] { chkTaskbar_Click(); });
    connect(chkAltBro, &QCheckBox::toggled, this, [this] { chkAltBro_Click(); });
    connect(btnFindBro, &QPushButton::clicked, this, [this] { btnFindBro_Click(); });
}

void Setup::buildWakeUpPage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    auto* note = new QLabel("To enable the sleep mode after a bid, check the box below. Note: If disabled you can "
                            "still enable this feature in bid setup per bid.",
                            page);
    note->setWordWrap(true);
    layout->addWidget(note);
    chkAutoSleep = checkBox("Enable Auto Sleep/Hibernate After Bid", page, layout);
    auto* modeNote = new QLabel("Select the sleep mode you want the program to use after a scheduled bid has been "
                                "placed.",
                                page);
    modeNote->setWordWrap(true);
    layout->addWidget(modeNote);
    auto* mode = new QHBoxLayout;
    mode->addWidget(new QLabel("Mode ", page));
    OptSleepModeGroup = optionGroup(OptSleepMode.data(), {"Hibernate", "Standby"}, page, mode, 0, 0, [](int i) {
        modTLC::Set_Config_Value("Options", "PwrSleepMode", std::to_string(i));
    });
    mode->addStretch(1);
    layout->addLayout(mode);
    cmdTestSleep = new QPushButton("Test Sleep/Hibernate and Wake Up", page);
    layout->addWidget(cmdTestSleep);
    layout->addStretch(1);

    connect(chkAutoSleep, &QCheckBox::toggled, this, [this] { writeCheck(chkAutoSleep, "Options", "AutoSleep"); });
    connect(cmdTestSleep, &QPushButton::clicked, this, [this] { cmdTestSleep_Click(); });
}

void Setup::buildTimeSyncPage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    auto* source = new QHBoxLayout;
    OptTSGroup = optionGroup(OptTS.data(), {"NIST", "eBay"}, page, source, 0, -1, [this](int i) { OptTS_Click(i); });
    source->addStretch(1);
    layout->addLayout(source);
    layout->addWidget(new QLabel("NIST Time Servers", page));
    timesync = new QComboBox(page);
    layout->addWidget(timesync);

    auto* format = new QGroupBox("Time Display Format", page);
    auto* formatLayout = new QVBoxLayout(format);
    optTimeFormatGroup = optionGroup(optTimeFormat.data(), {"Auto Select", "12 Hour", "24 Hour"}, format,
                                     formatLayout, 0, -1, [this](int i) { optTimeFormat_Click(i); });
    ShowSecs = new QCheckBox("Display Seconds", format);
    ShowSecs->setChecked(true);
    formatLayout->addWidget(ShowSecs);
    layout->addWidget(format);
    layout->addStretch(1);

    connect(timesync, &QComboBox::currentIndexChanged, this, [this] { timesync_Click(); });
    connect(ShowSecs, &QCheckBox::toggled, this, [this] { ShowSecs_Click(); });
}

// ---- The update button's tip ----

void Setup::Set_Update_Tip_For(int option) {
    if (const char* tip = updateTip(option)) TLMainLink::toolbar().setToolbarButtonTip(kUpdateButton, tip);
}

void Setup::AUMO_Click(int index) {
    modTLC::Set_Config_Value("Options", "ManualOption", std::to_string(index));
    if (index == 0) {
        Set_Update_Tip_For(0);
    } else if (index == 1) {
        const std::string opt = modTLC::Get_Setting("Options", "AutoUpdateOpt");
        if (opt == "0" || opt == "1" || opt == "2") Set_Update_Tip_For(opt[0] - '0');
    }
}

void Setup::AUO_Click(int index) {
    modTLC::Set_Config_Value("Options", "AutoUpdateOpt", std::to_string(index));
    const bool allItems = vb::Val(modTLC::Get_Setting("Options", "ManualOption")) == 0;
    Set_Update_Tip_For(allItems ? 0 : index);
}

// ---- Refresh interval and item-number lengths ----

void Setup::AUOTimeMinbox_Change() {
    const std::string t = AUOTimeMinbox->text().toStdString();
    if (t.empty()) return;
    const bool valid = vb::IsNumeric(t) && vb::CDbl(t) >= 10;
    modTLC::Set_Config_Value("Options", "Refresh", valid ? t : std::string("10"));
    // The count-down restarts from the interval as stored, only when the user typed it.
    if (m_loading) return;
    const double minutes = valid ? vb::CDbl(t) : 10;
    TLMainState::AutoUpdateCountdown = static_cast<int32_t>(vb::CLng(minutes * 60));
}

void Setup::Apply_AutoAdd_Lengths() {
    const long a = lengthOf(modTLC::Get_Setting("Options", "AutoAddMin"), 10, 10);
    const long b = lengthOf(modTLC::Get_Setting("Options", "AutoAddMax"), 12, 14);
    TLMainState::AutoAddMinLength = static_cast<int32_t>(std::min(a, b));
    TLMainState::AutoAddMaxLength = static_cast<int32_t>(std::max(a, b));
}

void Setup::txtAutoAddMin_Change() {
    const std::string t = txtAutoAddMin->text().toStdString();
    modTLC::Set_Config_Value("Options", "AutoAddMin", lengthTextValid(t, 10) ? t : std::string("10"));
    Apply_AutoAdd_Lengths();
}

void Setup::txtAutoAddMax_Change() {
    const std::string t = txtAutoAddMax->text().toStdString();
    modTLC::Set_Config_Value("Options", "AutoAddMax", lengthTextValid(t, 12) ? t : std::string("14"));
    Apply_AutoAdd_Lengths();
}

void Setup::sayFallback(QLineEdit* box, const char* message, const char* fallback) {
    m_checkingBox = true;
    platform::MsgBox(message, platform::vbOKOnly | platform::vbSystemModal);
    box->setText(fallback);  // its change handler stores it again
    box->setFocus();
    m_checkingBox = false;
}

void Setup::AUOTimeMinbox_LostFocus() {
    const std::string t = AUOTimeMinbox->text().toStdString();
    if (t.empty() || (vb::IsNumeric(t) && vb::CDbl(t) >= 10)) return;
    sayFallback(AUOTimeMinbox, "Error: Auto Update Time is 10 Minutes or More", "10");
}

void Setup::txtAutoAddMin_LostFocus() {
    if (lengthTextValid(txtAutoAddMin->text().toStdString(), 10)) return;
    sayFallback(txtAutoAddMin, "Error: Minimum Item Number Length Range is 10-20", "10");
}

void Setup::txtAutoAddMax_LostFocus() {
    if (lengthTextValid(txtAutoAddMax->text().toStdString(), 12)) return;
    sayFallback(txtAutoAddMax, "Error: Maximum Item Number Length Range is 12-20", "14");
}

bool Setup::txtUpdateServer_LostFocus(bool say) {
    const std::string typed = vb::Trim(txtUpdateServer->text().toStdString());
    if (typed == vb::Trim(modTLC::Get_Config_Value("Options", UpdateServer::kServerKey, ""))) return true;
    if (const std::string refusal = UpdateServer::Refusal(typed); !refusal.empty()) {
        if (say) {
            m_checkingBox = true;
            platform::MsgBox(refusal, platform::vbOKOnly | platform::vbExclamation | platform::vbSystemModal);
            txtUpdateServer->setFocus();
            m_checkingBox = false;
        }
        return false;
    }
    if (typed.empty())
        modTLC::Delete_Config_Key("Options", UpdateServer::kServerKey);  // no server, as by default
    else
        modTLC::Set_Config_Value("Options", UpdateServer::kServerKey, typed);
    return true;
}

void Setup::dropRefusedServer() {
    if (UpdateServer::Refusal(vb::Trim(txtUpdateServer->text().toStdString())).empty()) return;
    txtUpdateServer->setText(
        QString::fromStdString(vb::Trim(modTLC::Get_Config_Value("Options", UpdateServer::kServerKey, ""))));
}

void Setup::chkAutoAddNoChar_Click() {
    writeCheck(chkAutoAddNoChar, "Options", "AutoAddNoChar");
    TLMainState::AutoAddNoAlpha = chkAutoAddNoChar->isChecked() ? 1 : 0;
}

void Setup::AutoAdd_Click() {
    writeCheck(AutoAdd, "Options", "AutoAdd");
    TLMainState::AutoAddOn = AutoAdd->isChecked() ? -1 : 0;
    // Switched on by the user: what is on the clipboard now is not taken as an item number.
    if (AutoAdd->isChecked() && !m_loading) platform::clipboard().clear();
}

// ---- Photos ----

void Setup::cboPhotoSize_Click() {
    if (cboPhotoSize->currentIndex() < 0) return;
    modTLC::Set_Config_Value("Options", "PhotoSize", std::to_string(cboPhotoSize->currentIndex()));
}

void Setup::cboHoverTime_Click() {
    if (cboHoverTime->currentIndex() < 0) return;
    modTLC::Set_Config_Value("Options", "HoverTime", std::to_string(cboHoverTime->currentIndex()));
    TLMainState::HoverDelayTicks = static_cast<int32_t>(vb::Val(modTLC::Get_Setting("Options", "HoverTime"))) + 1;
}

void Setup::chkPhotosOn_Click() {
    writeCheck(chkPhotosOn, "Options", "PhotosOn");
    TLMainState::PhotoPopupOn = chkPhotosOn->isChecked() ? 1 : 0;
}

// ---- Grid, taskbar, browser ----

void Setup::chkShowUserItemsOnly_Click() {
    writeCheck(chkShowUserItemsOnly, "Options", "ShowUserItemsOnly");
    if (!m_loading) TLMainItems::itemGrid().loadItemGrid();
}

void Setup::chkDayofWk_Click() {
    writeCheck(chkDayofWk, "Options", "DayofWeek");
    if (!m_loading) TLMainItems::itemGrid().loadItemGrid();
}

void Setup::chkTaskbar_Click() {
    if (!m_loading) {
        if (chkTaskbar->isChecked()) {
            modTLMain::Set_Taskbar_Button(-1);
            modSysTray::Delete_Tray_Icon();
        } else {
            // Without a tray the taskbar entry is the only way back to the window: it stays.
            modTLMain::Set_Taskbar_Button(platform::trayIcon().available() ? 0 : -1);
            modSysTray::Add_Tray_Icon();
        }
    }
    writeCheck(chkTaskbar, "Options", "Taskbar");
}

void Setup::Show_Tray_Note() {
    const bool tray = platform::trayIcon().available();
    chkClosetoTray->setText(tray ? "Close to Tray" : "Close to Tray (no system tray on this desktop)");
    chkClosetoTray->setToolTip(tray ? QString()
                                    : "This desktop has no system tray: the close box ends the program and "
                                      "Minimise minimises the window, as with this option off.");
    chkTaskbar->setToolTip(tray ? QString()
                                : "This desktop has no system tray: the window keeps its taskbar entry even "
                                  "with this option off.");
}

void Setup::chkAltBro_Click() { writeCheck(chkAltBro, "Options", "AltBrowser"); }

// "Find": the user picks any program; it is started once as a test and kept when it started.
void Setup::btnFindBro_Click() {
    modTLMain::Set_Window_Topmost(this, 0);
    // The dialog opens at the program chosen last (in its folder when it is gone).
    const std::string current = modTLC::Get_Config_Value("Options", "AltBrowserPath", "");
    std::string start = kAltBrowserFolder;
    if (!current.empty()) {
        const QFileInfo info(QString::fromStdString(current));
        if (info.isFile())
            start = info.absoluteFilePath().toStdString();
        else if (info.dir().exists())
            start = info.absolutePath().toStdString();
    }
    const std::string chosen =
        platform::desktopFiles().chooseFileToOpen(start, "All Files (*)|*", "Locate Alternate Browser");
    if (chosen.empty()) return;
    if (!SetupLinks::setupLink<SetupLinks::SystemDialogs>().startProgram(chosen)) {
        platform::MsgBox("Can't Open Alternate Browser!");
        return;
    }
    modTLC::Set_Config_Value("Options", "AltBrowserPath", chosen);
    chkAltBro->setToolTip(QString::fromStdString(chosen));
}

// ---- Sleep test ----

void Setup::cmdTestSleep_Click() {
    const std::string text =
        std::string("This test checks the programs ability to activate the standby or hibernate ") + vbCrLf +
        "mode and program the wakeup feature. If the hibernate or wakeup features " + vbCrLf +
        "fail refer to the Help manual - Power section (F1) for more information." + vbCrLf + vbCrLf +
        "Click \"OK\" to proceed and activate the selected sleep mode." + vbCrLf +
        "Your computer will be set to wakeup about two minutes later.";
    Messages::MsgReply = Messages::DisplayMsg(text, 12, true, 0, "OK", "Cancel", "", false, false, "", "", "", 0, "",
                                              "", "");
    // Only "OK" puts the PC to sleep: "Cancel" or a closed window leave it awake.
    if (Messages::MsgReply != "MsgBtn1") return;
    auto& power = SetupLinks::setupLink<SetupLinks::Power>();
    power.Start_Sleep_Timer();
    power.Set_Wakeup_Timer(platform::clock().now().addSecs(120));
}

// ---- Site, time source and server ----

void Setup::cbSites_Click() {
    const int index = cbSites->currentIndex();
    if (index < 0) return;
    modTLC::Set_Config_Value("Locale", "SiteIndex", std::to_string(index));
    modTLMain::CurrentSiteIndex = index;
    modTLMain::Set_Site_Locale(modTLMain::CurrentSiteIndex);
}

void Setup::OptTS_Click(int index) { modTLC::Set_Config_Value("Options", "TimeSyncOpt", std::to_string(index)); }

void Setup::timesync_Click() {
    const int index = timesync->currentIndex();
    if (index < 0) return;
    modTLC::Set_Config_Value("Options", "TimeSync", std::to_string(index));
    TLMainState::TimeServerIndex = index;
}

void Setup::Load_Setup_TimeServers() {
    QStringList hosts;
    for (const char* host : modTLMain::TimeServerList) hosts << host;
    fillList(timesync, hosts);
    chooseListIndex(timesync, static_cast<int>(loadNumber("Options", "TimeSync", 0, modTLMain::kTimeServerCount - 1, "0")));
}

// ---- Load steps ----

// Step 9.
void Setup::loadAutoUpdate() {
    chooseOption(AUOGroup, static_cast<int>(loadNumber("Options", "AutoUpdateOpt", 0, 2, "0", true)));
    loadCheck(AUOAS, "Options", "AutoUpdateStart");
    loadCheck(chkAUStartup, "Options", "UpdateOnStart");
    loadCheck(chkUpdateBidSetup, "Options", "UpdateBidSetup");
    chooseOption(AUMOGroup, static_cast<int>(loadNumber("Options", "ManualOption", 0, 1, "0", true)));
    AUOTimeMinbox->setText(QString::fromStdString(modTLC::Get_Setting("Options", "Refresh")));
}

// Step 10.
void Setup::loadPhotos() {
    for (auto [list, count] : {std::pair{cboPhotoSize, 5}, std::pair{cboHoverTime, 10}}) {
        QStringList numbers;
        for (int i = 1; i <= count; ++i) numbers << QString::number(i);
        fillList(list, numbers);
    }
    chooseListIndex(cboPhotoSize, static_cast<int>(loadNumber("Options", "PhotoSize", 0, 4, "3")));
    chooseListIndex(cboHoverTime, static_cast<int>(loadNumber("Options", "HoverTime", 0, 9, "2")));
    loadCheck(chkPhotosOn, "Options", "PhotosOn");
    TLMainState::PhotoPopupOn = chkPhotosOn->isChecked() ? 1 : 0;
    loadCheck(chkClosetoTray, "Options", "ClosetoTray");
    loadCheck(chkShowBidResults, "Options", "ShowBidResults");
}

// Steps 12 and 13.
void Setup::loadGeneral() {
    loadCheck(SoundOpt, "Options", "Sound");
    loadCheck(chkNewBroWin, "Options", "NewBroWin");
    loadCheck(chkIEFullScr, "Options", "IEFull");
    loadCheck(chkAltBro, "Options", "AltBrowser");
    chkAltBro->setToolTip(QString::fromStdString(modTLC::Get_Config_Value("Options", "AltBrowserPath", "")));
    loadCheck(AutoClockSet, "Options", "ClockSet");
    loadCheck(chkTaskbar, "Options", "Taskbar");
    loadCheck(chkWarnBidPending, "Options", "BidsPendWarning");
    loadCheck(chkMyeBayAuto, "Options", "MyeBayASI");
    loadCheck(chkShowUserItemsOnly, "Options", "ShowUserItemsOnly");
    chooseOption(OptSleepModeGroup, static_cast<int>(loadNumber("Options", "PwrSleepMode", 0, 1, "0", true)));
    loadCheck(chkAutoSleep, "Options", "AutoSleep");
    txtAutoAddMin->setText(QString::fromStdString(modTLC::Get_Setting("Options", "AutoAddMin")));
    txtAutoAddMax->setText(QString::fromStdString(modTLC::Get_Setting("Options", "AutoAddMax")));
    Apply_AutoAdd_Lengths();
    loadCheck(chkAutoAddNoChar, "Options", "AutoAddNoChar");
    TLMainState::AutoAddNoAlpha = chkAutoAddNoChar->isChecked() ? 1 : 0;
    loadCheck(chkShowBidSetup, "Options", "ShowBidSetup");
    loadCheck(chkDayofWk, "Options", "DayofWeek");
    // "0" and "1" name the time source; any other stored value means no synchronisation: it is
    // kept, and neither source is chosen.
    const std::string timeSource = modTLC::Get_Config_Value("Options", "TimeSyncOpt", "0");
    if (timeSource == "0" || timeSource == "1") {
        chooseOption(OptTSGroup, timeSource == "1" ? 1 : 0);
    } else {
        const QSignalBlocker quiet(OptTSGroup);
        OptTSGroup->setExclusive(false);
        for (QAbstractButton* b : OptTSGroup->buttons()) b->setChecked(false);
        OptTSGroup->setExclusive(true);
    }
}

// Step 15: a missing or empty ChkUpdates becomes "1". The update server's address beside it is
// shown as stored (its box writes only when it is left).
void Setup::loadUpdateCheck() {
    txtUpdateServer->setText(
        QString::fromStdString(vb::Trim(modTLC::Get_Config_Value("Options", UpdateServer::kServerKey, ""))));
    if (vb::Trim(modTLC::Get_Config_Value("Options", "ChkUpdates", "")).empty()) {
        modTLC::Set_Config_Value("Options", "ChkUpdates", "1");
        UpdateChk->setChecked(true);
    } else {
        loadCheck(UpdateChk, "Options", "ChkUpdates");
    }
}

// Step 17: "1", "True" or any number but 0 switch it on.
void Setup::loadAutoAdd() {
    const std::string v = vb::Trim(modTLC::Get_Setting("Options", "AutoAdd"));
    bool on = false;
    if (vb::EqualText(v, "True"))
        on = true;
    else if (vb::EqualText(v, "False"))
        on = false;
    else if (vb::IsNumeric(v))
        on = vb::CDbl(v) != 0;
    else
        loadError(13, "Type mismatch");
    AutoAdd->setChecked(on);
    TLMainState::AutoAddOn = on ? -1 : 0;
}
