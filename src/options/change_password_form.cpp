#include "options/change_password_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "foundation/config_store.h"
#include "foundation/small_routines.h"
#include "foundation/user_state.h"
#include "options/users.h"
#include "options/users_tab.h"
#include "platform/dialog_keys.h"
#include "platform/message_box.h"
#include "platform/window_routines.h"

namespace {

ChgPass* g_chgPass = nullptr;

void notice(const std::string& text) { platform::MsgBox(text, platform::vbOKOnly | platform::vbSystemModal); }

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

// A dialog of the options dialog: the window manager keeps it in front of that window, which
// keeps itself above the others, however the user moves between the two. It goes with the
// options dialog.
ChgPass::ChgPass(QWidget* setup) : UsersPageDialog(setup) {
    setObjectName("ChgPass");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle("Change User Password");
    auto* grid = new QGridLayout(this);
    labchgpass = new QLabel(
        "To change your ebay user password enter your new password in the new password and confirmation boxes.",
        this);
    labchgpass->setWordWrap(true);
    grid->addWidget(labchgpass, 0, 0, 1, 2);
    const char* captions[3] = {"", "New Password:", "Confirm Password:"};
    for (int i = 1; i <= 2; ++i) {
        Label1[i] = new QLabel(captions[i], this);
        Text1[i] = new QLineEdit(this);
        Text1[i]->setEchoMode(QLineEdit::Password);
        grid->addWidget(Label1[i], i, 0);
        grid->addWidget(Text1[i], i, 1);
    }
    auto* buttons = new QHBoxLayout;
    cmdOK[0] = new QPushButton("Change", this);
    cmdOK[1] = new QPushButton("Cancel", this);
    for (int i = 0; i < 2; ++i) {
        buttons->addWidget(cmdOK[i]);
        connect(cmdOK[i], &QPushButton::clicked, this, [this, i] { cmdOK_Click(i); });
    }
    grid->addLayout(buttons, 3, 0, 1, 2);
    m_defaultMark.follow(this, [this] { return cmdOK[0]; });
}

ChgPass::~ChgPass() { forget(); }

// The user is the current user as the dialog opens, and stays that user while it is open. Opened
// again for another user, it starts with empty boxes.
ChgPass& ChgPass::Show_ChgPass(UsersTab* tab) {
    if (!g_chgPass) {
        g_chgPass = new ChgPass(tab ? tab->setupWindow() : nullptr);
        g_chgPass->Form_Load();
    }
    ChgPass& dialog = *g_chgPass;
    const std::string user = modUsers::Stored_User_Key(UserState::CurrentUserID);
    if (user != dialog.m_user) {
        dialog.Text1[1]->clear();
        dialog.Text1[2]->clear();
    }
    dialog.m_user = user;
    dialog.m_tab = tab;
    dialog.setWindowTitle(q("Change " + user + " Password"));
    platform::widenForTitle(&dialog);  // the title names the user: it must be read whole
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    dialog.Text1[1]->setFocus();
    return dialog;
}

ChgPass* ChgPass::loaded() { return g_chgPass; }

// Brought to the front once, not kept there.
void ChgPass::Form_Load() {
    adjustSize();
    modTLMain::Place_Over_Main_Window(this);
    modTLMain::Set_Window_Topmost(this, -1);
    modTLMain::Set_Window_Topmost(this, 0);
}

void ChgPass::cmdOK_Click(int index) {
    if (index != 0) {
        Unload();
        return;
    }
    // The password goes to the line of the user the dialog was opened for, never to another user
    // who became current meanwhile (by the tray or the user list); a user deleted meanwhile gets
    // no line again.
    if (m_user.empty()) return notice("        No User Selected!        ");
    const std::string user = modUsers::Stored_User_Key(m_user);
    if (user.empty()) return notice("User " + m_user + " No Longer Exists!");
    const std::string password = Text1[1]->text().toStdString();
    if (password.empty()) return notice("No User Password Entered....");
    if (modUsers::Password_Has_Outer_Blank(password)) return notice(modUsers::kOuterBlankPassword);
    if (password != Text1[2]->text().toStdString()) return notice("Error! Invalid Confirmation Password.");
    modTLC::Set_Config_Value(modUsers::kUsersSection, user, password);
    notice("Your Password has been Changed");
    Unload();
}

void ChgPass::keyPressEvent(QKeyEvent* e) {
    if (!platform::pressButtonForKey(this, e, cmdOK[0], cmdOK[1])) UsersPageDialog::keyPressEvent(e);
}

void ChgPass::forget() {
    if (g_chgPass == this) g_chgPass = nullptr;
}
