#include "options/users_tab.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "foundation/config_store.h"
#include "foundation/small_routines.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "items/auction_item.h"
#include "items/categories.h"
#include "items/item_grid_link.h"
#include "items/item_window_links.h"
#include "options/add_user_form.h"
#include "options/change_password_form.h"
#include "options/users.h"
#include "platform/message_box.h"
#include "service/cookie_jar.h"
#include "service/sign_in.h"
#include "service/wininet.h"

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

constexpr const char* kNoUserSelected = "No User Selected";

// The user's bids that are still to be placed.
int Armed_Bids_Of(const std::string& user) {
    int n = 0;
    for (int i = 1; i <= TLMainItems::ItemCount; ++i) {
        const TLMainItems::AuctionItem* it = TLMainItems::Item_At(i);
        if (it && it->BidTimeSecs > 0 && it->UserID == user && it->BidStatus != "Completed" &&
            it->BidStatus != "Item Closed")
            ++n;
    }
    return n;
}

// What failed, below "User ID/Password Failed!". Only a refusal by the service leaves its details
// on the clipboard; "No Internet Connection" only when the service's name did not resolve.
std::string Sign_In_Failure_Text(const modTLMain::SignInResult& r) {
    if (r.refused)
        return "Detailed information has been copied to your clipboard for review.\r\n"
               "To view this information, paste the information into any \r\n"
               "text program such as Notepad.\r\n";
    const std::string& error = r.last.lastError;
    if (error == std::to_string(modWinInet::kErrNameNotResolved)) return "No Internet Connection";
    if (r.timedOut || error == std::to_string(modWinInet::kErrTimeout)) return "No Answer From eBay In Time";
    if (r.serverError) return "eBay Server Error " + r.last.status;
    if (error == std::to_string(modWinInet::kErrCannotConnect)) return "Can't Connect to eBay";
    if (!error.empty()) return "Connection to eBay Failed - Error " + error;
    return "No Answer From eBay";
}

}  // namespace

UsersTab::UsersTab(QWidget* parent) : QWidget(parent) {
    setObjectName("UsersTab");
    auto* layout = new QVBoxLayout(this);
    auto* users = new QGroupBox(this);
    auto* grid = new QGridLayout(users);
    Label2 = new QLabel("Users", users);
    labUserID = new QLabel("eBay User ID:", users);
    UserListbox = new QComboBox(users);
    UserListbox->setEditable(true);
    UserListbox->setInsertPolicy(QComboBox::NoInsert);
    cmdAddUser = new QPushButton("Add New User", users);
    cmdChgPass = new QPushButton("Change Password", users);
    DeleteUser = new QPushButton("Delete User", users);
    TestUserID = new QPushButton("Check User ID", users);
    labTestID = new QLabel(users);
    labTestID->hide();
    grid->addWidget(Label2, 0, 0, 1, 2);
    grid->addWidget(labUserID, 1, 0);
    grid->addWidget(UserListbox, 1, 1);
    grid->addWidget(cmdAddUser, 2, 0);
    grid->addWidget(cmdChgPass, 2, 1);
    grid->addWidget(DeleteUser, 3, 0);
    grid->addWidget(TestUserID, 3, 1);
    grid->addWidget(labTestID, 4, 0, 1, 2);
    layout->addWidget(users);
    siteFrame = new QGroupBox("eBay Site", this);
    new QVBoxLayout(siteFrame);
    layout->addWidget(siteFrame);
    layout->addStretch(1);

    connect(UserListbox, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling) UserListbox_Click();
    });
    connect(cmdAddUser, &QPushButton::clicked, this, [this] { cmdAddUser_Click(); });
    connect(cmdChgPass, &QPushButton::clicked, this, [this] { cmdChgPass_Click(); });
    connect(DeleteUser, &QPushButton::clicked, this, [this] { DeleteUser_Click(); });
    connect(TestUserID, &QPushButton::clicked, this, [this] { TestUserID_Click(); });
    Refresh_Buttons();
}

void UsersTab::setGroupsUserList(QComboBox* list) { m_groupsList = list; }
void UsersTab::setLoadSetupGroups(std::function<void()> load) { m_loadSetupGroups = std::move(load); }
void UsersTab::setLoadEmailSettings(std::function<void()> load) { m_loadEmailSettings = std::move(load); }

QWidget* UsersTab::setupWindow() { return window(); }

void UsersTab::Load_Users() {
    Fill_User_Lists();
    if (m_loadSetupGroups) m_loadSetupGroups();
    Select_Current_User();
}

// A list's entries, alphabetical without regard to case, and nothing selected. Filling a list
// runs no selection handling.
void UsersTab::fillList(QComboBox* list, const std::vector<std::string>& names) {
    if (!list) return;
    const QSignalBlocker quiet(list);
    list->clear();
    for (const std::string& n : names) list->addItem(q(n));
    list->setCurrentIndex(-1);
}

void UsersTab::Fill_User_Lists() {
    const std::vector<std::string> names = TLMainItems::Sort_Menu(modUsers::User_List());
    m_filling = true;
    fillList(UserListbox, names);
    m_filling = false;
    fillList(m_groupsList, names);
    Refresh_Buttons();
}

void UsersTab::selectIndex(QComboBox* list, int index) {
    if (list && index < list->count()) list->setCurrentIndex(index);
}

