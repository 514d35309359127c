#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <functional>
#include <vector>

#include "fake_clock.h"
#include "foundation/message_dialog.h"
#include "platform/timers.h"

using testsupport::FakeTime;
using Args = Messages::Args;

namespace {

class MessagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        time.timers.setRealSliceMs(0);
        resetFlags();
    }
    void TearDown() override {
        Messages::SetAnswerHookForTests({});
        Messages::UnloadShared();
        resetFlags();
    }
    static void resetFlags() {
        Messages::MsgBtn1Pressed = Messages::MsgBtn2Pressed = Messages::MsgBtn3Pressed = 0;
        Messages::MsgClosed = Messages::MsgCheckValue = 0;
    }
    // A modeless call, so the laid-out window stays up to be looked at.
    static Messages& shown(Args a) {
        a.Modeless = true;
        EXPECT_EQ(Messages::DisplayMsg(a), "");
        return *Messages::Shared();
    }
    FakeTime time;
};

Args buttons(const char* b1, const char* b2 = "", const char* b3 = "") {
    Args a;
    a.Text = "Question?";
    a.Btn1Caption = b1;
    a.Btn2Caption = b2;
    a.Btn3Caption = b3;
    return a;
}

struct ResultCase {
    const char* name;
    Args args;
    std::function<void(Messages&)> user;
    const char* expected;
};

TEST_F(MessagesTest, AWaitingCallReturnsWhatTheUserChose) {
    Args choices = buttons("OK");
    choices.Opt1Caption = "First";
    choices.Opt2Caption = "Second";
    choices.Opt3Caption = "Third";
    Args input = buttons("OK", "Cancel");
    input.InputHeight = 300;
    Args oneChoice = buttons("OK");
    oneChoice.Opt1Caption = "Only one";
    Args inputAndChoices = input;
    inputAndChoices.Opt1Caption = "First";
    inputAndChoices.Opt2Caption = "Second";

    const ResultCase cases[] = {
        {"button 1", buttons("Yes", "No"), [](Messages& m) { m.clickButton(1); }, "MsgBtn1"},
        {"button 2", buttons("Yes", "No"), [](Messages& m) { m.clickButton(2); }, "MsgBtn2"},
        {"button 3", buttons("A", "B", "C"), [](Messages& m) { m.clickButton(3); }, "MsgBtn3"},
        {"second choice", choices, [](Messages& m) { m.chooseOption(2); m.clickButton(1); }, "Opt2"},
        {"first choice", choices, [](Messages& m) { m.chooseOption(1); m.clickButton(1); }, "Opt1"},
        {"no choice taken", choices, [](Messages& m) { m.clickButton(1); }, "Opt3"},
        {"typed text", input, [](Messages& m) { m.typeText("hello there"); m.clickButton(2); }, "hello there"},
        {"empty input", input, [](Messages& m) { m.clickButton(1); }, ""},
        {"input wins over choices", inputAndChoices, [](Messages& m) { m.typeText("t"); m.clickButton(1); }, "t"},
        {"one choice is no choice", oneChoice, [](Messages& m) { m.clickButton(1); }, "MsgBtn1"},
        {"closed", buttons("Yes", "No"), [](Messages& m) { m.closeWindow(); }, ""},
        {"closed, no buttons", buttons(""), [](Messages& m) { m.closeWindow(); }, ""},
    };
    for (const auto& c : cases) {
        Messages::SetAnswerHookForTests(c.user);
        EXPECT_EQ(Messages::DisplayMsg(c.args), c.expected) << c.name;
    }
}

TEST_F(MessagesTest, TheSixteenArgumentCallAndTheCheckBoxValueAfterTheCall) {
    std::string caption, title;
    Messages::SetAnswerHookForTests([&](Messages& m) {
        caption = m.Check1->text().toStdString();
        title = m.titleText();
        m.clickCheck();
        m.clickButton(2);
    });
    EXPECT_EQ(Messages::DisplayMsg("You have pending bids", 10, true, 0, "Yes", "No", "", false, true, "", "", "", 0,
                                   "", "", ""),
              "MsgBtn2");
    EXPECT_EQ(caption, "Do not show this message again");
    EXPECT_EQ(title, "Tolvane Rerode II");
    EXPECT_EQ(Messages::MsgCheckValue, -1);  // still readable after the call

    Messages::SetAnswerHookForTests([&](Messages& m) {
        caption = m.Check1->text().toStdString();
        title = m.titleText();
        m.clickButton(1);
    });
    EXPECT_EQ(Messages::DisplayMsg("Again", 10, true, 0, "Yes", "No", "", false, true, "Turn This Warning Off", "",
                                   "Signin Failure", 0, "", "", ""),
              "MsgBtn1");
    EXPECT_EQ(caption, "Turn This Warning Off");
    EXPECT_EQ(title, "Signin Failure");
    EXPECT_EQ(Messages::MsgCheckValue, 0);  // a fresh window starts unticked
}

