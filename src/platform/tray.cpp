#include "platform/tray.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSystemTrayIcon>
#include <memory>

namespace platform {
namespace {

class QtTrayIcon final : public TrayIcon {
public:
    void add(const QIcon& icon, const std::string& tip, std::function<void(int)> onMouse) override {
        if (!available()) return;
        if (!m_icon) m_icon = std::make_unique<QSystemTrayIcon>();
        QObject::disconnect(m_icon.get(), nullptr, nullptr, nullptr);
        QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, m_icon.get(),
                         [this, onMouse = std::move(onMouse)](QSystemTrayIcon::ActivationReason reason) {
                             if (!onMouse) return;
                             // A second click soon after the first comes as a double click only
                             // (no Trigger of its own): it is a left click as well, as a
                             // double click is a second button-up followed by the double-click
                             // message. A Trigger of that same click, where one comes, counts once.
                             if (reason == QSystemTrayIcon::Trigger) m_lastTrigger.start();
                             if (reason == QSystemTrayIcon::DoubleClick &&
                                 (!m_lastTrigger.isValid() || m_lastTrigger.elapsed() > kSameClickMs))
                                 onMouse(kTrayLeftButtonUp);
                             onMouse(mouseMessage(reason));
                         });
        m_icon->setIcon(icon);
        m_icon->setToolTip(QString::fromStdString(tip));
        m_icon->show();
    }
    void remove() override { m_icon.reset(); }
    void setTip(const std::string& tip) override {
        if (m_icon) m_icon->setToolTip(QString::fromStdString(tip));
    }
    void showBalloon(const std::string& title, const std::string& text, int iconFlags) override {
        if (!m_icon) return;
        static const QSystemTrayIcon::MessageIcon kIcons[] = {QSystemTrayIcon::NoIcon, QSystemTrayIcon::Information,
                                                               QSystemTrayIcon::Warning, QSystemTrayIcon::Critical};
        m_icon->showMessage(QString::fromStdString(title), QString::fromStdString(text), kIcons[iconFlags & 3]);
    }
    bool isShown() const override { return m_icon != nullptr; }
    bool available() const override {
        return qobject_cast<QApplication*>(QCoreApplication::instance()) && QSystemTrayIcon::isSystemTrayAvailable();
    }

private:
    static int mouseMessage(QSystemTrayIcon::ActivationReason reason) {
        switch (reason) {
            case QSystemTrayIcon::Trigger: return kTrayLeftButtonUp;
            case QSystemTrayIcon::Context: return kTrayRightButtonUp;
            case QSystemTrayIcon::DoubleClick: return kTrayLeftDoubleClick;
            case QSystemTrayIcon::MiddleClick: return kTrayMiddleButtonUp;
            default: return kTrayMouseMove;
        }
    }
    static constexpr qint64 kSameClickMs = 100;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    QElapsedTimer m_lastTrigger;  // the last Trigger's time
};

TrayIcon* g_override = nullptr;

}  // namespace

TrayIcon& trayIcon() {
    static auto* real = new QtTrayIcon;  // lives to the end of the process, past the application object
    return g_override ? *g_override : *real;
}

void setTrayIconForTests(TrayIcon* t) { g_override = t; }

}  // namespace platform
