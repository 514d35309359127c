#include "options/setup_form.h"

#include <QAbstractSlider>
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <vector>

#include "foundation/main_window_link.h"
#include "foundation/config_store.h"
#include "foundation/logs.h"
#include "foundation/options_link.h"
#include "foundation/options_state.h"
#include "foundation/small_routines.h"
#include "foundation/vb.h"
#include "options/setup_links.h"
#include "options/users_tab.h"
#include "platform/window_routines.h"

namespace {

Setup* g_setup = nullptr;
constexpr const char* kLoadProcedure = "Setup Form_Load";

// The main window's way to the dialog.
class SetupDialogLink final : public OptionsLink::SetupDialog {
public:
    void Show_Setup() override { Setup::Show_Setup(); }
    void optTimeFormat_Click(int index) override {
        // An index no option button has is the automatic choice.
        Setup::instance().optTimeFormat_Click(index >= 0 && index <= 2 ? index : 0);
    }
};

}  // namespace

Setup::Setup() {
    setObjectName("Setup");
    setWindowTitle("Tolvane Rerode II Setup");
    setWindowFlag(Qt::Window);

    auto* layout = new QVBoxLayout(this);
    SSTab = new QTabWidget(this);
    SSTab->setUsesScrollButtons(false);  // every tab in sight: the dialog is as wide as they need
    // The pages scroll where the screen is too small for them; the buttons below stay in view.
    m_pages = new QScrollArea(this);
    m_pages->setFrameShape(QFrame::NoFrame);
    m_pages->setWidgetResizable(true);
    m_pages->setWidget(SSTab);
    layout->addWidget(m_pages, 1);
    const char* captions[kPageCount] = {"Users",   "Connections", "Auto Update", "Options",   "eMail",
                                        "Wake-up", "Appearance",  "Bid Groups",  "Time Sync"};
    std::array<QWidget*, kPageCount> pages{};
    for (int i = 0; i < kPageCount; ++i) {
        pages[static_cast<size_t>(i)] = new QWidget(SSTab);
        SSTab->addTab(pages[static_cast<size_t>(i)], captions[i]);
    }
    buildUsersPage(pages[kUsers]);
    buildConnectionsPage(pages[kConnections]);
    buildAutoUpdatePage(pages[kAutoUpdate]);
    buildOptionsPage(pages[kOptions]);
    buildEmailPage(pages[kEmail]);
    buildWakeUpPage(pages[kWakeUp]);
    buildAppearancePage(pages[kAppearance]);
    buildBidGroupsPage(pages[kBidGroups]);
    buildTimeSyncPage(pages[kTimeSync]);

    // The users tab fills the Bid Groups page's user list with its own; a user chosen there
    // brings that user's e-mail settings.
    usersTab->setGroupsUserList(UserListboxGrps);
    usersTab->setLoadSetupGroups([this] { Load_Setup_Groups(); });
    usersTab->setLoadEmailSettings([this] { Load_Email_Settings(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    OK = new QPushButton("Done", this);
    Cancel = new QPushButton("Cancel", this);
    SetupHelp = new QPushButton("Help", this);
    for (QPushButton* b : {OK, Cancel, SetupHelp}) buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(OK, &QPushButton::clicked, this, [this] { OK_Click(); });
    connect(Cancel, &QPushButton::clicked, this, [this] { Cancel_Click(); });
    connect(SetupHelp, &QPushButton::clicked, this, [this] { SetupHelp_Click(); });

    // The controls a desktop theme may give a meaning of Enter of their own, and the frames
    // around controls (see themeEnter).
    for (QWidget* w : findChildren<QWidget*>())
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QGroupBox*>(w))
            w->installEventFilter(this);
}

Setup::~Setup() {
    if (g_setup == this) g_setup = nullptr;
}

Setup& Setup::instance() {
    if (!g_setup) {
        g_setup = new Setup();
        g_setup->Form_Load();
    }
    return *g_setup;
}

Setup* Setup::Loaded() { return g_setup; }

void Setup::Show_Setup() {
    if (g_setup && g_setup->isVisible()) return;
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    const bool loadedBefore = g_setup != nullptr;
    Setup& s = instance();
    // Loaded hidden earlier (at the main window's start): the settings may have changed since.
    if (loadedBefore) s.Show_Stored_Values();
    s.Show_Tray_Note();
    s.Place_Over_Main_Window();
    s.show();
    s.raise();
    s.activateWindow();
}

// Large enough for every page and every tab, centred over the main window (over the screen when
// the main window is not shown), and never past the screen's edges: on a small screen the pages
// scroll.
void Setup::Place_Over_Main_Window() {
    resize(platform::unscrolledSize(this, m_pages).expandedTo(size()));
    modTLMain::Place_Over_Main_Window(this);
}

void Setup::Unload() {
    Setup* s = g_setup;
    if (!s) return;
    s->txtUpdateServer_LostFocus(false);  // however it closes, an address typed and not refused is kept
    g_setup = nullptr;
    s->hide();
    s->deleteLater();
}

void Setup::Register_Options_Link() {
    static SetupDialogLink link;
    OptionsLink::registerSetupDialog(&link);
}

// The load, step by step in its fixed order. A step that fails writes the error-log line and
// the next step runs.
void Setup::Form_Load() {
    m_loading = true;
    DialTestRunning = 0;
    SoundStep = 0;
    SoundSetupActive = false;
    ArrowBrowsing = false;

    // 1. The sound set-up lists the wave files of the data folder's Sounds folder (read when it starts).
    // 2. The Users page comes to the front.
    SSTab->setCurrentIndex(kUsers);
    // 3. The two user lists, the bid groups and the current user.
    loadStep(&Setup::loadUsers);
    // 4 to 7. The connection-type texts, the keyboard layout, the dial-up boxes and the type.
    loadStep(&Setup::loadConnections);
    // 8. The site list and the phone-book entries.
    loadStep(&Setup::loadSitesAndPhoneBook);
    // 9. The Auto Update page.
    loadStep(&Setup::loadAutoUpdate);
    // 10. Photos, "Close to Tray" and "Display Bid Results After Bid".
    loadStep(&Setup::loadPhotos);
    // 11. The time servers.
    loadStep(&Setup::Load_Setup_TimeServers);
    // 12 and 13. Sound effects, then the general boxes.
    loadStep(&Setup::loadGeneral);
    // 14. The eMail page.
    loadStep(&Setup::Load_Email_Settings);
    // 15. "Update Check".
    loadStep(&Setup::loadUpdateCheck);
    // 16. The time format and "Display Seconds".
    loadStep(&Setup::loadTimeFormat);
    // 17. "Auto Add".
    loadStep(&Setup::loadAutoAdd);
    // 18. Colours and grid columns.
    loadStep(&Setup::loadColoursAndColumns);

    m_loading = false;
}

// The dialog was loaded earlier and stayed hidden; meanwhile the main window may have changed
// settings (F9's sound, the tray's auto add, the photos, the time server, ...). Each control
// shows its stored value again, in the load's order. The values are in force already, so no
// handler runs and nothing is written; a bad stored value was logged by the load. The user lists
// are filled again with their own handling, which ends at once for the current user and brings
// the current user's bid groups.
void Setup::Show_Stored_Values() {
    m_loading = true;
    m_showingStored = true;
    loadStep(&Setup::loadUsers);
    std::vector<QPointer<QObject>> quiet;
    for (QObject* o : findChildren<QObject*>())
        if ((qobject_cast<QAbstractButton*>(o) || qobject_cast<QButtonGroup*>(o) || qobject_cast<QComboBox*>(o) ||
             qobject_cast<QLineEdit*>(o) || qobject_cast<QAbstractSlider*>(o) || qobject_cast<QListWidget*>(o)) &&
            !o->signalsBlocked()) {
            o->blockSignals(true);
            quiet.emplace_back(o);
        }
    for (void (Setup::*step)() :
         {&Setup::loadConnections, &Setup::loadSitesAndPhoneBook, &Setup::loadAutoUpdate, &Setup::loadPhotos,
          &Setup::Load_Setup_TimeServers, &Setup::loadGeneral, &Setup::Load_Email_Settings, &Setup::loadUpdateCheck,
          &Setup::loadTimeFormat, &Setup::loadAutoAdd, &Setup::loadColoursAndColumns})
        loadStep(step);
    for (const QPointer<QObject>& o : quiet)
        if (o) o->blockSignals(false);
    m_showingStored = false;
    m_loading = false;
}

void Setup::loadStep(void (Setup::*step)()) {
    try {
        (this->*step)();
    } catch (const vb::RuntimeError& e) {
        loadError(e.Number, e.what());
    } catch (const std::exception& e) {
        if (!m_showingStored) modTLMain::Log_Exception(e, kLoadProcedure);
    }
}

void Setup::loadError(long number, const std::string& description) {
    if (!m_showingStored) modTLMain::Log_Error(number, description, kLoadProcedure);
}

long Setup::loadNumber(const char* section, const char* key, long lo, long hi, const char* def, bool optionGroup) {
    const char* tableDefault = modTLC::Setting_Default(section, key);
    const std::string d = tableDefault ? tableDefault : def;
    const std::string v = modTLC::Get_Config_Value(section, key, d);
    const long fallback = vb::CLng(vb::Val(d));
    if (!vb::IsNumeric(v)) {
        loadError(13, "Type mismatch");
        return fallback;
    }
    const double x = vb::CDbl(v);
    if (!(x > -2147483648.5 && x < 2147483647.5)) {
        loadError(6, "Overflow");
        return fallback;
    }
    const long n = vb::CLng(x);
    if (n < lo || n > hi) {
        if (optionGroup)
            loadError(340, "Control array element '" + std::to_string(n) + "' doesn't exist");
        else
            loadError(380, "Invalid property value");
        return fallback;
    }
    return n;
}

void Setup::loadUsers() { usersTab->Load_Users(); }

void Setup::loadCheck(QCheckBox* box, const char* section, const char* key) {
    box->setChecked(loadNumber(section, key, 0, 1, "0") == 1);
}

QButtonGroup* Setup::optionGroup(QRadioButton** buttons, std::initializer_list<const char*> captions, QWidget* parent,
                                 QLayout* layout, int first, int designChoice, std::function<void(int)> clicked) {
    auto* group = new QButtonGroup(this);
    int id = first;
    for (const char* caption : captions) {
        buttons[id] = new QRadioButton(caption, parent);
        group->addButton(buttons[id], id);
        layout->addWidget(buttons[id]);
        ++id;
    }
    if (designChoice >= 0) buttons[designChoice]->setChecked(true);
    connect(group, &QButtonGroup::idToggled, this, [clicked = std::move(clicked)](int i, bool on) {
        if (on) clicked(i);
    });
    return group;
}

void Setup::chooseOption(QButtonGroup* group, int index) {
    if (QAbstractButton* b = group->button(index)) b->setChecked(true);
}

void Setup::chooseListIndex(QComboBox* list, int index) { list->setCurrentIndex(index); }

void Setup::fillList(QComboBox* list, const QStringList& entries) {
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(entries);
    list->setCurrentIndex(-1);
}

void Setup::writeCheck(QCheckBox* box, const char* section, const char* key) {
    modTLC::Set_Config_Value(section, key, box->isChecked() ? "1" : "0");
}

void Setup::Form_Activate() { modTLMain::Set_Window_Topmost(this, -1); }

void Setup::OK_Click() {
    if (DialTestRunning) {
        DialTestRunning = 0;
        txtTestResults->setPlainText(txtTestResults->toPlainText() + "Test Cancelled.............." + vb::vbCrLf);
        TestFrame->hide();
        TabFrame2->show();
        SetupLinks::setupLink<SetupLinks::Dialup>().Hang_Up_All();
        return;
    }
    Unload();
}

void Setup::Cancel_Click() { OK_Click(); }

void Setup::SetupHelp_Click() { SetupLinks::setupLink<SetupLinks::MainWindowView>().showHelp("Options"); }

// Enter is "Done" (except in a box of several lines, where it starts a new line, and on a button
// with the focus, which it presses), Esc is "Cancel", whatever the desktop's theme makes of Enter
// on the control with the focus. The box being typed in is left first, as a click on the button
// would leave it, so its check runs; a box that refuses its value keeps the focus and the dialog
// stays open. Esc first drops an update server address that would be refused, so it always
// closes the dialog.
bool Setup::dialogKey(QKeyEvent* e) {
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    QWidget* focus = focusWidget();
    if ((!enter && e->key() != Qt::Key_Escape) ||
        (enter && (qobject_cast<QPlainTextEdit*>(focus) || qobject_cast<QTextEdit*>(focus))))
        return false;
    e->accept();
    if (auto* pressed = qobject_cast<QPushButton*>(focus); enter && pressed) {
        pressed->click();
        return true;
    }
    QPushButton* button = enter ? OK : Cancel;
    if (!enter) dropRefusedServer();
    button->setFocus(Qt::TabFocusReason);
    if (focus && focus != button && focusWidget() != button) return true;
    if (enter)
        OK_Click();
    else
        Cancel_Click();
    return true;
}

void Setup::keyPressEvent(QKeyEvent* e) {
    if (!dialogKey(e)) QWidget::keyPressEvent(e);
}

// Under some desktop themes (GTK's) Enter presses a focused button as Space does: a check box
// would toggle, an option button be chosen, a list open; and a frame takes an Enter that a box in
// it passed on, where Qt's own theme passes it on to the dialog. Enter is the dialog's there, as
// under Qt's own theme; a box that takes Enter itself (the users list takes the name typed) still
// does so first.
bool Setup::themeEnter(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::KeyPress) return false;
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() != Qt::Key_Return && k->key() != Qt::Key_Enter) return false;
    auto* list = qobject_cast<QComboBox*>(watched);
    const bool pressable = watched == focusWidget() &&
                           (qobject_cast<QAbstractButton*>(watched) || (list && !list->isEditable()));
    return (pressable || qobject_cast<QGroupBox*>(watched)) && dialogKey(k);
}

bool Setup::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) Form_Activate();
    return QWidget::event(e);
}

// The title bar's close unloads the dialog; a running test sees its flag go with it.
void Setup::closeEvent(QCloseEvent* e) {
    e->accept();
    DialTestRunning = 0;
    if (g_setup == this) Unload();
}
