#include "options/new_setup.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include "foundation/config_store.h"
#include "foundation/locale_dates.h"
#include "foundation/logs.h"
#include "foundation/message_dialog.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "mainwindow/browser_views.h"
#include "options/new_setup_checks.h"
#include "options/users.h"
#include "platform/message_box.h"

namespace {

NewSetup* g_setup = nullptr;
std::function<void()> g_showMain;

constexpr const char* kCrLf = "\r\n";
constexpr int kFormHeightTwips = 6315;
constexpr int kFormWidthTwips = 7500;

QString q(const std::string& s) { return QString::fromStdString(s); }
// A text of CR LF lines as a label shows it.
QString labelText(const std::string& s) { return q(vb::Replace(s, kCrLf, "\n")); }

std::string joinLines(std::initializer_list<const char*> lines) {
    std::string out;
    bool first = true;
    for (const char* l : lines) {
        if (!first) out += kCrLf;
        out += l;
        first = false;
    }
    return out;
}

// The two result pictures (32 × 32): a green tick and a red cross.
QPixmap resultPicture(bool pass) {
    QPixmap p(32, 32);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(pass ? QColor(0, 160, 0) : QColor(255, 0, 0), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (pass) {
        painter.drawPolyline(QPolygon({QPoint(5, 17), QPoint(13, 25), QPoint(27, 7)}));
    } else {
        painter.drawLine(7, 7, 25, 25);
        painter.drawLine(25, 7, 7, 25);
    }
    return p;
}

void warn(const std::string& text) {
    platform::MsgBox(text, platform::vbOKOnly | platform::vbExclamation | platform::vbSystemModal);
}

}  // namespace

NewSetup::NewSetup() {
    setObjectName("NewSetup");
    setWindowTitle("Tolvane Rerode II New Installation Setup");
    // The last page says "Type F1 or Help menu to view": F1 opens the help page here too.
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            [] { TLMainBrowser::MnuTitleHelp_Click(); });
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < 5; ++i) {
        Step[i] = new QFrame(this);
        Step[i]->setFrameShape(QFrame::StyledPanel);
        Step[i]->hide();
        layout->addWidget(Step[i], 1);
    }
    for (int i : {0, 1, 2, 4}) {
        SetupLabel[i] = new QLabel(Step[i]);
        SetupLabel[i]->setWordWrap(true);
        SetupLabel[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    for (int i : {0, 2, 4}) {
        auto* l = new QVBoxLayout(Step[i]);
        l->addWidget(SetupLabel[i], 1);
    }

    // Step 1: the user entry.
    auto* entry = new QGridLayout(Step[1]);
    entry->addWidget(SetupLabel[1], 0, 0, 1, 2);
    const char* captions[4] = {"", "eBay User ID:", "eBay User Password:", "Confirm Password:"};
    for (int i = 1; i <= 3; ++i) Tab1[i] = new QLabel(captions[i], Step[1]);
    UsersIDBox = new QLineEdit(Step[1]);
    UsersPassBox = new QLineEdit(Step[1]);
    UsersPassBox->setEchoMode(QLineEdit::Password);
    UsersConfirmBox = new QLineEdit(Step[1]);
    UsersConfirmBox->setEchoMode(QLineEdit::Password);
    QLineEdit* boxes[4] = {nullptr, UsersIDBox, UsersPassBox, UsersConfirmBox};
    for (int i = 1; i <= 3; ++i) {
        entry->addWidget(Tab1[i], i, 0);
        entry->addWidget(boxes[i], i, 1);
    }
    entry->setRowStretch(4, 1);
    connect(UsersConfirmBox, &QLineEdit::textChanged, this, [this] { UsersConfirmBox_Change(); });

    // Step 3: the checks, a row each (the fourth, the wake timers, is never shown).
    auto* checks = new QGridLayout(Step[3]);
    Checks[0] = new QLabel(Step[3]);
    checks->addWidget(Checks[0], 0, 0, 1, 3);
    const char* rows[5] = {"", "Internet Connectivity", "eBay Sign In", "Clock Synchronization",
                           "Wake Timer Enabled (Windows 7 Only )"};
    for (int i = 1; i <= 4; ++i) {
        Validation[i] = new QLabel(Step[3]);
        Validation[i]->setFixedSize(32, 32);
        Validation[i]->setScaledContents(true);
        Validation[i]->hide();
        Checks[i] = new QLabel(rows[i], Step[3]);
        Checks[i]->hide();
        cmdHelp[i] = new QPushButton("Help", Step[3]);
        cmdHelp[i]->hide();
        checks->addWidget(Validation[i], i, 0);
        checks->addWidget(Checks[i], i, 1);
        checks->addWidget(cmdHelp[i], i, 2);
        connect(cmdHelp[i], &QPushButton::clicked, this, [this, i] { cmdHelp_Click(i); });
    }
    labCountry = new QLabel(Step[3]);
    TZoneLab = new QLabel(Step[3]);
    checks->addWidget(labCountry, 5, 0, 1, 3);
    checks->addWidget(TZoneLab, 6, 0, 1, 3);
    checks->setRowStretch(7, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BackBtn = new QPushButton("Back", this);
    BackBtn->setEnabled(false);
    NextBtn = new QPushButton("Next", this);
    buttons->addWidget(BackBtn);
    buttons->addWidget(NextBtn);
    layout->addLayout(buttons);
    connect(BackBtn, &QPushButton::clicked, this, [this] { BackBtn_Click(); });
    connect(NextBtn, &QPushButton::clicked, this, [this] { NextBtn_Click(); });

    m_pass = resultPicture(true);
    m_fail = resultPicture(false);
    LIF.setHandler([this] { LIF_Timer(); });
}

NewSetup& NewSetup::instance() {
    if (!g_setup) {
        g_setup = new NewSetup();
        g_setup->Form_Load();
    }
    return *g_setup;
}

bool NewSetup::loaded() { return g_setup != nullptr; }

void NewSetup::Unload() {
    if (!g_setup) return;
    g_setup->LIF.setEnabled(false);
    g_setup->hide();
    g_setup->deleteLater();
    g_setup = nullptr;
}

void NewSetup::SetShowMainWindow(std::function<void()> show) { g_showMain = std::move(show); }

void NewSetup::Form_Load() {
    SetupText[0] = "Welcome to Tolvane Rerodes new installation setup.";
    SetupText[1] = std::string("Please enter your eBay Users ID and your Password.") + kCrLf + kCrLf +
                   "Your user ID and password are required by this program to sign you into eBay to place " +
                   "bids for you or access other eBay features. For your security your user ID and password " +
                   "are stored in encrypted format. If you change your eBay password or user ID you will need " +
                   "to update this information within the program as well. " + kCrLf + kCrLf +
                   "Quillbar will never ask you for your password for any reason.";
    SetupText[2] = std::string("In the next step setup will check your computer settings and perform ") +
                   "a few tests to insure the program will operate correctly and be able to place " +
                   "your bids reliably." + kCrLf + kCrLf +
                   "You must be connected to the Internet to make these checks." + kCrLf + kCrLf +
                   "Click the \"Next\" button to begin the checks.";
    SetupText[3].clear();
    SetupText[4] = std::string("The Tolvane Rerode New Installation Setup is now completed! For additional ") +
                   "information regarding " +
                   "the use of this program and other setup options please refer to the help manual. (Type F1 " +
                   "or Help menu to view)" + kCrLf + kCrLf + "Thank you, Quillbar";
    for (int i : {0, 1, 2, 4}) SetupLabel[i]->setText(labelText(SetupText[i]));
    Checks[0]->setText(q(SetupText[3]));
    labCountry->setText(q("eBay Site: eBay " + modTLMain::Get_Locale_Country()));
    modTLMain::Get_Time_Zone_Info();
    TZoneLab->setText(q("Time Zone: " + modTLMain::TimeZoneName));

    resize(vb::TwipsToPixels(kFormWidthTwips), vb::TwipsToPixels(kFormHeightTwips));
    modTLMain::Place_Over_Main_Window(this);
    WizardStep = 0;
    showOnly(0);

    // Enabled in the window's design: fires once, 10 ms after the load.
    LIF.setInterval(10);
    LIF.setEnabled(true);
}

void NewSetup::LIF_Timer() {
    LIF.setEnabled(false);
    modTLC::LDIF();
    modTLMain::ConfigLoaded = 1;
}

// Each step opens with the cursor in its first input; a step without one gives Next the focus.
void NewSetup::showOnly(int step) {
    for (int i = 0; i < 5; ++i) Step[i]->setVisible(i == step);
    if (step == 1)
        UsersIDBox->setFocus();
    else if (step >= 0)
        NextBtn->setFocus();
}

void NewSetup::keyPressEvent(QKeyEvent* e) {
    if (e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter) {
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
    if (NextBtn->isEnabled()) NextBtn->click();
}

int NewSetup::shownStep() const {
    for (int i = 0; i < 5; ++i)
        if (!Step[i]->isHidden()) return i;
    return -1;
}

void NewSetup::NextBtn_Click() {
    ++WizardStep;
    if (WizardStep == 2 && CheckUserInfo() == 0) {
        --WizardStep;
        return;
    }
    showOnly(-1);
    switch (WizardStep) {
        case 0:
        case 1:
        case 2:
            showOnly(WizardStep);
            break;
        case 3:
            resetRows();
            showOnly(3);
            Run_Checks();
            break;
        case 4:
            NextBtn->setText("Done");
            showOnly(4);
            break;
        case 5:
            if (Done()) return;  // the window is gone
            WizardStep = 4;      // the user stays on the closing step
            showOnly(4);
            break;
        default:
            break;
    }
    // A check run sets the buttons itself when it ends.
    if (!m_running) BackBtn->setEnabled(WizardStep >= 1);
}

void NewSetup::BackBtn_Click() {
    --WizardStep;
    showOnly(-1);
    if (WizardStep >= 0 && WizardStep <= 3) showOnly(WizardStep);
    BackBtn->setEnabled(WizardStep >= 1);
    if (WizardStep < 4) NextBtn->setText("Next");
}

int NewSetup::CheckUserInfo() {
    // The ID becomes a key of the store: blanks at either end go, and the store's own marks are
    // refused. The store trims what it keeps, so a password may not begin or end with a blank.
    const std::string id = modUsers::Clean_User_Name(UsersIDBox->text().toStdString());
    const std::string fault = modUsers::User_Entry_Fault(id, UsersPassBox->text().toStdString(),
                                                          UsersConfirmBox->text().toStdString());
    if (fault.empty()) return 1;
    warn(fault);
    return 0;
}

void NewSetup::UsersConfirmBox_Change() {
    if (UsersPassBox->text().isEmpty()) return;
    m_confirmColour =
        modUsers::Confirmation_Colour(UsersPassBox->text().toStdString(), UsersConfirmBox->text().toStdString());
    modUsers::Set_Label_Colour(Tab1[3], m_confirmColour);
}

void NewSetup::resetRows() {
    for (int i = 1; i <= 4; ++i) {
        Checks[i]->hide();
        Validation[i]->clear();
        Validation[i]->setProperty("result", -1);
        Validation[i]->hide();
        cmdHelp[i]->hide();
    }
}

void NewSetup::setResult(int row, bool pass) {
    Validation[row]->setPixmap(pass ? m_pass : m_fail);
    Validation[row]->setProperty("result", pass ? 1 : 0);
    Validation[row]->show();
    if (!pass) cmdHelp[row]->show();
}

void NewSetup::endRun(const char* heading) {
    Checks[0]->setText(heading);
    BackBtn->setEnabled(true);
    NextBtn->setEnabled(true);
    NextBtn->setFocus();
    m_running = false;
}

void NewSetup::Run_Checks() {
    m_running = true;
    BackBtn->setEnabled(false);
    NextBtn->setEnabled(false);
    const std::string user = modUsers::Clean_User_Name(UsersIDBox->text().toStdString());
    UserState::CurrentUserID = user;
    modTLC::Set_Config_Value(modUsers::kUsersSection, user, UsersPassBox->text().toStdString());
    modTLC::Set_Config_Value("Options", "LastUser", user);
    Checks[0]->setText("Checking....");
    modTLMain::Wait_Seconds(2);

    // 1: the Internet connection; without it the other checks cannot run.
    const auto startRow = [this](int row) {
        Checks[row]->show();
        Validation[row]->clear();
        Validation[row]->setProperty("result", -1);
        modTLMain::Wait_Seconds(3);
    };
    startRow(1);
    if (SetupChecks::connection().GetConStatusAlt() == 0) {
        setResult(1, false);
        modTLMain::Write_Op_Log("New Install Setup - Internet Connection Test Failed");
        endRun("Test Halted! Checks Require Internet.");
        return;
    }
    setResult(1, true);

    // 2: the sign-in. The typed user is taken back only when the service refused it; a sign-in
    // that got no answer says nothing about the user ID or password.
    modTLMain::Wait_Seconds(2);
    startRow(2);
    const modTLMain::SignInResult signIn = modUsers::Sign_In_For_Result(UserState::CurrentUserID);
    setResult(2, signIn.ok);
    if (!signIn.ok) {
        if (signIn.refused) {
            modTLC::Delete_Config_Key(modUsers::kUsersSection, UserState::CurrentUserID);
            modTLC::Delete_Config_Key("Options", "LastUser");
        }
        modTLMain::Write_Op_Log("New Install Setup - eBay Sign In Failed");
    }

    // 3: the clock, from the first time server.
    modTLMain::Wait_Seconds(2);
    startRow(3);
    const bool clockSet = SetupChecks::clock().Sync_Clock_From_First_Server();
    setResult(3, clockSet);
    if (!clockSet) modTLMain::Write_Op_Log("New Install Setup - Clock Sync Failed");

    endRun("All Checks Completed");
}

std::string NewSetup::HelpText(int Index) {
    switch (Index) {
        case 1:
            return joinLines({"Setup was not able to connect to the Internet",
                              "The most likely cause is a firewall or anti-virus ",
                              "security program installed on your computer which ",
                              "is blocking access to the Internet. It is suggested ",
                              "that you include Tolvane Rerode in the allowed ", "programs list of these programs."});
        case 2:
            return joinLines({"Setup was not able to sign you into eBay", "Check your user ID and password for accuracy. ",
                              "Make sure you don't have issues with your user", "account by signing in manually."});
        case 3:
            return joinLines({"Setup was not able to synchronize your clock.",
                              "The NIST clock sync uses port 13 which may ",
                              "be blocked by a firewall. Try switching to eBay ", "time sync.", "",
                              "The time source is chosen in Setup (Help menu, or ",
                              "the toolbar), page \"Time Sync\": choose \"eBay\"."});
        case 4:
            return joinLines({"Setup has determined that your system Wake Timers ",
                              "may not be enabled. If the wake timers are not enabled ",
                              "it will prevent the auto wakeup feature from waking ",
                              "your computer and placing your bid ", "",
                              "Please check your Windows advance power options to  ", "verify the setting. ", "",
                              "Please refer to the Power section of the Help manual."});
        default:
            return {};
    }
}

void NewSetup::cmdHelp_Click(int Index) {
    const std::string text = HelpText(Index);
    if (text.empty()) return;
    Messages::DisplayMsg(text, 14, true, 0, "OK", "", "", true, false, "", "", "", 0, "", "", "");
}

bool NewSetup::Done() {
    if (modUsers::User_List().empty() &&
        platform::MsgBox("No User Stored! Continue?",
                         platform::vbYesNo | platform::vbQuestion | platform::vbSystemModal) != platform::vbYes)
        return false;
    modTLC::Save_Config_File();
    modTLMain::FirstRunSetup = 0;
    if (g_showMain) g_showMain();
    Unload();
    return true;
}

void NewSetup::closeEvent(QCloseEvent* e) {
    if (g_setup != this) {
        e->accept();
        return;
    }
    if (m_running || !Done()) {
        e->ignore();
        return;
    }
    e->accept();
}

bool NewSetup::rowShown(int row) const { return row >= 1 && row <= 4 && !Checks[row]->isHidden(); }
bool NewSetup::helpShown(int row) const { return row >= 1 && row <= 4 && !cmdHelp[row]->isHidden(); }

int NewSetup::rowResult(int row) const {
    if (row < 1 || row > 4 || Validation[row]->isHidden()) return -1;
    const QVariant r = Validation[row]->property("result");
    return r.isValid() ? r.toInt() : -1;
}

std::string NewSetup::heading() const { return Checks[0]->text().toStdString(); }
