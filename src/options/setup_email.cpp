// The options dialog's eMail page: the three result addresses with their switches and the
// outgoing mail account; "Test" sends the sample result mail through the bid engine.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "bidding/bid_email.h"
#include "foundation/config_store.h"
#include "foundation/vb.h"
#include "options/setup_form.h"

namespace {

// A stored switch as a box shows it: "1" checks, "0" clears; anything else leaves the box alone.
void showSwitch(QCheckBox* box, const std::string& value) {
    if (!vb::IsNumeric(value)) return;
    const double v = vb::CDbl(value);
    if (v == 1 || v == 0) box->setChecked(v == 1);
}

}  // namespace

void Setup::buildEmailPage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);

    auto* sendTo = new QGroupBox("Send To", page);
    auto* sendToLayout = new QGridLayout(sendTo);
    const char* slotCaptions[3] = {"Work:", "Home:", "Cell:"};
    for (int n = 0; n < 3; ++n) {
        chkEMEnabled[static_cast<size_t>(n)] = new QCheckBox(slotCaptions[n], sendTo);
        Email[static_cast<size_t>(n)] = new QLineEdit(sendTo);
        sendToLayout->addWidget(chkEMEnabled[static_cast<size_t>(n)], n, 0);
        sendToLayout->addWidget(Email[static_cast<size_t>(n)], n, 1);
    }
    layout->addWidget(sendTo);

    auto* account = new QGroupBox("Email Account", page);
    auto* accountLayout = new QGridLayout(account);
    ActSMTPServer = new QLineEdit(account);
    ActSMTPPort = new QLineEdit(account);
    ActName = new QLineEdit(account);
    ActPass = new QLineEdit(account);
    ActPass->setEchoMode(QLineEdit::Password);
    ActPass->setStyleSheet("lineedit-password-character: 42");  // "*"
    const std::pair<const char*, QLineEdit*> rows[4] = {{"SMTP Server Name:", ActSMTPServer},
                                                         {"SMTP Server Port:", ActSMTPPort},
                                                         {"Account Name:", ActName},
                                                         {"Password:", ActPass}};
    for (int r = 0; r < 4; ++r) {
        accountLayout->addWidget(new QLabel(rows[r].first, account), r, 0);
        accountLayout->addWidget(rows[r].second, r, 1);
    }
    chkAuthReq = new QCheckBox("Outgoing Email Server Requires Authentication ", account);
    accountLayout->addWidget(chkAuthReq, 4, 0, 1, 2);
    cmdTestEmail = new QPushButton("Test", account);
    accountLayout->addWidget(cmdTestEmail, 5, 0);
    layout->addWidget(account);
    layout->addStretch(1);

    for (int n = 0; n < 3; ++n) {
        const std::string address = "Email" + std::to_string(n);
        const std::string enabled = "EmailEn" + std::to_string(n);
        QLineEdit* box = Email[static_cast<size_t>(n)];
        QCheckBox* on = chkEMEnabled[static_cast<size_t>(n)];
        connect(box, &QLineEdit::textChanged, this,
                [box, address] { modTLC::Set_Config_Value("Remote", address, box->text().toStdString()); });
        connect(on, &QCheckBox::toggled, this,
                [on, enabled] { modTLC::Set_Config_Value("Remote", enabled, on->isChecked() ? "1" : "0"); });
    }
    for (auto [key, box] : {std::pair{"ActSMTPServer", ActSMTPServer}, std::pair{"ActSMTPPort", ActSMTPPort},
                            std::pair{"ActName", ActName}, std::pair{"ActPass", ActPass}})
        connect(box, &QLineEdit::textChanged, this,
                [key = key, box = box] { modTLC::Set_Config_Value("Remote", key, box->text().toStdString()); });
    connect(chkAuthReq, &QCheckBox::toggled, this, [this] { writeCheck(chkAuthReq, "Remote", "AuthReq"); });
    connect(cmdTestEmail, &QPushButton::clicked, this, [this] { cmdTestEmail_Click(); });
}

// Fills the page from [Remote]; the same for every user. A box whose value changes writes it back.
void Setup::Load_Email_Settings() {
    for (int n = 0; n < 3; ++n) {
        const std::string slot = std::to_string(n);
        Email[static_cast<size_t>(n)]->setText(
            QString::fromStdString(modTLC::Get_Config_Value("Remote", "Email" + slot, "")));
        showSwitch(chkEMEnabled[static_cast<size_t>(n)], modTLC::Get_Config_Value("Remote", "EmailEn" + slot, "0"));
    }
    ActSMTPServer->setText(QString::fromStdString(modTLC::Get_Config_Value("Remote", "ActSMTPServer", "")));
    ActSMTPPort->setText(QString::fromStdString(modTLC::Get_Config_Value("Remote", "ActSMTPPort", "")));
    ActName->setText(QString::fromStdString(modTLC::Get_Config_Value("Remote", "ActName", "")));
    ActPass->setText(QString::fromStdString(modTLC::Get_Config_Value("Remote", "ActPass", "")));
    showSwitch(chkAuthReq, modTLC::Get_Config_Value("Remote", "AuthReq", "0"));
}

void Setup::cmdTestEmail_Click() { modTLMain::Test_Email(); }
