#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform {
namespace {

class QtClipboard final : public Clipboard {
public:
    std::string text() const override {
        QClipboard* c = board();
        return c ? c->text().toStdString() : std::string();
    }
    void setText(const std::string& text) override {
        if (QClipboard* c = board()) c->setText(QString::fromStdString(text));
    }
    void clear() override {
        if (QClipboard* c = board()) c->clear();
    }

private:
    static QClipboard* board() {
        return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
    }
};

Clipboard* g_override = nullptr;

}  // namespace

Clipboard& clipboard() {
    static QtClipboard real;
    return g_override ? *g_override : real;
}

void setClipboardForTests(Clipboard* c) { g_override = c; }

}  // namespace platform
