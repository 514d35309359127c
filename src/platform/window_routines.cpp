#include "platform/window_routines.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace platform {

void setWindowTopmost(QWidget* window, int flag) {
    if (!window) return;
    if (flag == -1 || flag == 0) {
        const bool on = flag == -1;
        if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != on)
            window->setWindowFlag(Qt::WindowStaysOnTopHint, on);  // hides a shown window
    }
    window->show();
    window->raise();
}

void setTaskbarButton(QWidget* window, bool show) {
    if (!window) return;
    window->hide();
    // A tool window has no taskbar button.
    window->setWindowFlag(Qt::Tool, !show);
    window->show();
}

bool hasTaskbarButton(const QWidget* window) {
    return window && (window->windowFlags() & Qt::WindowType_Mask) != Qt::Tool;
}

bool clickAtPixel(QPoint global) {
    QWidget* target = QApplication::widgetAt(global);
    if (!target) return false;
    const QPointF local = target->mapFromGlobal(QPointF(global));
    const QPointF globalF(global);
    QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonPress, local, globalF, Qt::LeftButton,
                                                        Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonRelease, local, globalF, Qt::LeftButton,
                                                        Qt::NoButton, Qt::NoModifier));
    return true;
}

QWidget* dialogOwner() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active->window();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(w) && w->isVisible()) return w;
    return nullptr;
}

void closeOtherWindows(const std::string& keep) {
    std::vector<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = w->windowType();
        if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::Desktop) continue;
        if (w->objectName().startsWith(QLatin1String("qt_"))) continue;
        if (!keep.empty() && w->objectName().toStdString() == keep) continue;
        windows.emplace_back(w);
    }
    for (const QPointer<QWidget>& w : windows)
        if (w) w->close();
}

}  // namespace platform
