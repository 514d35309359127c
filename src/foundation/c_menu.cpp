#include "foundation/c_menu.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QWidget>

#include "foundation/main_window_link.h"
#include "foundation/vb.h"
#include "platform/popup_menu.h"

namespace {

constexpr const char* kIdProperty = "cMenuID";

// The entry with the command ID, searched through the submenus as well.
QAction* findCommand(QMenu& menu, long id, QMenu** owner) {
    for (QAction* a : menu.actions()) {
        if (a->property(kIdProperty).isValid() && cMenu::CommandID(a) == id) {
            *owner = &menu;
            return a;
        }
        if (a->menu())
            if (QAction* found = findCommand(*a->menu(), id, owner)) return found;
    }
    return nullptr;
}

QWidget* firstTopWindow() {
    if (QWidget* active = QApplication::activeWindow()) return active;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isWindow() && !qobject_cast<QMenu*>(w)) return w;
    return nullptr;
}

}  // namespace

cMenu::cMenu() : m_menu(std::make_unique<QMenu>()) {}
cMenu::~cMenu() = default;

void cMenu::AddItem(long ID, const std::string& Caption, bool Default, bool Checked, bool Disabled, bool Grayed,
                    bool BarBreak) {
    QAction* a = Caption == "-" ? m_menu->addSeparator() : m_menu->addAction(QString::fromStdString(Caption));
    a->setProperty(kIdProperty, static_cast<qlonglong>(ID));
    if (Caption != "-" && Checked) {
        a->setCheckable(true);
        a->setChecked(true);
    }
    applyFlags(ID, Default, Disabled, Grayed);
}

void cMenu::AddItem(long ID, cMenu& Submenu, bool Default, bool Checked, bool Disabled, bool Grayed, bool BarBreak) {
    QAction* a = m_menu->addMenu(Submenu.m_menu.get());
    a->setText(QString::fromStdString(Submenu.Caption()));
    applyFlags(ID, Default, Disabled, Grayed);
}

void cMenu::applyFlags(long ID, bool Default, bool Disabled, bool Grayed) {
    if (!Default && !Disabled && !Grayed) return;
    QMenu* owner = nullptr;
    QAction* a = findCommand(*m_menu, ID, &owner);
    if (!a) return;
    if (Default) owner->setDefaultAction(a);
    if (Grayed || Disabled) a->setEnabled(false);
}

long cMenu::TrackPopup(QWidget* Owner, long X, long Y, QWidget* AlignWindow) {
    if (!Owner) Owner = firstTopWindow();
    if (!Owner) throw vb::RuntimeError(-1, "cMenu.TrackPopup", "Cannot find top window of current process!");

    QPoint at;
    if (AlignWindow) {
        at = AlignWindow->mapToGlobal(QPoint(0, AlignWindow->height()));
    } else {
        at = QCursor::pos();
        if (X != -1) at.setX(static_cast<int>(X));
        if (Y != -1) at.setY(static_cast<int>(Y));
    }

    if (QWidget* main = TLMainLink::window().widget()) main->activateWindow();
    QAction* chosen = platform::execPopupMenu(*m_menu, at);
    return chosen ? CommandID(chosen) : 0;
}

long cMenu::CommandID(const QAction* entry) {
    const QVariant v = entry->property(kIdProperty);
    return v.isValid() ? static_cast<long>(v.toLongLong()) : 0;
}
