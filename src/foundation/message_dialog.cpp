#include "foundation/message_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <algorithm>
#include <memory>

#include "foundation/small_routines.h"
#include "foundation/vb.h"
#include "platform/dialog_keys.h"
#include "platform/window_routines.h"

namespace {

constexpr const char* kFontName = "MS Sans Serif";  // falls back to the installed sans font
constexpr double kControlPoints = 8.25;
constexpr int kButtonHeight = 375;
constexpr int kOptionHeight = 255;
constexpr int kCheckHeight = 255;
constexpr qint64 kWaitSliceMs = 60000;

Messages* g_shared = nullptr;

std::function<void(Messages&)>& answerHook() {
    static std::function<void(Messages&)> h;
    return h;
}

QFont dialogFont(double points, bool bold) {
    QFont f(QString::fromLatin1(kFontName));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QString q(const std::string& s) { return QString::fromStdString(s); }

// Lines of the message break only at CR LF.
QString messageLines(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out.push_back('\n');
            ++i;
        } else if (text[i] == '\r' || text[i] == '\n') {
            out.push_back(' ');
        } else {
            out.push_back(text[i]);
        }
    }
    return q(out);
}

std::string countText(long n) { return vb::FormatNumber(static_cast<double>(n), "0"); }

}  // namespace

