// The system message box: the default button its style names has the focus, so Enter pressed by
// reflex on a question that gives something up (delete every item, restore the user files, delete
// the selected items) takes its No or Cancel, as Esc does; without a default Enter takes the first.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include "platform/message_box.h"

namespace {

using namespace platform;

// Shows the real box and answers it with a key on the control that has the focus; the answer and
// the focused button's text.
struct Answered {
    int result = 0;
    QString focused;
};
Answered answerWithKey(int style, int key) {
    Answered a;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        QWidget* target = box->focusWidget() ? box->focusWidget() : box;
        if (auto* b = qobject_cast<QPushButton*>(target)) a.focused = b->text().remove('&');
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
    });
    a.result = MsgBox("Are you sure?", style, "Question");
    return a;
}

TEST(MessageBox, EnterTakesTheDefaultButtonAndEscTheLast) {
    const struct {
        const char* what;
        int style;
        int key;
        int result;
        const char* focused;
    } cases[] = {
        {"delete all items: Enter", vbOKCancel + vbCritical + vbDefaultButton2, Qt::Key_Return, vbCancel, "Cancel"},
        {"restore: Enter", vbOKCancel | vbDefaultButton2 | vbSystemModal, Qt::Key_Return, vbCancel, "Cancel"},
        {"delete items: Enter", vbYesNo + vbExclamation + vbDefaultButton2 + vbSystemModal, Qt::Key_Return, vbNo, "No"},
        {"delete items: Esc", vbYesNo + vbExclamation + vbDefaultButton2 + vbSystemModal, Qt::Key_Escape, vbNo, "No"},
        {"no default: Enter takes the first", vbYesNo, Qt::Key_Return, vbYes, "Yes"},
    };
    for (const auto& c : cases) {
        const Answered a = answerWithKey(c.style, c.key);
        EXPECT_EQ(a.result, c.result) << c.what;
        EXPECT_EQ(a.focused.toStdString(), c.focused) << c.what;
    }
}

}  // namespace
