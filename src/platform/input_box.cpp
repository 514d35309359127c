#include "platform/input_box.h"

#include <QApplication>
#include <QInputDialog>

namespace platform {
namespace {

class QtInputBoxes final : public InputBoxes {
public:
    std::string ask(const std::string& prompt, const std::string& title, const std::string& text) override {
        bool ok = false;
        const QString answer = QInputDialog::getText(QApplication::activeWindow(), QString::fromStdString(title),
                                                     QString::fromStdString(prompt), QLineEdit::Normal,
                                                     QString::fromStdString(text), &ok);
        return ok ? answer.toStdString() : std::string();
    }
    std::string askHidden(const std::string& prompt, const std::string& title) override {
        bool ok = false;
        const QString answer = QInputDialog::getText(QApplication::activeWindow(), QString::fromStdString(title),
                                                     QString::fromStdString(prompt), QLineEdit::Password,
                                                     QString(), &ok);
        return ok ? answer.toStdString() : std::string();
    }
};

InputBoxes* g_override = nullptr;

}  // namespace

InputBoxes& inputBoxes() {
    static QtInputBoxes real;
    return g_override ? *g_override : real;
}

void setInputBoxesForTests(InputBoxes* boxes) { g_override = boxes; }

std::string InputBox(const std::string& prompt, const std::string& title, const std::string& text) {
    return inputBoxes().ask(prompt, title, text);
}

std::string PasswordBox(const std::string& prompt, const std::string& title) {
    return inputBoxes().askHidden(prompt, title);
}

}  // namespace platform