TEST_F(MessagesTest, LaysTheWindowOutInTwips) {
    Messages& m = shown(buttons("Yes", "No"));
    const auto msg = m.place(m.labMsg);
    EXPECT_EQ(m.formWidth(), 3000);  // a short text: the narrowest window
    EXPECT_EQ(msg.top, 100);
    EXPECT_EQ(msg.left, (3000 - msg.width) / 2);
    EXPECT_DOUBLE_EQ(m.messageFontSize(), 8.0);  // FontSize below 1 (default 8 passed here)
    const auto b1 = m.place(m.cmdBtn1), b2 = m.place(m.cmdBtn2);
    EXPECT_EQ(b1.width, 1000);
    EXPECT_EQ(b2.width, 1000);
    EXPECT_EQ(b1.left, (3000 - 1000 - 1000 - 250) / 2);
    EXPECT_EQ(b2.left, b1.left + 1000 + 250);  // a centred pair, 250 apart
    EXPECT_EQ(b1.top, 100 + msg.height + 100);
    EXPECT_TRUE(b1.shown && b2.shown);
    EXPECT_FALSE(m.place(m.cmdBtn3).shown);
    EXPECT_EQ(m.formHeight(), b1.top + b1.height + 250 + 250);
    EXPECT_TRUE(m.isVisible());
    EXPECT_TRUE(m.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    Args zero = buttons("OK");
    zero.FontSize = 0;
    zero.Bold = true;
    Messages& z = shown(zero);
    EXPECT_DOUBLE_EQ(z.messageFontSize(), 8.0);
    EXPECT_TRUE(z.messageBold());

    Args wide = buttons("OK");
    wide.Text = std::string(200, 'W') + "\r\nsecond line";
    wide.FontSize = 12;
    Messages& w = shown(wide);
    EXPECT_EQ(w.formWidth(), w.place(w.labMsg).width + 750);
    EXPECT_EQ(w.place(w.labMsg).left, 375);
    EXPECT_EQ(w.labMsg->text().count('\n'), 1);  // lines break at CR LF

    Messages& only2 = shown(buttons("", "No"));
    EXPECT_FALSE(only2.place(only2.cmdBtn1).shown || only2.place(only2.cmdBtn2).shown);

    Args input = buttons("OK");
    input.InputHeight = 300;
    Messages& in = shown(input);
    const auto t = in.place(in.Text1);
    EXPECT_TRUE(t.shown);
    EXPECT_EQ(t.left, 100);
    EXPECT_EQ(t.width, 3000 - 300);
    EXPECT_EQ(t.height, 300);
    EXPECT_EQ(in.place(in.cmdBtn1).top, t.top + 300 + 200);

    Args opt1 = buttons("OK");
    opt1.Opt1Caption = "Only";
    Messages& o = shown(opt1);
    EXPECT_FALSE(o.place(o.Opt[1]).shown);

    Args three = buttons("Alpha", "Beta", "Gamma");
    three.Opt1Caption = "a";
    three.Opt2Caption = "b";
    three.ShowCheck = true;
    Messages& th = shown(three);
    EXPECT_TRUE(th.place(th.Opt[1]).shown && th.place(th.Opt[2]).shown);
    EXPECT_FALSE(th.place(th.Opt[3]).shown);
    EXPECT_EQ(th.place(th.Opt[1]).left, th.place(th.labMsg).left);
    EXPECT_EQ(th.place(th.Opt[2]).top, th.place(th.Opt[1]).top + th.place(th.Opt[1]).height + 100);
    EXPECT_EQ(th.place(th.cmdBtn1).top, th.place(th.Opt[2]).top + th.place(th.Opt[2]).height + 100 + 200);
    EXPECT_EQ(th.place(th.cmdBtn1).left, (3000 - 3000 - 250) / 2);  // three buttons of 1000
    EXPECT_EQ(th.place(th.cmdBtn3).left, th.place(th.cmdBtn2).left + 1250);
    const auto check = th.place(th.Check1);
    EXPECT_TRUE(check.shown);
    EXPECT_EQ(check.left, 100);
    EXPECT_EQ(check.width, 3000);
    EXPECT_EQ(th.formHeight(), check.top + check.height + 250 + 250);
    EXPECT_FALSE(th.place(th.labNum).shown);  // nothing of the earlier calls stays shown
}

TEST_F(MessagesTest, ACountDownPressesButtonOneAtZero) {
    std::string first, seconds;
    QPointer<Messages> dialog;
    Messages::SetAnswerHookForTests([&](Messages& m) {
        first = m.numberText();
        seconds = m.labSec->text().toStdString();
        dialog = &m;
    });
    Args a = buttons("OK");
    a.CountDownSecs = 10;
    const qint64 start = time.clock.tickMs();
    EXPECT_EQ(Messages::DisplayMsg(a), "MsgBtn1");  // without a click
    const qint64 took = time.clock.tickMs() - start;
    EXPECT_EQ(first, "10");
    EXPECT_EQ(seconds, "Seconds");
    EXPECT_GE(took, 10000);
    EXPECT_LT(took, 10100);
    EXPECT_TRUE(dialog.isNull());  // unloaded before the call returned
}

TEST_F(MessagesTest, AModelessCountDownCountsToZeroAndLeavesTheWindow) {
    Args a = buttons("OK");
    a.CountDownSecs = 3;
    Messages& m = shown(a);
    const auto num = m.place(m.labNum), sec = m.place(m.labSec);
    EXPECT_EQ(num.left, (3000 - num.width - sec.width) / 2);
    EXPECT_EQ(sec.left, num.left + num.width + 50);
    EXPECT_EQ(sec.top, num.top + 120);
    EXPECT_EQ(m.place(m.cmdBtn1).top, num.top + num.height + 250);
    std::vector<std::string> seen{m.numberText()};
    for (int i = 0; i < 3; ++i) {
        time.advanceMs(1000);
        seen.push_back(m.numberText());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"3", "2", "1", "0"}));
    EXPECT_EQ(Messages::MsgBtn1Pressed, -1);
    EXPECT_FALSE(m.countDownRunning());
    EXPECT_EQ(Messages::Shared(), &m);  // the window stays
    EXPECT_TRUE(m.isVisible());
    time.advanceMs(3000);
    EXPECT_EQ(m.numberText(), "0");
}

