// setup_form.h — the options dialog (form Setup): the program's settings on nine pages, each
// control writing its configuration key the moment it changes. There is no Apply and no undo:
// "Done" and "Cancel" only close the dialog, or end a running connection test.
//
// One dialog exists. The Setup command shows it, not modal; the main window's load loads it
// hidden (through its time-format handler), and the next Setup command shows that loaded dialog
// without loading it again. The load fills the pages in a fixed order; filling a control that
// changes it from the state the window is created with runs that control's handler, which
// writes the key back and keeps the in-memory values and the update button's tip. Side effects
// meant for a user's change (emptying the clipboard, restarting the refresh count-down,
// reloading the grid, the tray and taskbar) wait for one. A bad stored value never ends the
// load: that step takes the default, the error log gets a line and the load goes on.
#pragma once

#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "items/item_grid.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QKeyEvent;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSlider;
class QTabWidget;
class UsersTab;

class Setup final : public QWidget {
public:
    // The loaded dialog, loading it (hidden) first when it is not loaded.
    static Setup& instance();
    // The loaded dialog, or nullptr; never loads it.
    static Setup* Loaded();
    // The Setup command: shows the dialog, not modal, loading it when needed; nothing when it is
    // already visible.
    static void Show_Setup();
    void Place_Over_Main_Window();
    // Unloads the dialog when it is loaded (nothing of its own state survives).
    static void Unload();
    // Lets the main window reach the dialog (OptionsLink): the program's start calls it once.
    static void Register_Options_Link();

    // Pages of SSTab, in order.
    enum Page { kUsers, kConnections, kAutoUpdate, kOptions, kEmail, kWakeUp, kAppearance, kBidGroups, kTimeSync };
    static constexpr int kPageCount = 9;

    // The window's own events.
    void Form_Load();
    void Form_Activate();
    void OK_Click();
    void Cancel_Click();
    void cmdExitTest_Click();
    void SetupHelp_Click();  // the help page's options section

    // Connections page (the layout of each connection type; the rest of its handlers and the test
    // belong to the dial-up service).
    void ADType_Click(int index);
    void Set_Connection_Type_Layout(int type);
    void DUNConn_Click();
    void Play_Click();
    void RecordCmd_Click();
    // The four timing boxes, checked when they lose the focus.
    void Connecttimebox_LostFocus();
    void HangupTimeBox_LostFocus();
    void RetryTimeBox_LostFocus();
    void MaxAttemptsBox_LostFocus();

    // General, Auto Update, Wake-up and Time Sync settings, the site list and "Day".
    void AUO_Click(int index);
    void AUMO_Click(int index);
    void AUOTimeMinbox_Change();
    void txtAutoAddMin_Change();
    void txtAutoAddMax_Change();
    // Leaving the refresh box or an item-number length box with a value out of its range says so,
    // and the box shows the value that was stored in its place.
    void AUOTimeMinbox_LostFocus();
    void txtAutoAddMin_LostFocus();
    void txtAutoAddMax_LostFocus();
    // The update server's address is kept when the box is left (or the dialog closed) holding an
    // https:// address, or nothing (no server); another address typed is refused with a message
    // (`say`), the box keeps the text and the focus, and the stored address stays. False when
    // refused. What is stored already is left as it is.
    bool txtUpdateServer_LostFocus(bool say = true);
    // Cancel (its button, or Esc) leaves the update server as it was: an address in the box that
    // would be refused gives way to the stored one, unasked, so the dialog closes.
    void dropRefusedServer();
    void chkAutoAddNoChar_Click();
    void AutoAdd_Click();
    void cboPhotoSize_Click();
    void cboHoverTime_Click();
    void chkPhotosOn_Click();
    void chkShowUserItemsOnly_Click();
    void chkDayofWk_Click();
    void chkTaskbar_Click();
    // Close to Tray and Show in Taskbar off need a system tray: without one they say so.
    void Show_Tray_Note();
    void chkAltBro_Click();
    void btnFindBro_Click();
    void cmdTestSleep_Click();
    void cbSites_Click();
    void OptTS_Click(int index);
    void timesync_Click();
    void Load_Setup_TimeServers();

    // Appearance: colours, optional columns, widths; the time format of the Time Sync page.
    void ColorSample_Click(int index);
    void SetDefColor_Click();
    void chkCols_Click(int index);
    void optColAdj_Click(int index);
    void sliderColAdj_Change();
    void cmdRstColWidths_Click();
    void optTimeFormat_Click(int index);
    void ShowSecs_Click();

    // Sounds.
    void SoundOpt_Click();
    void SndSetup_Click();
    void SndDemo_Click();
    void PlaySndDemo_Click();
    void cboSoundFiles_Click();

    // eMail.
    void Load_Email_Settings();
    void cmdTestEmail_Click();

    // Bid groups.
    void UserListboxGrps_Click();
    void lstBidGrps_Click();
    void cmdAddBidGrp_Click();
    void cmdRemBidGrp_Click();
    void Load_Setup_Groups();

