#include "dialup/dialup_duty.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QStyle>

#include "bidding/bid_engine_links.h"
#include "dialup/connection_test.h"
#include "dialup/dial_sequence.h"
#include "dialup/ras.h"
#include "mainwindow/tl_main.h"
#include "mainwindow/tl_main_services.h"
#include "options/new_setup_checks.h"
#include "options/setup_links.h"

namespace Dialup {
namespace {

// The main window's dial timers and its phone indicator.
class MainWindowDial final : public modRAS::DialWindow {
public:
    platform::Timer* syncAutoDial() override { return TLMain::loaded() ? &TLMain::instance().SyncAutoDial : nullptr; }
    platform::Timer* hangupTimer() override { return TLMain::loaded() ? &TLMain::instance().HangupTimer : nullptr; }
    void showPhone(int picture) override {
        if (!TLMain::loaded()) return;
        QLabel* phone = TLMain::instance().Phone;
        if (!phone) return;
        if (picture != 0) {
            const QIcon icon = phone->style()->standardIcon(picture == modRAS::kPhoneDialing ? QStyle::SP_BrowserReload
                                                                                              : QStyle::SP_DriveNetIcon);
            phone->setPixmap(icon.pixmap(24, 24, picture == modRAS::kPhoneNotConnected ? QIcon::Disabled : QIcon::Normal));
            phone->setToolTip(picture == modRAS::kPhoneConnected ? "Connected"
                              : picture == modRAS::kPhoneDialing ? "Dialing"
                                                                 : "Auto Dial");
        }
        phone->show();
        phone->repaint();
    }
};

class Line final : public TLMainServices::DialLine {
public:
    void SyncAutoDial_Timer() override { modRAS::SyncAutoDial_Timer(); }
    void HangupTimer_Timer() override { modRAS::HangupTimer_Timer(); }
    void MnuSubConnect_Click() override { modRAS::MnuSubConnect_Click(); }
    void MnuSubHangup_Click() override { modRAS::MnuSubHangup_Click(); }
};

class SetupPage final : public SetupLinks::Dialup {
public:
    void Load_DUN_Entries(QComboBox& list) override { modRAS::Load_DUN_Entries(list); }
    void Hang_Up_All() override { modRAS::Hang_Up_All(modRAS::HangUpScope::AllDial); }
    void DUNConn_Click(const std::string& text, int index) override { modRAS::Choose_DUN_Entry(text, index); }
    void Play_Click() override { ConnectionTest::Play_Click(); }
    void RecordCmd_Click() override { ConnectionTest::RecordCmd_Click(); }
};

class WizardCheck final : public SetupChecks::ConnectionCheck {
public:
    long GetConStatusAlt() override { return modRAS::GetConStatusAlt(); }
};

}  // namespace

void Register_Dialup() {
    static MainWindowDial window;
    static Line line;
    static SetupPage page;
    static WizardCheck check;
    static modRAS::AutoDialer dialer;
    modRAS::setDialWindow(&window);
    TLMainServices::setService<TLMainServices::DialLine>(&line);
    SetupLinks::setSetupLink<SetupLinks::Dialup>(&page);
    SetupChecks::setConnectionCheck(&check);
    TLMainBids::setBidLink<TLMainBids::AutoDialer>(&dialer);
}

}  // namespace Dialup
