#include "options/login_form.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <memory>

#include "foundation/config_store.h"
#include "foundation/small_routines.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "items/categories.h"
#include "options/users.h"
#include "platform/dialog_keys.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/timers.h"

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

std::function<void(Login&)>& showHook() {
    static std::function<void(Login&)> hook;
    return hook;
}

constexpr qint64 kWaitSliceMs = 60000;

}  // namespace

Login::Login() {
    setObjectName("Login");
    // A fixed dialog frame without minimise, maximise or close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setWindowModality(Qt::ApplicationModal);
    auto* grid = new QGridLayout(this);
    Label1 = new QLabel("A Login Password is Required for this User!", this);
    grid->addWidget(Label1, 0, 0, 1, 2);
    Label3 = new QLabel("User Password:", this);
    UsersPassBox = new QLineEdit(this);
    UsersPassBox->setEchoMode(QLineEdit::Password);
    Label2 = new QLabel("User:", this);
    UserListbox = new QComboBox(this);
    UserListbox->setEditable(false);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(UserListbox, 1, 1);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(UsersPassBox, 2, 1);
    auto* buttons = new QHBoxLayout;
    LoginCmd = new QPushButton("Login", this);
    ExitCmd = new QPushButton("Exit", this);
    buttons->addWidget(LoginCmd);
    buttons->addWidget(ExitCmd);
    grid->addLayout(buttons, 3, 0, 1, 2);
    // The password box is first in the tab order: it has the focus when the dialog opens.
    setTabOrder(UsersPassBox, UserListbox);
    setTabOrder(UserListbox, LoginCmd);
    setTabOrder(LoginCmd, ExitCmd);

    connect(UserListbox, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling) UserListbox_Click();
    });
    connect(LoginCmd, &QPushButton::clicked, this, [this] { LoginCmd_Click(); });
    connect(ExitCmd, &QPushButton::clicked, this, [this] { ExitCmd_Click(); });
    // Login is the default: Enter in the password box or on the list logs in.
    m_defaultMark.follow(this, [this] { return LoginCmd; });
    platform::passEnterToWindow(this);  // Enter on the user list logs in, it does not open the list
}

void Login::Show_Login() {
    QPointer<Login> dlg = new Login();
    std::unique_ptr<Login> owner(dlg.data());
    dlg->Form_Load();
    dlg->show();
    dlg->UsersPassBox->setFocus();
    if (showHook()) showHook()(*dlg);
    auto done = [&dlg] { return !dlg || dlg->m_loggedIn; };
    while (!done()) platform::timers().waitUntil(done, kWaitSliceMs);
    if (!dlg) owner.release();  // deleted elsewhere
}

void Login::SetShowHookForTests(std::function<void(Login&)> hook) { showHook() = std::move(hook); }

void Login::Form_Load() {
    setWindowTitle("Tolvane Rerode II Login");
    adjustSize();
    modTLMain::Place_Over_Main_Window(this);

    // The users and "GUEST", alphabetical without regard to case. GUEST is there even without
    // users, so the dialog always offers a way on.
    std::vector<std::string> names = modUsers::User_List();
    names.push_back(modUsers::kGuestUser);
    names = TLMainItems::Sort_Menu(std::move(names));
    m_filling = true;
    UserListbox->clear();
    for (const std::string& n : names) UserListbox->addItem(q(n));
    UserListbox->setCurrentIndex(-1);
    m_filling = false;

    // The last user is found as the store finds it, without regard to case.
    for (int i = 0; i < UserListbox->count(); ++i) {
        if (vb::EqualText(UserListbox->itemText(i).toStdString(), UserState::CurrentUserID)) {
            UserListbox->setCurrentIndex(i);  // runs the selection handling
            break;
        }
    }
    LoginCmd->setEnabled(UserListbox->currentIndex() >= 0);
}

void Login::Form_Activate() { modTLMain::Set_Window_Topmost(this, -1); }

// An entry without a gate (GUEST included) is the current user and the last user at once; a
// gated entry becomes current only when its password is typed.
void Login::UserListbox_Click() {
    const std::string entry = selectedEntry();
    LoginCmd->setEnabled(!entry.empty());
    if (entry.empty() || modUsers::User_Is_Gated(entry)) return;
    UserState::CurrentUserID = entry;
    modTLC::Set_Config_Value("Options", "LastUser", entry);
}

void Login::LoginCmd_Click() {
    const std::string entry = selectedEntry();
    if (entry.empty()) return;
    if (modUsers::User_Is_Gated(entry) &&
        UsersPassBox->text().toStdString() != modTLMain::Get_User_Password(entry)) {
        platform::MsgBox("Invalid Password!", platform::vbOKOnly | platform::vbExclamation | platform::vbSystemModal,
                         "Invalid Password");
        return;
    }
    UserState::CurrentUserID = entry;
    m_loggedIn = true;
    hide();
}

void Login::ExitCmd_Click() {
    hide();
    platform::exitProcess(0);
}

void Login::chooseUser(const std::string& entry) {
    const int i = UserListbox->findText(q(entry), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i >= 0) UserListbox->setCurrentIndex(i);
}

void Login::typePassword(const std::string& text) { UsersPassBox->setText(q(text)); }

std::vector<std::string> Login::entries() const {
    std::vector<std::string> out;
    for (int i = 0; i < UserListbox->count(); ++i) out.push_back(UserListbox->itemText(i).toStdString());
    return out;
}

std::string Login::selectedEntry() const {
    return UserListbox->currentIndex() >= 0 ? UserListbox->currentText().toStdString() : std::string();
}

bool Login::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && !m_loggedIn) Form_Activate();
    return QWidget::event(e);
}

// Enter presses the button with the focus, else Login. Esc does nothing: the one way out is Exit.
void Login::keyPressEvent(QKeyEvent* e) {
    if (!platform::pressButtonForKey(this, e, LoginCmd, nullptr)) QWidget::keyPressEvent(e);
}

// The window system's close request is the Exit button.
void Login::closeEvent(QCloseEvent* e) {
    if (m_loggedIn) {
        e->accept();
        return;
    }
    e->ignore();
    ExitCmd_Click();
}
