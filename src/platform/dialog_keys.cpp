#include "platform/dialog_keys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

namespace platform {

namespace {

bool shown(const QPushButton* b, const QWidget* window) { return b && b->isVisibleTo(window); }
bool pressable(const QPushButton* b, const QWidget* window) { return shown(b, window) && b->isEnabled(); }

// The window's push button that has (or, the window being inactive, last had) the focus.
QPushButton* focusedButton(QWidget* window) {
    auto* b = qobject_cast<QPushButton*>(window->focusWidget());
    return b && b->window() == window && pressable(b, window) ? b : nullptr;
}

// Hands Enter on the controls it watches to its window.
class EnterToWindow final : public QObject {
public:
    explicit EnterToWindow(QWidget* window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        if (auto* list = qobject_cast<QComboBox*>(watched); list && list->isEditable()) return false;
        QCoreApplication::sendEvent(m_window, e);
        return true;
    }

private:
    QWidget* m_window;
};

}  // namespace

void passEnterToWindow(QWidget* window) {
    auto* filter = new EnterToWindow(window);
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (!qobject_cast<QPushButton*>(b)) b->installEventFilter(filter);
    for (QComboBox* list : window->findChildren<QComboBox*>()) list->installEventFilter(filter);
}

bool pressButtonForKey(QWidget* window, QKeyEvent* e, QPushButton* enter, QPushButton* escape) {
    QPushButton* pressed = nullptr;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        pressed = focusedButton(window);
        if (!pressed) pressed = enter;
    } else if (e->key() == Qt::Key_Escape) {
        pressed = escape;
    }
    if (!pressable(pressed, window)) return false;
    e->accept();
    pressed->click();
    return true;
}

// Stops before the window's controls are taken down (the focus moves as they go).
DefaultButtonMark::~DefaultButtonMark() { QObject::disconnect(m_focus); }

void DefaultButtonMark::follow(QWidget* window, std::function<QPushButton*()> enter) {
    QObject::disconnect(m_focus);
    m_window = window;
    m_enter = std::move(enter);
    markNow();
    m_focus = QObject::connect(qApp, &QApplication::focusChanged, window, [this](QWidget* old, QWidget* now) {
        if ((old && old->window() == m_window) || (now && now->window() == m_window)) markNow();
    });
}

void DefaultButtonMark::markNow() const {
    if (!m_window) return;
    QPushButton* marked = focusedButton(m_window);
    QPushButton* enter = m_enter ? m_enter() : nullptr;
    if (!marked && shown(enter, m_window)) marked = enter;
    for (QPushButton* b : m_window->findChildren<QPushButton*>())
        if (b->window() == m_window) b->setDefault(b == marked);
}

}  // namespace platform