TEST_F(MessagesTest, AWaitingCallInsideAnotherWaitGetsItsOwnAnswer) {
    QPointer<Messages> outer;
    std::string innerResult = "not run";
    int innerShown = 0;
    Messages::SetAnswerHookForTests([&](Messages& m) {
        if (m.messageText() == "outer") {
            outer = &m;  // answered later, by the timer
        } else {
            ++innerShown;
            m.clickButton(1);
        }
    });
    platform::Timer heartbeat;
    heartbeat.setHandler([&] {
        heartbeat.setEnabled(false);
        Args inner = buttons("Inner OK", "Inner Cancel");
        inner.Text = "inner";
        innerResult = Messages::DisplayMsg(inner);
        ASSERT_TRUE(outer);
        EXPECT_EQ(outer->btnPressed(1), 0);  // the inner click is not the outer's
        EXPECT_TRUE(outer->isVisible());
        outer->clickButton(3);
    });
    heartbeat.setInterval(1000);
    heartbeat.setEnabled(true);

    Args a = buttons("A", "B", "C");
    a.Text = "outer";
    EXPECT_EQ(Messages::DisplayMsg(a), "MsgBtn3");
    EXPECT_EQ(innerResult, "MsgBtn1");
    EXPECT_EQ(innerShown, 1);
    EXPECT_EQ(Messages::MsgBtn1Pressed, 0);  // the process-wide flags belong to the shared window
}

