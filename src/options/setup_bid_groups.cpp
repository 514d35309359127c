// The options dialog's Bid Groups page: the names of each user's bid groups. The bid engine's
// group procedures keep [BidGroups]; a name is trimmed first and must be fit to be a key, a
// group is added only for a chosen user, and another user's group is neither taken over nor
// removed.
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "bidding/bid_groups.h"
#include "foundation/vb.h"
#include "options/setup_form.h"
#include "platform/message_box.h"

namespace {

constexpr const char* kInvalidName = "Invalid Name!";

}  // namespace

void Setup::buildBidGroupsPage(QWidget* page) {
    auto* layout = new QGridLayout(page);
    layout->addWidget(new QLabel("Setup Bid Groups", page), 0, 0, 1, 3);
    layout->addWidget(new QLabel("eBay User ID:", page), 1, 0);
    UserListboxGrps = new QComboBox(page);
    layout->addWidget(UserListboxGrps, 1, 1, 1, 2);
    layout->addWidget(new QLabel("Bid Groups:", page), 2, 0);
    lstBidGrps = new QListWidget(page);
    layout->addWidget(lstBidGrps, 2, 1, 1, 2);
    txtBidGrp = new QLineEdit(page);
    layout->addWidget(txtBidGrp, 3, 1, 1, 2);
    cmdAddBidGrp = new QPushButton("Add", page);
    cmdRemBidGrp = new QPushButton("Remove", page);
    layout->addWidget(cmdAddBidGrp, 4, 1);
    layout->addWidget(cmdRemBidGrp, 4, 2);
    layout->setRowStretch(2, 1);
    cmdAddBidGrp->setEnabled(false);  // no user chosen yet

    connect(UserListboxGrps, &QComboBox::currentIndexChanged, this, [this] { UserListboxGrps_Click(); });
    connect(lstBidGrps, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) lstBidGrps_Click();
    });
    connect(cmdAddBidGrp, &QPushButton::clicked, this, [this] { cmdAddBidGrp_Click(); });
    connect(cmdRemBidGrp, &QPushButton::clicked, this, [this] { cmdRemBidGrp_Click(); });
}

void Setup::UserListboxGrps_Click() { Load_Setup_Groups(); }

void Setup::lstBidGrps_Click() {
    if (const QListWidgetItem* item = lstBidGrps->currentItem()) txtBidGrp->setText(item->text());
}

// Lists the chosen user's groups in stored order and empties the name box.
void Setup::Load_Setup_Groups() {
    const std::string user = UserListboxGrps->currentText().toStdString();
    {
        const QSignalBlocker quiet(lstBidGrps);
        lstBidGrps->clear();
        for (const std::string& name : modBidGroups::Load_Setup_Groups(user))
            lstBidGrps->addItem(QString::fromStdString(name));
    }
    txtBidGrp->clear();
    cmdAddBidGrp->setEnabled(!user.empty());
}

void Setup::cmdAddBidGrp_Click() {
    const std::string name = vb::Trim(txtBidGrp->text().toStdString());
    const std::string user = UserListboxGrps->currentText().toStdString();
    if (name.empty() || user.empty()) return;
    if (!modBidGroups::Valid_Group_Name(name)) {
        platform::MsgBox(kInvalidName, platform::vbOKOnly | platform::vbExclamation | platform::vbSystemModal);
        return;
    }
    // The bid engine refuses a name that another user's group has.
    if (modBidGroups::Add_Bid_Group(name, user)) Load_Setup_Groups();
}

void Setup::cmdRemBidGrp_Click() {
    const std::string name = vb::Trim(txtBidGrp->text().toStdString());
    if (name.empty()) return;
    modBidGroups::Remove_Bid_Group(name, UserListboxGrps->currentText().toStdString());
    Load_Setup_Groups();
}
