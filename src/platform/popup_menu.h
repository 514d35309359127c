// popup_menu.h — showing a popup menu and waiting for the user's choice.
//
// Tests replace the showing with a chooser that looks at the built menu and picks
// an entry (or none) at once.
#pragma once

#include <QPoint>
#include <functional>

class QAction;
class QMenu;

namespace platform {

// Shows the menu at the global pixel position; the chosen entry, nullptr when dismissed.
QAction* execPopupMenu(QMenu& menu, const QPoint& at);

using PopupChooser = std::function<QAction*(QMenu& menu, const QPoint& at)>;
void setPopupChooserForTests(PopupChooser chooser);  // empty puts the real menu back

}  // namespace platform