void UsersTab::Select_Current_User() {
    const std::string& user = UserState::CurrentUserID;
    const int index = user.empty() ? -1 : UserListbox->findText(q(user), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) {
        UserListbox->setCurrentIndex(index);  // the handling ends at once: the entry is current
        selectIndex(m_groupsList, index);
    } else if (UserListbox->currentIndex() >= 0) {
        // No entry is the current user: none stays selected from before.
        m_filling = true;
        UserListbox->setCurrentIndex(-1);
        m_filling = false;
    }
    if (user.empty()) UserListbox->setEditText(kNoUserSelected);
    Refresh_Buttons();
}

void UsersTab::UserListbox_Click() {
    const std::string user = selectedEntry();
    if (user.empty() || user == UserState::CurrentUserID) return;
    if (modUsers::User_Is_Gated(user)) {
        // The password question must show in front of this dialog (which shows the window again:
        // the page keeps the entry being chosen).
        m_choosing = true;
        modTLMain::Set_Window_Topmost(setupWindow(), 0);
        m_choosing = false;
        if (!modUsers::Ask_Gated_Password(user)) {
            m_filling = true;
            UserListbox->setCurrentIndex(-1);
            m_filling = false;
            return;
        }
    }
    selectIndex(m_groupsList, UserListbox->currentIndex());
    modUsers::Make_Current_User(user);
    if (m_loadEmailSettings) m_loadEmailSettings();
    TLMainItems::itemGrid().loadItemGrid();
    Refresh_Buttons();
}

void UsersTab::cmdAddUser_Click() { AddUser::Show_AddUser(this); }

// The dialog is one of this window's own, so it shows in front of it while this window stays
// above the others: taking this window's place on top away first would only remake it, and it
// would come back on top of the dialog as it is activated again.
void UsersTab::cmdChgPass_Click() {
    if (modUsers::Stored_User_Key(UserState::CurrentUserID).empty()) return;
    ChgPass::Show_ChgPass(this);
}

void UsersTab::DeleteUser_Click() {
    const std::string user = selectedEntry();
    if (user.empty()) return;
    std::string question = "Delete User - " + user + "?";
    if (const int armed = Armed_Bids_Of(user); armed > 0)
        question += "\r\n\r\nThis user has " + std::to_string(armed) +
                    " armed bid(s), which can no longer be placed once the user is deleted.";
    const int answer = platform::MsgBox(
        question, platform::vbYesNo | platform::vbExclamation | platform::vbDefaultButton2 | platform::vbSystemModal,
        "Delete User");
    if (answer == platform::vbNo) return;

    modTLC::Delete_Config_Key(modUsers::kUsersSection, user);
    // LastUser goes only when it names this user: another last user still starts the program.
    if (vb::EqualText(modTLC::Get_Config_Value("Options", "LastUser", ""), user))
        modTLC::Delete_Config_Key("Options", "LastUser");
    modTLC::Delete_Config_Key(modUsers::kLogInSection, user);
    modWinInet::Clear_Cookies(user);
    if (user == UserState::CurrentUserID) {
        UserState::CurrentUserID.clear();
        TLMainItems::itemLink<TLMainItems::ItemWindow>().setMainCaption(
            "Tolvane Rerode II  -  User:   -  Category:");
    }
    Fill_User_Lists();
}

void UsersTab::TestUserID_Click() {
    const std::string user = UserState::CurrentUserID;
    if (user.empty()) {
        platform::MsgBox("        No User Selected!        ", platform::vbOKOnly | platform::vbSystemModal);
        return;
    }
    if (modTLMain::Get_User_Password(user).empty()) {
        platform::MsgBox("No User Password Found", platform::vbOKOnly);
        return;
    }
    UserState::SignInTest = -1;
    labTestID->setText("Checking User ID and Password");
    labTestID->show();
    labTestID->repaint();
    const modTLMain::SignInResult result = modUsers::Sign_In_For_Result(user);
    if (result.ok) {
        labTestID->setText("User ID/Password is OK!");
    } else {
        platform::MsgBox("User ID/Password Failed!\r\n\r\n" + Sign_In_Failure_Text(result),
                         platform::vbOKOnly | platform::vbSystemModal);
    }
    UserState::SignInTest = 0;
}

void UsersTab::chooseUser(const std::string& entry) {
    const int i = UserListbox->findText(q(entry), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i >= 0) UserListbox->setCurrentIndex(i);
}

std::vector<std::string> UsersTab::entries() const {
    std::vector<std::string> out;
    for (int i = 0; i < UserListbox->count(); ++i) out.push_back(UserListbox->itemText(i).toStdString());
    return out;
}

std::string UsersTab::selectedEntry() const {
    const int i = UserListbox->currentIndex();
    return i >= 0 ? UserListbox->itemText(i).toStdString() : std::string();
}

std::string UsersTab::listText() const { return UserListbox->currentText().toStdString(); }

void UsersTab::Refresh_Buttons() {
    cmdChgPass->setEnabled(!modUsers::Stored_User_Key(UserState::CurrentUserID).empty());
}

// The tray menu may have switched users meanwhile: the page shows the current user, so that
// "Change Password" names the user whose password it writes.
void UsersTab::showEvent(QShowEvent* e) {
    if (!m_choosing) Select_Current_User();
    QWidget::showEvent(e);
}

void UsersPageDialog::Form_Unload() {
    QWidget* setup = m_tab ? m_tab->setupWindow() : nullptr;
    if (setup && setup->isVisible()) modTLMain::Set_Window_Topmost(setup, -1);
}

void UsersPageDialog::Unload() {
    if (m_unloaded) return;
    m_unloaded = true;
    forget();
    hide();
    Form_Unload();
    deleteLater();
}

void UsersPageDialog::closeEvent(QCloseEvent* e) {
    e->accept();
    Unload();
}
