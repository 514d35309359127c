#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/window_routines.h"

namespace platform {
namespace {

class QtMessageBoxes final : public MessageBoxes {
public:
    int show(const std::string& text, int style, const std::string& title) override {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return vbOK;
        QMessageBox box(dialogOwner());  // over the window it speaks for
        box.setWindowTitle(QString::fromStdString(title));
        box.setText(QString::fromStdString(text));
        switch (style & 0xF0) {
            case vbCritical: box.setIcon(QMessageBox::Critical); break;
            case vbQuestion: box.setIcon(QMessageBox::Question); break;
            case vbExclamation: box.setIcon(QMessageBox::Warning); break;
            case vbInformation: box.setIcon(QMessageBox::Information); break;
            default: break;
        }
        struct B { QMessageBox::StandardButton b; int result; };
        std::vector<B> buttons;
        switch (style & 0x0F) {
            case vbOKCancel: buttons = {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}}; break;
            case vbAbortRetryIgnore:
                buttons = {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
                break;
            case vbYesNoCancel:
                buttons = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
                break;
            case vbYesNo: buttons = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}}; break;
            case vbRetryCancel: buttons = {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}}; break;
            default: buttons = {{QMessageBox::Ok, vbOK}}; break;
        }
        QMessageBox::StandardButtons set;
        for (const auto& b : buttons) set |= b.b;
        box.setStandardButtons(set);
        size_t def = (style & vbDefaultButton3) ? 2 : (style & vbDefaultButton2) ? 1 : 0;
        if (def < buttons.size()) box.setDefaultButton(buttons[def].b);  // it has the focus: Enter presses it
        box.setEscapeButton(buttons.back().b);  // Esc: the last button (the only one when there is one)
        // A box, not a document window: a title and a close box, nothing to maximise.
        box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        if (style & vbSystemModal) box.setWindowFlag(Qt::WindowStaysOnTopHint);
        const int r = box.exec();
        for (const auto& b : buttons)
            if (r == b.b) return b.result;
        // Closed with the title bar: the Cancel or the only button.
        for (const auto& b : buttons)
            if (b.result == vbCancel) return vbCancel;
        return buttons.size() == 1 ? buttons[0].result : vbNo;
    }
};

MessageBoxes* g_override = nullptr;

}  // namespace

MessageBoxes& messageBoxes() {
    static QtMessageBoxes real;
    return g_override ? *g_override : real;
}

void setMessageBoxesForTests(MessageBoxes* m) { g_override = m; }

int MsgBox(const std::string& text, int style, const std::string& title) {
    return messageBoxes().show(text, style, title);
}

}  // namespace platform
