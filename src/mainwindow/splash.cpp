#include "mainwindow/splash.h"

#include <QLabel>
#include <QVBoxLayout>

#include "foundation/startup.h"
#include "platform/file_names.h"

Splash::Splash(Next next) : m_next(std::move(next)) {
    setWindowFlag(Qt::FramelessWindowHint);
    auto* layout = new QVBoxLayout(this);
    TLIILogo = new QLabel(this);
    layout->addWidget(TLIILogo);
    auto* labVer = new QLabel(QStringLiteral("Version %1").arg(TOLVANE_PROGRAM_VERSION), this);
    layout->addWidget(labVer);
    Timer1.setHandler([this] { ExitSplash(); });
}

void Splash::Form_Load() {
    // At start-up the window is never shown: it hands over on the first tick.
    Timer1.setInterval(10);
    Timer1.setEnabled(true);
}

void Splash::ExitSplash() {
    if (m_done) return;
    m_done = true;
    Timer1.setEnabled(false);
    if (modTLMain::NewInstall) {
        modTLMain::NewInstall = false;
        if (m_next.showNewSetup) m_next.showNewSetup();
    } else {
        if (m_next.unloadNewSetup) m_next.unloadNewSetup();
        if (m_next.showMainWindow) m_next.showMainWindow();
    }
    close();
    deleteLater();
}
