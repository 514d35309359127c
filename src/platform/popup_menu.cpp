#include "platform/popup_menu.h"

#include <QMenu>

namespace platform {
namespace {
PopupChooser& chooser() {
    static PopupChooser c;
    return c;
}
}  // namespace

QAction* execPopupMenu(QMenu& menu, const QPoint& at) {
    if (chooser()) return chooser()(menu, at);
    return menu.exec(at);
}

void setPopupChooserForTests(PopupChooser c) { chooser() = std::move(c); }

}  // namespace platform
