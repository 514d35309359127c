#include "mainwindow/tl_main.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>
#include <unistd.h>

#include "foundation/config_store.h"
#include "foundation/logs.h"
#include "foundation/startup.h"
#include "service/wininet.h"

using TLMainLink::MenuItem;

namespace {
TLMain* g_main = nullptr;
}  // namespace

TLMain::TLMain() {
    setWindowTitle("Tolvane Rerode II");
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    OpLog = new QPlainTextEdit(central);
    OpLog->setReadOnly(true);
    OpLog->hide();
    layout->addWidget(OpLog);
    setCentralWidget(central);
    MsgLab = new QLabel(this);
    statusBar()->addWidget(MsgLab, 1);
    resize(800, 500);
    DisplayTime.setHandler([this] { DisplayTime_Timer(); });
}

TLMain::~TLMain() {
    if (g_main == this) g_main = nullptr;
    TLMainLink::releaseDuties(this);
}

TLMain& TLMain::instance() {
    if (!g_main) g_main = new TLMain();
    return *g_main;
}

bool TLMain::loaded() { return g_main != nullptr; }

void TLMain::unloadForTests() {
    delete g_main;
    g_main = nullptr;
}

void TLMain::Form_Load() {
    TLMainLink::registerDuties(this);
    const qulonglong handle = winId() ? static_cast<qulonglong>(winId()) : static_cast<qulonglong>(::getpid());
    modTLC::Set_Config_Value("Options", "WHwnd", std::to_string(handle));
    DisplayTime.setInterval(1000);
    DisplayTime.setEnabled(true);
}

void TLMain::DisplayTime_Timer() {
    // The configuration is written five ticks after the last change of a burst.
    if (modTLC::ConfigDirty == 1) {
        --modTLC::ConfigSaveCountdown;
        if (modTLC::ConfigSaveCountdown <= 0) modTLC::Save_Config_File();
    }
}

void TLMain::Form_Unload() {
    if (m_unloaded) return;
    m_unloaded = true;
    DisplayTime.setEnabled(false);
    modTLMain::Write_Op_Log("Program Ended");
    modWinInet::Close_Session();
    if (modTLC::ConfigDirty == 1) modTLC::Save_Config_File();
    TLMainLink::releaseDuties(this);
}

void TLMain::setWindowState(int state) {
    QMainWindow::setWindowState(state == 1   ? Qt::WindowMinimized
                                : state == 2 ? Qt::WindowMaximized
                                             : Qt::WindowNoState);
}

void TLMain::closeEvent(QCloseEvent* e) {
    Form_Unload();
    e->accept();
    QCoreApplication::quit();
}

void TLMain::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) hideLogBox();
    QMainWindow::keyPressEvent(e);
}

void TLMain::setStatus(const std::string& text) { MsgLab->setText(QString::fromStdString(text)); }
std::string TLMain::statusText() const { return MsgLab->text().toStdString(); }

void TLMain::showLogBox(const std::string& text) {
    OpLog->setPlainText(QString::fromStdString(text));
    OpLog->verticalScrollBar()->setValue(OpLog->verticalScrollBar()->maximum());
    OpLog->show();
    OpLog->raise();
}

void TLMain::hideLogBox() { OpLog->hide(); }

bool TLMain::menuChecked(MenuItem item) const {
    const auto it = m_checked.find(item);
    return it != m_checked.end() && it->second;
}

bool TLMain::menuVisible(MenuItem item) const {
    const auto it = m_menuVisible.find(item);
    return it != m_menuVisible.end() && it->second;
}

void TLMain::showAndRaise() {
    showNormal();
    raise();
    activateWindow();
}
