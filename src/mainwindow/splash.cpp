#include "mainwindow/splash.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>

#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/main_window_link.h"
#include "foundation/protected_texts.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/vb.h"
#include "foundation/window_process.h"
#include "platform/clock.h"
#include "platform/file_names.h"
#include "platform/input_box.h"
#include "platform/message_box.h"
#include "mainwindow/program_icons.h"

namespace {

constexpr int kFadeStep = 4;
constexpr int kFadeTickMs = 10;
// A fade takes 64 ticks; the wait for it gives up long after.
constexpr qint64 kFadeWaitMs = 5000;

}  // namespace

Splash::Splash(Next next) : m_next(std::move(next)) {
    setObjectName("Splash");
    setWindowFlag(Qt::FramelessWindowHint);
    auto* layout = new QVBoxLayout(this);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#Splash { border: 1px solid palette(mid); }"));
    layout->setContentsMargins(32, 24, 32, 20);
    Image1 = new QLabel(this);
    Image1->setPixmap(TLMainIcons::Program_Icon().pixmap(64, 64));
    Image1->setAlignment(Qt::AlignCenter);
    layout->addWidget(Image1);
    labName = new QLabel(QString::fromLatin1(platform::kProgramTitle), this);
    QFont nameFont = labName->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
    nameFont.setBold(true);
    labName->setFont(nameFont);
    labName->setAlignment(Qt::AlignCenter);
    layout->addWidget(labName);
    TLIILogo = new QLabel(this);
    TLIILogo->setAlignment(Qt::AlignCenter);
    layout->addWidget(TLIILogo);
    labVer = new QLabel(this);
    labVer->setAlignment(Qt::AlignCenter);
    layout->addWidget(labVer);
    labRT = new QLabel(this);
    layout->addWidget(labRT);
    labCopyright = new QLabel(this);
    labCopyright->setAlignment(Qt::AlignCenter);
    layout->addWidget(labCopyright);

    // The picture loader finds the logo of the splash window that is open.
    QPointer<QLabel> logo = TLIILogo;
    modTLMain::SetSplashLogoProvider([logo] { return logo.data(); });

    Timer1.setHandler([this] { ExitSplash(); });
    FadeInOutTimer.setHandler([this] { FadeInOutTimer_Timer(); });
}

Splash::~Splash() = default;

void Splash::Form_Load() {
    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + area.width() / 2 - width() / 2, area.top() + area.height() / 2 - height() / 2);
    }
    setWindowOpacity(Alpha / 255.0);  // invisible until a fade brings it in
    labCopyright->setText(QString::fromStdString(TLMainAbout::Copyright_Text()));
    labVer->setText(QStringLiteral("Version %1").arg(TOLVANE_PROGRAM_VERSION));
    labRT->clear();
    labRT->setVisible(false);  // nothing to say: no empty line in the box

    if (!TLMainAbout::AboutMode) {
        // At start-up the window is never shown: it hands over on the first tick.
        Timer1.setInterval(10);
        Timer1.setEnabled(true);
        return;
    }
    // The logo serves the About box only, and takes no room when there is none.
    modTLMain::Load_Splash_Picture();
    TLIILogo->setVisible(!TLIILogo->pixmap().isNull());
    adjustSize();
    FadeDirection = 1;
    Alpha = 0;
    FadeDone = false;
    modTLMain::Set_Window_Topmost(this, -1);  // shown above the other windows (Form_Activate)
    FadeInOutTimer.setInterval(kFadeTickMs);
    FadeInOutTimer.setEnabled(true);
    waitForFade();
}

void Splash::FadeInOutTimer_Timer() {
    Alpha += FadeDirection == 1 ? kFadeStep : -kFadeStep;
    // A value outside 0 to 255 is not applied: a fade-in ends at 252, a fade-out at 2.
    if (Alpha >= 0 && Alpha <= 255) setWindowOpacity(Alpha / 255.0);
    if ((FadeDirection == 1 && Alpha >= 254) || (FadeDirection != 1 && Alpha < 1)) {
        FadeInOutTimer.setEnabled(false);
        Alpha = 0;
        FadeDone = true;
    }
}

void Splash::waitForFade() {
    QPointer<Splash> self = this;
    platform::timers().waitUntil([self] { return !self || self->FadeDone; }, kFadeWaitMs);
    if (self && !FadeDone) {  // the wait gave up: the fade ends where it is
        FadeInOutTimer.setEnabled(false);
        Alpha = 0;
        FadeDone = true;
    }
}

void Splash::ExitSplash() {
    if (FadeInOutTimer.enabled()) return;  // a fade runs: the click is ignored
    if (m_done) return;
    m_done = true;
    Timer1.setEnabled(false);
    QPointer<Splash> self = this;
    if (isVisible()) {
        FadeDirection = 0;
        Alpha = 250;
        FadeDone = false;
        FadeInOutTimer.setInterval(kFadeTickMs);
        FadeInOutTimer.setEnabled(true);
        waitForFade();
        if (!self) return;
    }
    TLMainAbout::AboutMode = false;
    if (modTLMain::NewInstall) {
        modTLMain::NewInstall = false;
        if (m_next.showNewSetup) m_next.showNewSetup();
    } else {
        if (m_next.unloadNewSetup) m_next.unloadNewSetup();
        if (m_next.showMainWindow) m_next.showMainWindow();
    }
    if (!self) return;
    hide();
    close();
    deleteLater();
}

// Any click on the window or its pictures and labels, and any key, closes it.
void Splash::mouseReleaseEvent(QMouseEvent* e) {
    QWidget::mouseReleaseEvent(e);
    ExitSplash();
}

void Splash::keyPressEvent(QKeyEvent* e) {
    QWidget::keyPressEvent(e);
    ExitSplash();
}

namespace TLMainAbout {
namespace {

// The last two characters of a text, read as a number (0 when they are none).
long lastTwoAsNumber(const std::string& text) {
    const std::string two = vb::Right(text, 2);
    if (two.size() != 2 || !vb::IsNumeric(two)) return 0;
    return vb::CLng(two);
}

// True when the answer was a service code that did its work.
bool serviceCode(const std::string& typed) {
    const std::string answer = vb::UCase(typed);
    if (answer.empty()) return false;
    const std::string debugCode = modTLMain::Protected_Text(modTLMain::ProtectedText::DebugAccess);
    if (!debugCode.empty() && answer == debugCode + vb::Right(TOLVANE_PROGRAM_VERSION, 2)) {
        modDebug::Enable_Debug_Menu();
        return true;
    }
    const std::string timeOutCode = modTLMain::Protected_Text(modTLMain::ProtectedText::TimeOutCode);
    if (!timeOutCode.empty() && vb::Left(answer, 15) == timeOutCode) {
        const long seconds = lastTwoAsNumber(answer);
        if (seconds >= 5 && seconds <= 30) {
            modTLC::Set_Config_Value("Options", "TimeOut", seconds);
            return true;
        }
    }
    return false;
}

}  // namespace

std::string Copyright_Text() {
    return "Copyright \xC2\xA9 2003-" + std::to_string(platform::clock().now().date().year()) +
           " Tolvane Rerode II. All rights reserved.";
}

void MnuSubAbout_Click(int KeyShiftState) {
    if (KeyShiftState == 3 && serviceCode(platform::InputBox("", ":)"))) return;
    AboutMode = true;
    TLMainLink::window().setVisible(false);
    auto* box = new Splash(Splash::Next{
        {},
        {},
        [] {
            TLMainLink::Window& w = TLMainLink::window();
            w.setVisible(true);
        },
    });
    box->Form_Load();
}

}  // namespace TLMainAbout
