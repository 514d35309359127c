#include "platform/tray.h"

#include <QApplication>
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
                         [onMouse = std::move(onMouse)](QSystemTrayIcon::ActivationReason reason) {
                             if (onMouse) onMouse(mouseMessage(reason));
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
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

TrayIcon* g_override = nullptr;

}  // namespace

TrayIcon& trayIcon() {
    static auto* real = new QtTrayIcon;  // lives to the end of the process, past the application object
    return g_override ? *g_override : *real;
}

void setTrayIconForTests(TrayIcon* t) { g_override = t; }

}  // namespace platform
