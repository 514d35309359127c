#include "mainwindow/add_link.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>

#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/small_routines.h"
#include "foundation/vb.h"
#include "mainwindow/browser_views.h"
#include "mainwindow/links_searches.h"
#include "platform/message_box.h"

namespace {
AddLink* g_dialog = nullptr;

bool searchMode() { return TLMainLinksMenu::AddLinkMode != "Link"; }
}  // namespace

AddLink& AddLink::instance() {
    if (!g_dialog) {
        g_dialog = new AddLink();
        g_dialog->Form_Load();
    }
    return *g_dialog;
}

AddLink* AddLink::loaded() { return g_dialog; }

AddLink::AddLink() : QWidget(nullptr, Qt::Dialog) {
    setObjectName("AddLink");
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* grid = new QGridLayout(this);
    UrlLab = new QLabel(this);
    NameLab = new QLabel(this);
    txtLinkURL = new QLineEdit(this);
    txtLinkName = new QLineEdit(this);
    txtLinkURL->setMinimumWidth(360);
    txtLinkURL->installEventFilter(this);
    cmdOK = new QPushButton("OK", this);
    cmdCancel = new QPushButton("Cancel", this);
    cmdOK->setDefault(true);
    grid->addWidget(UrlLab, 0, 0);
    grid->addWidget(txtLinkURL, 0, 1);
    grid->addWidget(NameLab, 1, 0);
    grid->addWidget(txtLinkName, 1, 1);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 2, 0, 1, 2);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

AddLink::~AddLink() {
    if (g_dialog == this) g_dialog = nullptr;
}

void AddLink::Form_Load() {
    if (searchMode()) {
        setWindowTitle("Add New Search");
        UrlLab->setText("Search URL:");
        NameLab->setText("Search Name:");
    } else {
        setWindowTitle("Add New Link");
        UrlLab->setText("Link URL:");
        NameLab->setText("Link Name:");
    }
    adjustSize();
    modTLMain::Place_Over_Main_Window(this);
}

void AddLink::cmdOK_Click() {
    const std::string url = vb::Trim(txtLinkURL->text().toStdString());
    const std::string name = vb::Trim(txtLinkName->text().toStdString());
    const int style = platform::vbOKOnly + platform::vbSystemModal;
    if (url.empty() || name.empty()) {
        platform::MsgBox("Missing URL or Name!", style);
        return;
    }
    if (!TLMainLinksMenu::Valid_Entry_Name(name)) {
        platform::MsgBox("Invalid Name!", style);
        return;
    }
    if (TLMainBrowser::Browser_Address(url).empty()) {
        platform::MsgBox("Invalid URL!", style);
        return;
    }
    if (searchMode()) {
        modTLC::Set_Config_Value("Searches", name, url);
        TLMainLinksMenu::Load_Search_Menu();
    } else {
        modTLC::Set_Config_Value("Links", name, url);
        TLMainLinksMenu::Load_Links_Menu();
    }
    unload();
}

void AddLink::cmdCancel_Click() { unload(); }

void AddLink::Form_Activate() {
    modTLMain::Set_Window_Topmost(this, -1);
    activateWindow();
}

bool AddLink::txtLinkURL_OLEDragDrop(const QString* droppedText) {
    if (!droppedText) return false;
    txtLinkURL->setText(*droppedText);
    return true;
}

// However the dialog goes, the main window comes back.
void AddLink::closeEvent(QCloseEvent* e) {
    e->accept();
    if (!m_unloading) unload();
}

bool AddLink::eventFilter(QObject* watched, QEvent* e) {
    if (watched == txtLinkURL && e->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(e);
        const QMimeData* data = drop->mimeData();
        if (data && data->hasText()) {
            const QString text = data->text();
            txtLinkURL_OLEDragDrop(&text);
            drop->acceptProposedAction();
        } else {
            drop->ignore();
        }
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

void AddLink::unload() {
    if (m_unloading) return;
    m_unloading = true;
    TLMainLink::window().setVisible(true);
    if (g_dialog == this) g_dialog = nullptr;
    hide();
    deleteLater();
}
