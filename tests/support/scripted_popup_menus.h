// scripted_popup_menus.h — popup menus that are never shown: each one is recorded as it was
// built and answered at once with the entry of a scripted ID (0 or an empty script dismisses).
#pragma once

#include <QAction>
#include <QMenu>
#include <deque>
#include <string>
#include <vector>

#include "foundation/c_menu.h"
#include "platform/popup_menu.h"

namespace testsupport {

class ScriptedPopupMenus {
public:
    struct Entry {
        long id = 0;
        std::string text;
        bool separator = false, checked = false, enabled = true, isDefault = false;
        std::vector<Entry> submenu;
    };
    struct Shown { QPoint at; std::vector<Entry> entries; };

    ScriptedPopupMenus() {
        platform::setPopupChooserForTests([this](QMenu& menu, const QPoint& at) { return choose(menu, at); });
    }
    ~ScriptedPopupMenus() { platform::setPopupChooserForTests({}); }

    void answer(long id) { m_answers.push_back(id); }
    const std::vector<Shown>& shown() const { return m_shown; }

private:
    static std::vector<Entry> entries(const QMenu& menu) {
        std::vector<Entry> out;
        for (QAction* a : menu.actions()) {
            Entry e;
            e.id = cMenu::CommandID(a);
            e.text = a->text().toStdString();
            e.separator = a->isSeparator();
            e.checked = a->isChecked();
            e.enabled = a->isEnabled();
            e.isDefault = menu.defaultAction() == a;
            if (a->menu()) e.submenu = entries(*a->menu());
            out.push_back(std::move(e));
        }
        return out;
    }
    static QAction* find(const QMenu& menu, long id) {
        for (QAction* a : menu.actions()) {
            if (!a->menu() && cMenu::CommandID(a) == id) return a;
            if (a->menu())
                if (QAction* inner = find(*a->menu(), id)) return inner;
        }
        return nullptr;
    }
    QAction* choose(QMenu& menu, const QPoint& at) {
        m_shown.push_back({at, entries(menu)});
        if (m_answers.empty()) return nullptr;
        const long id = m_answers.front();
        m_answers.pop_front();
        return id ? find(menu, id) : nullptr;
    }
    std::deque<long> m_answers;
    std::vector<Shown> m_shown;
};

}  // namespace testsupport
