#include "options/new_setup.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/config_store.h"
#include "foundation/startup.h"

namespace {
NewSetup* g_setup = nullptr;
std::function<void()> g_showMain;
}  // namespace

NewSetup::NewSetup() {
    setWindowTitle("Tolvane Rerode II Setup");
    auto* layout = new QVBoxLayout(this);
    labInfo = new QLabel("Welcome to Tolvane Rerode II.", this);
    layout->addWidget(labInfo);
    auto* finish = new QPushButton("Finish", this);
    layout->addWidget(finish);
    connect(finish, &QPushButton::clicked, this, [this] { Done(); });
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
    // Enabled in the window's design: fires once, 10 ms after the load.
    LIF.setInterval(10);
    LIF.setEnabled(true);
}

void NewSetup::LIF_Timer() {
    LIF.setEnabled(false);
    modTLC::LDIF();
    modTLMain::ConfigLoaded = 1;
}

void NewSetup::closeEvent(QCloseEvent* e) {
    e->accept();
    if (g_setup == this) Done();
}

void NewSetup::Done() {
    modTLC::Save_Config_File();
    modTLMain::FirstRunSetup = 0;
    if (g_showMain) g_showMain();
    Unload();
}