TEST_F(MessagesTest, AModelessCallLeavesTheWindowUpAndItsCallerWatchesTheFlags) {
    Messages::MsgBtn2Pressed = -1;  // left over from before: a fresh load clears the flags
    Args progress;
    progress.Text = "  Downloading Update File";
    progress.FontSize = 14;
    progress.Bold = true;
    progress.BigLabelText = "0 %";
    progress.Modeless = true;
    EXPECT_EQ(Messages::DisplayMsg(progress), "");
    Messages* m = Messages::Shared();
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->isVisible());
    EXPECT_EQ(Messages::MsgBtn2Pressed, 0);
    EXPECT_EQ(m->numberText(), "0 %");
    EXPECT_TRUE(m->place(m->labNum).shown);
    EXPECT_FALSE(m->place(m->cmdBtn1).shown);

    Messages::SetProgressText("42 %");  // the download's progress
    EXPECT_EQ(Messages::ProgressText(), "42 %");

    // A second modeless call lays the same window out anew.
    Args ask = buttons("Stop", "Go on");
    ask.Modeless = true;
    Messages::DisplayMsg(ask);
    EXPECT_EQ(Messages::Shared(), m);
    EXPECT_FALSE(m->place(m->labNum).shown);
    m->clickButton(2);
    EXPECT_EQ(Messages::MsgBtn2Pressed, -1);
    EXPECT_EQ(Messages::MsgClosed, -1);  // a modeless click unloads the window
    EXPECT_EQ(Messages::Shared(), nullptr);
    Messages::SetProgressText("50 %");  // nothing loaded: nothing happens
    EXPECT_EQ(Messages::ProgressText(), "");
}

// A key as the user presses it on the window.
void press(Messages& m, int key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&m, &down);
}

TEST_F(MessagesTest, EnterPressesTheFocusedButtonAndEscTheLastOne) {
    Args input = buttons("OK", "Cancel");
    input.InputHeight = 300;
    const ResultCase cases[] = {
        {"Enter: button 1 has the focus when the window opens", buttons("Yes", "No"),
         [](Messages& m) { press(m, Qt::Key_Return); }, "MsgBtn1"},
        {"Enter on the button given the focus", buttons("Yes", "No"),
         [](Messages& m) { m.cmdBtn2->setFocus(); press(m, Qt::Key_Enter); }, "MsgBtn2"},
        {"Enter in the input line", input, [](Messages& m) { m.typeText("typed"); press(m, Qt::Key_Return); }, "typed"},
        {"Esc: the last of two", buttons("Yes", "No"), [](Messages& m) { press(m, Qt::Key_Escape); }, "MsgBtn2"},
        {"Esc: the last of three", buttons("A", "B", "C"), [](Messages& m) { press(m, Qt::Key_Escape); }, "MsgBtn3"},
        {"Esc: the only one", buttons("OK"), [](Messages& m) { press(m, Qt::Key_Escape); }, "MsgBtn1"},
    };
    for (const auto& c : cases) {
        bool focusOnButton1 = false;
        Messages::SetAnswerHookForTests([&](Messages& m) {
            focusOnButton1 = m.focusWidget() == m.cmdBtn1;
            c.user(m);
        });
        EXPECT_EQ(Messages::DisplayMsg(c.args), c.expected) << c.name;
        if (c.args.InputHeight == 0) EXPECT_TRUE(focusOnButton1) << c.name;
    }
}

// A question whose first button gives something up names its second as the default: that one has
// the focus, so Enter takes it as Esc does, also from the check box; the buttons keep their order
// and captions, and a click on the first still answers with it.
TEST_F(MessagesTest, TheDefaultButtonHasTheFocusAndTakesEnter) {
    Args ask = buttons("Yes", "No");
    ask.ShowCheck = true;
    ask.DefaultButton = 2;
    Args third = buttons("A", "B", "C");
    third.DefaultButton = 3;
    Args missing = buttons("OK");
    missing.DefaultButton = 2;  // not shown: button 1
    const struct {
        const char* name;
        Args args;
        std::function<void(Messages&)> user;
        const char* expected;
        int focused;
    } cases[] = {
        {"Enter", ask, [](Messages& m) { press(m, Qt::Key_Return); }, "MsgBtn2", 2},
        {"Enter on the keypad", ask, [](Messages& m) { press(m, Qt::Key_Enter); }, "MsgBtn2", 2},
        {"Esc", ask, [](Messages& m) { press(m, Qt::Key_Escape); }, "MsgBtn2", 2},
        {"Enter from the check box", ask, [](Messages& m) { m.Check1->setFocus(); press(m, Qt::Key_Return); },
         "MsgBtn2", 2},
        {"Enter on button 1 given the focus", ask, [](Messages& m) { m.cmdBtn1->setFocus(); press(m, Qt::Key_Return); },
         "MsgBtn1", 2},
        {"a click on button 1", ask, [](Messages& m) { m.clickButton(1); }, "MsgBtn1", 2},
        {"the third of three", third, [](Messages& m) { press(m, Qt::Key_Return); }, "MsgBtn3", 3},
        {"a default that is not shown", missing, [](Messages& m) { press(m, Qt::Key_Return); }, "MsgBtn1", 1},
    };
    for (const auto& c : cases) {
        QWidget* focus = nullptr;
        QPushButton* expectedFocus = nullptr;
        std::vector<std::string> captions;
        bool inOrder = false;
        Messages::SetAnswerHookForTests([&](Messages& m) {
            focus = m.focusWidget();
            expectedFocus = c.focused == 1 ? m.cmdBtn1 : c.focused == 2 ? m.cmdBtn2 : m.cmdBtn3;
            captions = {m.buttonCaption(1), m.buttonCaption(2)};
            inOrder = m.place(m.cmdBtn1).left < m.place(m.cmdBtn2).left || !m.place(m.cmdBtn2).shown;
            c.user(m);
        });
        EXPECT_EQ(Messages::DisplayMsg(c.args), c.expected) << c.name;
        EXPECT_EQ(focus, expectedFocus) << c.name;
        EXPECT_EQ(captions[0], c.args.Btn1Caption) << c.name;
        EXPECT_TRUE(inOrder) << c.name;
    }
}

