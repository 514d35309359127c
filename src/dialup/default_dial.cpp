#include "dialup/default_dial.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "foundation/config_store.h"
#include "foundation/small_routines.h"
#include "foundation/vb.h"
#include "options/setup_form.h"
#include "platform/dialog_keys.h"
#include "platform/message_box.h"

namespace {
DefaultDial* g_dialog = nullptr;
}

DefaultDial& DefaultDial::Show_DefaultDial() {
    if (!g_dialog) {
        g_dialog = new DefaultDial;
        g_dialog->Form_Load();
    }
    g_dialog->show();
    g_dialog->raise();
    return *g_dialog;
}

DefaultDial* DefaultDial::loaded() { return g_dialog; }

DefaultDial::DefaultDial() {
    setObjectName("DefaultDial");
    setWindowTitle("Default Dial-up Account");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* grid = new QGridLayout(this);
    Label1 = new QLabel("User Name", this);
    Label2 = new QLabel("Password", this);
    Label3 = new QLabel("Phone Number", this);
    txtUsername = new QLineEdit(this);
    txtPassword = new QLineEdit(this);
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPhone = new QLineEdit(this);
    AlwaysUse = new QCheckBox("Always Use", this);
    cmdOK = new QPushButton("OK", this);
    cmdCancel = new QPushButton("Cancel", this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(txtUsername, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(txtPassword, 1, 1);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(txtPhone, 2, 1);
    grid->addWidget(AlwaysUse, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 4, 0, 1, 2);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

DefaultDial::~DefaultDial() {
    if (g_dialog == this) g_dialog = nullptr;
}

void DefaultDial::Form_Load() {
    adjustSize();
    modTLMain::Place_Over_Main_Window(this);
    txtUsername->setText(QString::fromStdString(modTLC::Get_Config_Value("DUN", "DefaultUser", "")));
    txtPassword->setText(QString::fromStdString(modTLC::Get_Config_Value("DUN", "DefaultPassword", "")));
    txtPhone->setText(QString::fromStdString(modTLC::Get_Config_Value("DUN", "DefaultPhone", "")));
    AlwaysUse->setChecked(vb::Val(modTLC::Get_Config_Value("DUN", "DefaultStatus", "0")) != 0);
}

void DefaultDial::Form_Activate() { modTLMain::Set_Window_Topmost(this, -1); }

bool DefaultDial::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) Form_Activate();
    return QWidget::event(e);
}

void DefaultDial::cmdOK_Click() {
    const int style = platform::vbOKOnly | platform::vbSystemModal;
    if (txtUsername->text().isEmpty()) return void(platform::MsgBox("Missing User Name....", style));
    if (txtPassword->text().isEmpty()) return void(platform::MsgBox("Missing Password....", style));
    if (txtPhone->text().isEmpty()) return void(platform::MsgBox("Missing Phone Number....", style));
    modTLC::Set_Config_Value("DUN", "DefaultUser", txtUsername->text().toStdString());
    modTLC::Set_Config_Value("DUN", "DefaultPassword", txtPassword->text().toStdString());
    modTLC::Set_Config_Value("DUN", "DefaultPhone", txtPhone->text().toStdString());
    modTLC::Set_Config_Value("DUN", "DefaultStatus", AlwaysUse->isChecked() ? "1" : "0");
    unload();
}

void DefaultDial::cmdCancel_Click() { unload(); }

// Enter presses the button with the focus, else OK; Esc is Cancel.
void DefaultDial::keyPressEvent(QKeyEvent* e) {
    if (!platform::pressButtonForKey(this, e, cmdOK, cmdCancel)) QWidget::keyPressEvent(e);
}

// However the dialog closes, the options dialog it was opened from is shown again.
void DefaultDial::closeEvent(QCloseEvent* e) {
    e->accept();
    if (g_dialog != this) return;  // already unloaded
    g_dialog = nullptr;
    Setup::instance().setVisible(true);
}

void DefaultDial::unload() { close(); }
