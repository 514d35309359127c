#include "platform/window_routines.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
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

namespace {

// The least size the window's content can be given: a fixed or least size of its own, or its
// layout's.
QSize leastSize(const QWidget* window) {
    QSize least = window->minimumSize();
    if (const QLayout* layout = window->layout()) least = least.expandedTo(layout->totalMinimumSize());
    return least;
}

// Moves the window's laid-out content into a scroll area that fills the window.
void scrollContent(QWidget* window) {
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("ScrolledContent"));
    content->setLayout(window->layout());  // takes the layout and the controls in it from the window
    auto* scroll = new QScrollArea(window);
    scroll->setObjectName(QStringLiteral("ScrolledWindow"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
}

}  // namespace

void fitInside(QWidget* window, const QSize& room) {
    if (!window || room.isEmpty()) return;
    const QSize least = leastSize(window);
    if ((least.width() > room.width() || least.height() > room.height()) && window->layout() &&
        !window->findChild<QScrollArea*>(QStringLiteral("ScrolledWindow"), Qt::FindDirectChildrenOnly))
        scrollContent(window);
    const QSize size = window->size().boundedTo(room);
    if (size != window->size()) window->resize(size);
}

void widenForTitle(QWidget* window) {
    if (!window) return;
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);  // title bars draw it bold, at about the program's size
    const QFontMetrics fm(titleFont);
    // The frame's icon and buttons (about a line's height each) and the margins beside them.
    int wanted = fm.horizontalAdvance(window->windowTitle()) + 6 * fm.height();
    if (const QScreen* screen = window->screen()) wanted = std::min(wanted, screen->availableGeometry().width() - 2 * fm.height());
    if (window->width() < wanted) window->resize(wanted, window->height());
}

void placeOver(QWidget* window, const QWidget* owner) {
    if (!window) return;
    const bool overOwner = owner && owner != window && owner->isVisible() && !owner->isMinimized();
    const QScreen* screen = overOwner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // The window manager's frame around the window: its own once shown, else the owner's.
    const QWidget* framed = window->isVisible() || !overOwner ? window : owner;
    const QSize frame = framed->frameGeometry().size() - framed->size();
    fitInside(window, area.size() - frame);
    const QSize size = window->size();
    QRect placed(QPoint(0, 0), size + frame);
    placed.moveCenter(overOwner ? owner->frameGeometry().center() : area.center());
    placed.moveLeft(std::clamp(placed.left(), area.left(), std::max(area.left(), area.right() - size.width() - frame.width() + 1)));
    placed.moveTop(std::clamp(placed.top(), area.top(), std::max(area.top(), area.bottom() - size.height() - frame.height() + 1)));
    window->move(placed.topLeft());
}

QSize unscrolledSize(const QWidget* window, const QScrollArea* scroll) {
    const QSize hint = window->sizeHint().expandedTo(window->minimumSizeHint());
    if (!scroll || !scroll->widget()) return hint;
    const int frame = 2 * scroll->frameWidth();
    const QSize whole = scroll->widget()->sizeHint().expandedTo(scroll->widget()->minimumSizeHint()) + QSize(frame, frame);
    const QSize shown = scroll->sizeHint();
    return hint + QSize(std::max(0, whole.width() - shown.width()), std::max(0, whole.height() - shown.height()));
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