    // The window.
    QTabWidget* SSTab = nullptr;
    QPushButton* OK = nullptr;                    // "Done"
    QPushButton* Cancel = nullptr;
    QPushButton* SetupHelp = nullptr;             // "Help"

    // Users page: the users tab, with the site list in its "eBay Site" frame.
    UsersTab* usersTab = nullptr;
    QComboBox* cbSites = nullptr;

    // Connections page: its frame (TabFrame element 2) and the test panel shown in its place.
    QWidget* TabFrame2 = nullptr;
    std::array<QRadioButton*, 4> ADType{};
    QButtonGroup* ADTypeGroup = nullptr;
    std::array<QLabel*, 8> Tab2{};
    QLineEdit* ConnectTimeBox = nullptr;
    QLineEdit* HangupTimeBox = nullptr;
    QLineEdit* RetryTimeBox = nullptr;
    QLineEdit* MaxAttemptsBox = nullptr;
    QLabel* RecInfoLab = nullptr;
    QComboBox* DUNConn = nullptr;
    QPushButton* Play = nullptr;
    QPushButton* RecordCmd = nullptr;
    QGroupBox* TestFrame = nullptr;  // "Connection Test Mode"
    QPlainTextEdit* txtTestResults = nullptr;
    QPushButton* cmdExitTest = nullptr;

    // Auto Update page.
    std::array<QRadioButton*, 3> AUO{};
    QButtonGroup* AUOGroup = nullptr;
    std::array<QRadioButton*, 2> AUMO{};
    QButtonGroup* AUMOGroup = nullptr;
    QLineEdit* AUOTimeMinbox = nullptr;
    QCheckBox* AUOAS = nullptr;
    QCheckBox* chkAUStartup = nullptr;
    QCheckBox* chkUpdateBidSetup = nullptr;

    // Options page: the general frame and the sound frame in its place.
    QWidget* frameOptions = nullptr;
    QCheckBox* chkShowBidResults = nullptr;
    QCheckBox* chkClosetoTray = nullptr;
    QCheckBox* chkShowBidSetup = nullptr;
    QComboBox* cboPhotoSize = nullptr;
    QComboBox* cboHoverTime = nullptr;
    QCheckBox* chkPhotosOn = nullptr;
    QLineEdit* txtAutoAddMin = nullptr;
    QLineEdit* txtAutoAddMax = nullptr;
    QCheckBox* chkAutoAddNoChar = nullptr;
    QCheckBox* AutoAdd = nullptr;
    QCheckBox* chkMyeBayAuto = nullptr;
    QCheckBox* chkShowUserItemsOnly = nullptr;
    QCheckBox* chkIEFullScr = nullptr;
    QCheckBox* chkNewBroWin = nullptr;
    QCheckBox* chkWarnBidPending = nullptr;
    QCheckBox* chkAltBro = nullptr;
    QPushButton* btnFindBro = nullptr;
    QCheckBox* chkTaskbar = nullptr;
    QCheckBox* AutoClockSet = nullptr;
    QCheckBox* UpdateChk = nullptr;
    QLineEdit* txtUpdateServer = nullptr;  // the update server's address, beside "Update Check"
    QCheckBox* SoundOpt = nullptr;
    QPushButton* SndSetup = nullptr;
    QGroupBox* frameSndDemo = nullptr;  // "Sound Setup"
    QLabel* labelSndDemo = nullptr;
    QListWidget* cboSoundFiles = nullptr;
    QPushButton* PlaySndDemo = nullptr;
    QPushButton* SndDemo = nullptr;  // "Next"

    // eMail page.
    std::array<QLineEdit*, 3> Email{};
    std::array<QCheckBox*, 3> chkEMEnabled{};
    QLineEdit* ActSMTPServer = nullptr;
    QLineEdit* ActSMTPPort = nullptr;
    QLineEdit* ActName = nullptr;
    QLineEdit* ActPass = nullptr;
    QCheckBox* chkAuthReq = nullptr;
    QPushButton* cmdTestEmail = nullptr;

    // Wake-up page.
    QCheckBox* chkAutoSleep = nullptr;
    std::array<QRadioButton*, 2> OptSleepMode{};
    QButtonGroup* OptSleepModeGroup = nullptr;
    QPushButton* cmdTestSleep = nullptr;

    // Appearance page.
    std::array<QLabel*, 6> ColorSample{};
    QPushButton* SetDefColor = nullptr;
    std::array<QCheckBox*, 6> chkCols{};
    std::array<QRadioButton*, 10> optColAdj{};  // 3 to 9
    QButtonGroup* optColAdjGroup = nullptr;
    QSlider* sliderColAdj = nullptr;
    QPushButton* cmdRstColWidths = nullptr;
    QCheckBox* chkDayofWk = nullptr;

    // Bid Groups page.
    QComboBox* UserListboxGrps = nullptr;
    QListWidget* lstBidGrps = nullptr;
    QLineEdit* txtBidGrp = nullptr;
    QPushButton* cmdAddBidGrp = nullptr;
    QPushButton* cmdRemBidGrp = nullptr;