// A dialog of the window it speaks for: over it, kept above it, without a taskbar entry or a
// maximise button of its own.
Messages::Messages(bool shared)
    : QWidget(platform::dialogOwner(),
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_shared(shared) {
    setObjectName(QStringLiteral("Messages"));
    setAttribute(Qt::WA_QuitOnClose, false);
    for (int i = 0; i < 5; ++i) m_flag[i] = &m_own[i];
    if (shared) {
        m_flag[0] = &MsgBtn1Pressed;
        m_flag[1] = &MsgBtn2Pressed;
        m_flag[2] = &MsgBtn3Pressed;
        m_flag[3] = &MsgClosed;
        m_flag[4] = &MsgCheckValue;
    }

    labMsg = new QLabel(this);
    labMsg->setTextFormat(Qt::PlainText);
    labMsg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    labMsg->setFont(dialogFont(kControlPoints, false));
    Text1 = new QLineEdit(this);
    Text1->setFont(dialogFont(kControlPoints, false));
    for (int i = 1; i <= 3; ++i) {
        Opt[i] = new QRadioButton(this);
        Opt[i]->setFont(dialogFont(kControlPoints, false));
    }
    labNum = new QLabel(this);
    labNum->setTextFormat(Qt::PlainText);
    labNum->setFont(dialogFont(24, true));
    labSec = new QLabel(QStringLiteral("Seconds"), this);
    labSec->setFont(dialogFont(12, true));
    QPushButton** buttons[3] = {&cmdBtn1, &cmdBtn2, &cmdBtn3};
    for (QPushButton** b : buttons) {
        *b = new QPushButton(this);
        (*b)->setFont(dialogFont(kControlPoints, true));
        (*b)->setAutoDefault(false);
    }
    labBtnwidth = new QLabel(this);
    labBtnwidth->setFont(dialogFont(kControlPoints, true));
    Check1 = new QCheckBox(q(kDefaultCheckCaption), this);
    Check1->setFont(dialogFont(kControlPoints, false));
    for (QWidget* w : std::initializer_list<QWidget*>{labMsg, Text1, Opt[1], Opt[2], Opt[3], labNum, labSec, cmdBtn1,
                                                      cmdBtn2, cmdBtn3, labBtnwidth, Check1})
        w->hide();

    QObject::connect(cmdBtn1, &QPushButton::clicked, this, [this] { cmdBtn1_Click(); });
    QObject::connect(cmdBtn2, &QPushButton::clicked, this, [this] { cmdBtn2_Click(); });
    QObject::connect(cmdBtn3, &QPushButton::clicked, this, [this] { cmdBtn3_Click(); });
    QObject::connect(Check1, &QCheckBox::clicked, this, [this] { Check1_Click(); });
    TimeRemaining.setHandler([this] { TimeRemaining_Timer(); });
    m_defaultMark.follow(this, [this] { return enterButton(); });
}

Messages::~Messages() {
    if (g_shared == this) g_shared = nullptr;
    if (!m_unloaded) Form_Unload();  // gone with the window it belonged to
}

// ---- event procedures -------------------------------------------------------------------

void Messages::Form_Load() {
    for (int16_t* f : m_flag) *f = 0;
    TimeRemaining.setInterval(1000);
    modTLMain::Set_Window_Topmost(this, -1);
    setWindowTitle(q(kDefaultTitle));
}

void Messages::cmdBtn1_Click() {
    *m_flag[0] = -1;
    if (m_modeless) Unload();
}

void Messages::cmdBtn2_Click() {
    *m_flag[1] = -1;
    if (m_modeless) Unload();
}

void Messages::cmdBtn3_Click() {
    *m_flag[2] = -1;
    if (m_modeless) Unload();
}

void Messages::Check1_Click() { *m_flag[4] = Check1->isChecked() ? -1 : 0; }

void Messages::TimeRemaining_Timer() {
    m_secondsLeft -= 1;
    labNum->setText(q(countText(m_secondsLeft)));
    autoSize(labNum);
    if (m_secondsLeft <= 0) {
        *m_flag[0] = -1;
        TimeRemaining.setEnabled(false);
    }
}

void Messages::Form_Unload() { *m_flag[3] = -1; }

// Enter presses the button that has the focus (the default button, else button 1, when the focus
// is elsewhere, as in the input line or on the check box); Esc presses the last button shown.
void Messages::keyPressEvent(QKeyEvent* e) {
    QPushButton* last = nullptr;
    for (QPushButton* b : {cmdBtn1, cmdBtn2, cmdBtn3})
        if (b->isVisibleTo(this)) last = b;
    if (!platform::pressButtonForKey(this, e, enterButton(), last)) QWidget::keyPressEvent(e);
}

QPushButton* Messages::enterButton() const {
    if (m_default && m_default->isVisibleTo(this)) return m_default;
    for (QPushButton* b : {cmdBtn1, cmdBtn2, cmdBtn3})
        if (b->isVisibleTo(this)) return b;
    return nullptr;
}

void Messages::closeEvent(QCloseEvent* e) {
    e->accept();
    Unload();
}

void Messages::Unload() {
    if (m_unloaded) return;
    m_unloaded = true;
    TimeRemaining.setEnabled(false);
    Form_Unload();
    hide();
    if (m_shared) {
        if (g_shared == this) g_shared = nullptr;
        deleteLater();
    }
}

// ---- layout --------------------------------------------------------------------------------

void Messages::setPlace(QWidget* w, int left, int top, int width, int height) {
    Twips& t = m_place[w];
    t.left = left;
    t.top = top;
    t.width = width;
    t.height = height;
    w->setGeometry(vb::TwipsToPixels(left), vb::TwipsToPixels(top), std::max(1, vb::TwipsToPixels(width)),
                   std::max(1, vb::TwipsToPixels(height)));
}

void Messages::showControl(QWidget* w) {
    m_place[w].shown = true;
    w->show();
}

void Messages::autoSize(QLabel* l) {
    const QFontMetrics fm(l->font());
    const QSize px = fm.size(0, l->text().isEmpty() ? QStringLiteral(" ") : l->text());
    const Twips t = m_place[l];
    setPlace(l, t.left, t.top, vb::PixelsToTwips(l->text().isEmpty() ? 0 : px.width()), vb::PixelsToTwips(px.height()));
}

int Messages::captionWidth(const std::string& caption) {
    labBtnwidth->setText(q(caption));
    autoSize(labBtnwidth);
    return m_place[labBtnwidth].width;
}

Messages::Twips Messages::place(const QWidget* control) const {
    auto it = m_place.find(control);
    return it == m_place.end() ? Twips{} : it->second;
}

void Messages::Layout(const Args& a) {
    // Each call lays the window out anew: what an earlier call showed is hidden first.
    TimeRemaining.setEnabled(false);
    for (auto& [w, t] : m_place) {
        t.shown = false;
        const_cast<QWidget*>(w)->hide();
    }
    m_modeless = a.Modeless;
    m_inputShown = false;
    m_choicesShown = false;
    m_text = a.Text;

    // 1. The message.
    labMsg->setFont(dialogFont(a.FontSize < 1 ? 8.0 : static_cast<double>(a.FontSize), a.Bold));
    labMsg->setText(messageLines(a.Text));
    autoSize(labMsg);
    const Twips msg = m_place[labMsg];

    // 2.-3. Window width, message centred.
    const int W = std::max(msg.width + 750, 3000);
    const int msgLeft = (W - msg.width) / 2;
    setPlace(labMsg, msgLeft, 100, msg.width, msg.height);
    showControl(labMsg);
    int y = 100 + msg.height + 100;

    // 4. Input line, choices, count-down or large status text.
    if (a.InputHeight > 0) {
        setPlace(Text1, 100, y, W - 300, static_cast<int>(a.InputHeight));
        showControl(Text1);
        m_inputShown = true;
        y += static_cast<int>(a.InputHeight) + 200;
    } else if (!a.Opt1Caption.empty() && !a.Opt2Caption.empty()) {
        const std::string* captions[3] = {&a.Opt1Caption, &a.Opt2Caption, &a.Opt3Caption};
        for (int i = 1; i <= 3; ++i) {
            if (captions[i - 1]->empty()) continue;
            Opt[i]->setText(q(*captions[i - 1]));
            setPlace(Opt[i], msgLeft, y, std::max(100, W - msgLeft - 100), kOptionHeight);
            showControl(Opt[i]);
            y += kOptionHeight + 100;
        }
        y += 200;
        m_choicesShown = true;
    } else if (a.CountDownSecs >= 1) {
        m_secondsLeft = a.CountDownSecs;
        labNum->setText(q(countText(m_secondsLeft)));
        autoSize(labNum);
        autoSize(labSec);
        const Twips num = m_place[labNum];
        const Twips sec = m_place[labSec];
        const int numLeft = (W - num.width - sec.width) / 2;
        setPlace(labNum, numLeft, y, num.width, num.height);
        setPlace(labSec, numLeft + num.width + 50, y + 120, sec.width, sec.height);
        showControl(labNum);
        showControl(labSec);
        y = y + num.height + 250;
        TimeRemaining.setEnabled(true);
    } else if (!a.BigLabelText.empty()) {
        labNum->setText(QStringLiteral("100 %"));
        autoSize(labNum);
        const Twips num = m_place[labNum];
        setPlace(labNum, (W - num.width) / 2, y, num.width, num.height);
        labNum->setText(q(a.BigLabelText));
        autoSize(labNum);  // keeps its left
        showControl(labNum);
        y = m_place[labNum].top + m_place[labNum].height + 250;
    }

    // 5. Buttons.
    QPushButton* buttons[3] = {cmdBtn1, cmdBtn2, cmdBtn3};
    const std::string* captions[3] = {&a.Btn1Caption, &a.Btn2Caption, &a.Btn3Caption};
    int w[3] = {1000, 1000, 1000};
    for (int i = 0; i < 3; ++i) {
        const Twips old = m_place[buttons[i]];
        w[i] = old.width > 0 ? old.width : 1000;
        if (!captions[i]->empty()) {
            buttons[i]->setText(q(*captions[i]));
            w[i] = std::max(captionWidth(*captions[i]) + 250, 1000);
        }
        setPlace(buttons[i], old.left, y, w[i], kButtonHeight);
    }
    const bool b1 = !a.Btn1Caption.empty(), b2 = !a.Btn2Caption.empty(), b3 = !a.Btn3Caption.empty();
    if (b1 && b2 && b3) {
        const int l1 = (W - w[0] - w[1] - w[2] - 250) / 2;
        const int l2 = l1 + w[0] + 250;
        const int l3 = l2 + w[1] + 250;
        setPlace(cmdBtn1, l1, y, w[0], kButtonHeight);
        setPlace(cmdBtn2, l2, y, w[1], kButtonHeight);
        setPlace(cmdBtn3, l3, y, w[2], kButtonHeight);
        showControl(cmdBtn1);
        showControl(cmdBtn2);
        showControl(cmdBtn3);
    } else if (b1 && b2) {
        const int l1 = (W - w[0] - w[1] - 250) / 2;
        setPlace(cmdBtn1, l1, y, w[0], kButtonHeight);
        setPlace(cmdBtn2, l1 + w[0] + 250, y, w[1], kButtonHeight);
        showControl(cmdBtn1);
        showControl(cmdBtn2);
    } else if (b1) {
        setPlace(cmdBtn1, (W - w[0] - 250) / 2, y, w[0], kButtonHeight);
        showControl(cmdBtn1);
    }
    y = m_place[cmdBtn1].top + m_place[cmdBtn1].height + 250;
    m_default = a.DefaultButton >= 1 && a.DefaultButton <= 3 ? buttons[a.DefaultButton - 1] : cmdBtn1;
    if (!m_default->isVisibleTo(this)) m_default = cmdBtn1;

    // 6. Check box.
    if (a.ShowCheck) {
        Check1->setText(q(a.CheckCaption.empty() ? std::string(kDefaultCheckCaption) : a.CheckCaption));
        setPlace(Check1, 100, y, W, kCheckHeight);
        showControl(Check1);
        y += kCheckHeight + 250;
    }

    // 7.-9. Size, caption, shown (not modal: the rest of the program keeps running).
    m_formWidth = W;
    m_formHeight = y + 250;
    setFixedSize(std::max(1, vb::TwipsToPixels(m_formWidth)), std::max(1, vb::TwipsToPixels(m_formHeight)));
    setWindowTitle(q(a.Title.empty() ? std::string(kDefaultTitle) : a.Title));
    platform::placeOver(this, parentWidget() ? parentWidget()->window() : nullptr);
    show();
    raise();
    activateWindow();
    if (m_inputShown)
        Text1->setFocus();
    else if (m_default->isVisibleTo(this))
        m_default->setFocus();
    m_defaultMark.markNow();
}

// ---- calls ---------------------------------------------------------------------------------

std::string Messages::WaitResult() const {
    if (m_inputShown) return Text1->text().toStdString();
    if (m_choicesShown) {
        if (Opt[1]->isChecked()) return "Opt1";
        if (Opt[2]->isChecked()) return "Opt2";
        return "Opt3";
    }
    if (*m_flag[0]) return "MsgBtn1";
    if (*m_flag[1]) return "MsgBtn2";
    if (*m_flag[2]) return "MsgBtn3";
    return {};
}

std::string Messages::DisplayMsg(const Args& a) {
    if (a.Modeless) {
        if (!g_shared) {
            g_shared = new Messages(true);
            g_shared->Form_Load();
        }
        g_shared->Layout(a);
        return {};
    }

    // A waiting call: a window, flags and answer of its own.
    QPointer<Messages> dlg = new Messages(false);
    std::unique_ptr<Messages> owner(dlg.data());
    dlg->Form_Load();
    dlg->Layout(a);
    if (answerHook() && dlg) answerHook()(*dlg);
    auto done = [&dlg] {
        return !dlg || dlg->m_own[0] || dlg->m_own[1] || dlg->m_own[2] || dlg->m_own[3];
    };
    while (!done()) platform::timers().waitUntil(done, kWaitSliceMs);
    if (!dlg) {
        owner.release();  // deleted elsewhere
        return {};
    }
    const std::string result = dlg->WaitResult();
    dlg->Unload();
    MsgCheckValue = dlg->m_own[4];
    return result;
}

std::string Messages::DisplayMsg(const std::string& Text, long FontSize, bool Bold, long CountDownSecs,
                                 const std::string& Btn1Caption, const std::string& Btn2Caption,
                                 const std::string& Btn3Caption, bool Modeless, bool ShowCheck,
                                 const std::string& CheckCaption, const std::string& BigLabelText,
                                 const std::string& Title, long InputHeight, const std::string& Opt1Caption,
                                 const std::string& Opt2Caption, const std::string& Opt3Caption) {
    Args a;
    a.Text = Text;
    a.FontSize = FontSize;
    a.Bold = Bold;
    a.CountDownSecs = CountDownSecs;
    a.Btn1Caption = Btn1Caption;
    a.Btn2Caption = Btn2Caption;
    a.Btn3Caption = Btn3Caption;
    a.Modeless = Modeless;
    a.ShowCheck = ShowCheck;
    a.CheckCaption = CheckCaption;
    a.BigLabelText = BigLabelText;
    a.Title = Title;
    a.InputHeight = InputHeight;
    a.Opt1Caption = Opt1Caption;
    a.Opt2Caption = Opt2Caption;
    a.Opt3Caption = Opt3Caption;
    return DisplayMsg(a);
}

Messages* Messages::Shared() { return g_shared; }

void Messages::UnloadShared() {
    if (g_shared) g_shared->Unload();
}

void Messages::SetProgressText(const std::string& text) {
    if (!g_shared) return;
    g_shared->labNum->setText(q(text));
    g_shared->autoSize(g_shared->labNum);
    g_shared->labNum->repaint();
}

std::string Messages::ProgressText() { return g_shared ? g_shared->numberText() : std::string(); }

void Messages::SetAnswerHookForTests(std::function<void(Messages&)> hook) { answerHook() = std::move(hook); }

// ---- what the user can do, what the window shows ------------------------------------------

void Messages::clickButton(int n) {
    QPushButton* b = n == 1 ? cmdBtn1 : n == 2 ? cmdBtn2 : n == 3 ? cmdBtn3 : nullptr;
    if (b && b->isVisibleTo(this)) b->click();
}

void Messages::chooseOption(int n) {
    if (n >= 1 && n <= 3 && Opt[n]->isVisibleTo(this)) Opt[n]->click();
}

void Messages::typeText(const std::string& text) {
    if (Text1->isVisibleTo(this)) Text1->setText(q(text));
}

void Messages::clickCheck() {
    if (Check1->isVisibleTo(this)) Check1->click();
}

void Messages::closeWindow() { close(); }

std::string Messages::messageText() const { return m_text; }
std::string Messages::titleText() const { return windowTitle().toStdString(); }
std::string Messages::numberText() const { return labNum->text().toStdString(); }

std::string Messages::buttonCaption(int n) const {
    const QPushButton* b = n == 1 ? cmdBtn1 : n == 2 ? cmdBtn2 : n == 3 ? cmdBtn3 : nullptr;
    return b ? b->text().toStdString() : std::string();
}

bool Messages::checked() const { return Check1->isChecked(); }
double Messages::messageFontSize() const { return labMsg->font().pointSizeF(); }
bool Messages::messageBold() const { return labMsg->font().bold(); }