// The button Enter presses is drawn as the default, so the user sees what Enter does: the named
// default (No of the exit question) as the window opens, the button the user tabs to, and the
// default again once the focus leaves the buttons.
TEST_F(MessagesTest, TheButtonEnterPressesIsDrawnAsTheDefault) {
    Args ask = buttons("Yes", "No");
    ask.ShowCheck = true;
    ask.DefaultButton = 2;
    const auto key = [](Messages& m, int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent down(QEvent::KeyPress, k, mods);
        QApplication::sendEvent(m.focusWidget() ? m.focusWidget() : &m, &down);
    };
    struct Step {
        const char* name;
        std::function<void(Messages&)> user;
    };
    const Step steps[] = {
        {"as it opens", [](Messages&) {}},
        {"Shift+Tab to Yes", [&](Messages& m) { key(m, Qt::Key_Backtab, Qt::ShiftModifier); }},
        {"Tab back to No", [&](Messages& m) { key(m, Qt::Key_Tab); }},
        {"Tab on to the check box", [&](Messages& m) { key(m, Qt::Key_Tab); }},
    };
    std::vector<std::string> seen;
    Messages::SetAnswerHookForTests([&](Messages& m) {
        QApplication::setActiveWindow(&m);
        for (const Step& s : steps) {
            s.user(m);
            const bool yes = m.cmdBtn1->isDefault(), no = m.cmdBtn2->isDefault();
            seen.push_back(std::string(s.name) + (yes ? " Yes" : "") + (no ? " No" : "") +
                           (m.focusWidget() == m.Check1 ? " (on the check box)" : ""));
        }
        key(m, Qt::Key_Backtab, Qt::ShiftModifier);  // back to No
        key(m, Qt::Key_Backtab, Qt::ShiftModifier);  // Yes: Enter takes the button drawn as default
        key(m, Qt::Key_Return);
    });
    EXPECT_EQ(Messages::DisplayMsg(ask), "MsgBtn1");
    const std::vector<std::string> expected{"as it opens No", "Shift+Tab to Yes Yes", "Tab back to No No",
                                            "Tab on to the check box No (on the check box)"};
    EXPECT_EQ(seen, expected);

    // A window without a named default marks button 1; one without buttons marks none.
    Messages& shownOne = shown(buttons("OK", "Cancel"));
    EXPECT_TRUE(shownOne.cmdBtn1->isDefault());
    EXPECT_FALSE(shownOne.cmdBtn2->isDefault());
    Messages& none = shown(buttons(""));
    EXPECT_FALSE(none.cmdBtn1->isDefault() || none.cmdBtn2->isDefault() || none.cmdBtn3->isDefault());
}

// The window is a dialog of the window it speaks for: over it, without a maximise button or a
// taskbar entry of its own.
TEST_F(MessagesTest, ItIsADialogOfTheActiveWindowCentredOverIt) {
    QWidget owner;
    owner.setGeometry(100, 80, 900, 700);
    owner.show();
    owner.activateWindow();
    QApplication::setActiveWindow(&owner);
    Messages& m = shown(buttons("Yes", "No"));
    EXPECT_EQ(m.parentWidget(), &owner);
    EXPECT_EQ(m.windowType(), Qt::Dialog);
    EXPECT_FALSE(m.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(m.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_LE((m.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 2);
    Messages::UnloadShared();
}

}  // namespace