    // Time Sync page.
    std::array<QRadioButton*, 2> OptTS{};
    QButtonGroup* OptTSGroup = nullptr;
    QComboBox* timesync = nullptr;
    std::array<QRadioButton*, 3> optTimeFormat{};
    QButtonGroup* optTimeFormatGroup = nullptr;
    QCheckBox* ShowSecs = nullptr;

    // State while the dialog is loaded.
    int16_t DialTestRunning = 0;  // the Connections page's connection test runs
    std::string DialInfoMacro, DialInfoList, DialInfoNone, DialInfoIE;
    int16_t SoundStep = 0;
    bool SoundSetupActive = false;
    bool ArrowBrowsing = false;

    // True while Form_Load fills the pages.
    bool loading() const { return m_loading; }

    // The sound walk-through's events: caption and key, steps 1 to 8.
    struct SoundEvent {
        const char* caption;
        const char* key;
    };
    static constexpr SoundEvent kSoundEvents[8] = {
        {"Add Auction Item", "AddItem"},  {"Auction Item Added", "DLComplete"}, {"Add Auction Item Failed", "Alert"},
        {"Alarm Clock", "ClockAlarm"},   {"Bid Alert", "Alert"},               {"Message Alert", "General"},
        {"You Win", "Win"},              {"You Lost", "Lose"},
    };
    // The colour samples' keys (0 to 5), then ColorAlert, which has no sample.
    static constexpr const char* kColourKeys[7] = {"ColorBid",    "ColorWintally", "ColorVal",  "ColorHiBid",
                                                   "ColorOutBid", "ColorGrid",     "ColorAlert"};
    // Base widths (twips) of the adjustable columns 3 to 9 (index = column): the item grid's own
    // defaults, so that "Reset" gives a column the width it has without a setting.
    static constexpr const long (&kBaseWidth)[10] = TLMainItems::kItemColumnWidths;

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Enter and Esc as the dialog's keys (see keyPressEvent); false when the key is the control's.
    bool dialogKey(QKeyEvent* e);
    // Enter where the desktop's theme would give it another meaning, taken as the dialog's.
    bool themeEnter(QObject* watched, QEvent* e);
    Setup();
    ~Setup() override;

    void buildUsersPage(QWidget* page);
    void buildConnectionsPage(QWidget* page);
    void buildAutoUpdatePage(QWidget* page);
    void buildOptionsPage(QWidget* page);
    void buildEmailPage(QWidget* page);
    void buildWakeUpPage(QWidget* page);
    void buildAppearancePage(QWidget* page);
    void buildBidGroupsPage(QWidget* page);
    void buildTimeSyncPage(QWidget* page);
    void buildSoundFrame(QWidget* page);
    // Option buttons with these captions, numbered from `first` (buttons[first], ...), added to
    // `layout` in a group of their own. `designChoice` (-1: none) is chosen before `clicked` is
    // connected: it is the window's design state, not a change.
    QButtonGroup* optionGroup(QRadioButton** buttons, std::initializer_list<const char*> captions, QWidget* parent,
                              QLayout* layout, int first, int designChoice, std::function<void(int)> clicked);

    // The load's steps: each a run that a failure ends without ending the load.
    void loadStep(void (Setup::*step)());
    // A load step's error-log line (none while the stored values are shown again).
    void loadError(long number, const std::string& description);
    // A dialog loaded earlier is shown: every control shows its stored value again, quietly.
    void Show_Stored_Values();
    bool m_showingStored = false;
    void loadUsers();
    void loadConnections();
    // The timing boxes' shared check (a row of the Connections page's table).
    struct TimingBox;
    void checkTimingBox(const TimingBox& box);
    // A box whose text was out of range: the message, then the box shows the stored fallback.
    void sayFallback(QLineEdit* box, const char* message, const char* fallback);
    bool m_checkingBox = false;
    void loadSitesAndPhoneBook();
    void loadAutoUpdate();
    void loadPhotos();
    void loadGeneral();
    void loadUpdateCheck();
    void loadTimeFormat();
    void loadAutoAdd();
    void loadColoursAndColumns();

    // A stored whole number for a control of the load: the default (the shared table's, else
    // `def`), with an error-log line, when the text is not a number or lies outside lo to hi (for
    // a group of option buttons: names no button).
    long loadNumber(const char* section, const char* key, long lo, long hi, const char* def,
                    bool optionGroup = false);
    void loadCheck(QCheckBox* box, const char* section, const char* key);
    void chooseOption(QButtonGroup* group, int index);
    void chooseListIndex(QComboBox* list, int index);
    // Fills a list with no entry chosen, without running its handler (the window's design state).
    static void fillList(QComboBox* list, const QStringList& entries);

    void writeCheck(QCheckBox* box, const char* section, const char* key);
    void Set_Update_Tip_For(int option);
    void Apply_AutoAdd_Lengths();
    void showColour(int sample, long colour);
    void Apply_Grid_Colour();
    void setOptionalColumnWidths(long mask);
    void storeColumnWidth(int column, long width);
    void selectSoundEntries(const std::string& value);

    bool m_loading = false;
    bool m_programSelect = false;  // the program, not the user, selects in the sound file list
    QScrollArea* m_pages = nullptr;  // holds the tabs
};
