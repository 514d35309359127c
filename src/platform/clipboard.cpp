#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <vector>

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

protected:
    void beginWatching() override {
        if (QClipboard* c = board()) QObject::connect(c, &QClipboard::dataChanged, [this] { notifyChanged(); });
    }

private:
    static QClipboard* board() {
        return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
    }
};

Clipboard* g_override = nullptr;

}  // namespace

int Clipboard::watchChanges(std::function<void()> changed) {
    if (!m_watching) {
        m_watching = true;
        beginWatching();
    }
    m_watchers[++m_lastWatch] = std::move(changed);
    return m_lastWatch;
}

void Clipboard::unwatchChanges(int id) { m_watchers.erase(id); }

void Clipboard::notifyChanged() {
    // A watcher may give back its id (or another's) while it runs.
    std::vector<int> ids;
    for (const auto& w : m_watchers) ids.push_back(w.first);
    for (int id : ids) {
        const auto it = m_watchers.find(id);
        if (it != m_watchers.end()) {
            const auto changed = it->second;
            changed();
        }
    }
}

Clipboard& clipboard() {
    static QtClipboard real;
    return g_override ? *g_override : real;
}

void setClipboardForTests(Clipboard* c) { g_override = c; }

}  // namespace platform
