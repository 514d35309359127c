#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QWidget>

#include "foundation/c_menu.h"
#include "foundation/vb.h"
#include "scripted_popup_menus.h"

using testsupport::ScriptedPopupMenus;

namespace {

TEST(CMenu, BuildsItemsSeparatorsAndSubmenus) {
    ScriptedPopupMenus menus;
    QWidget owner;
    cMenu users;
    users.setCaption("Users");
    users.AddItem(10, "alice", false, true);
    users.AddItem(11, "bob");
    cMenu menu;
    menu.AddItem(5, users, false, true);  // a submenu shows no check mark
    menu.AddItem(1, "Show Window", true);
    menu.AddItem(2, "-");
    menu.AddItem(3, "Enable Auto Add", false, true);
    menu.AddItem(4, "Grayed", false, false, false, true);
    menu.AddItem(6, "Disabled", false, false, true);
    menu.TrackPopup(&owner);

    ASSERT_EQ(menus.shown().size(), 1u);
    const auto& e = menus.shown()[0].entries;
    ASSERT_EQ(e.size(), 6u);
    EXPECT_EQ(e[0].text, "Users");
    EXPECT_FALSE(e[0].checked);
    ASSERT_EQ(e[0].submenu.size(), 2u);
    EXPECT_EQ(e[0].submenu[0].text, "alice");
    EXPECT_TRUE(e[0].submenu[0].checked);
    EXPECT_EQ(e[1].text, "Show Window");
    EXPECT_TRUE(e[1].isDefault);
    EXPECT_TRUE(e[2].separator);
    EXPECT_TRUE(e[3].checked);
    EXPECT_FALSE(e[3].isDefault);
    EXPECT_FALSE(e[4].enabled);
    EXPECT_FALSE(e[5].enabled);
    EXPECT_TRUE(e[1].enabled);
}

TEST(CMenu, TrackPopupGivesTheChosenIdOrZero) {
    ScriptedPopupMenus menus;
    QWidget owner;
    cMenu users;
    users.setCaption("Users");
    users.AddItem(10, "alice");
    cMenu menu;
    menu.AddItem(5, users);
    menu.AddItem(1, "Show Window");
    menu.AddItem(99, "Exit");

    menus.answer(99);
    EXPECT_EQ(menu.TrackPopup(&owner), 99);
    menus.answer(10);  // an item of the submenu
    EXPECT_EQ(menu.TrackPopup(&owner), 10);
    menus.answer(0);  // dismissed
    EXPECT_EQ(menu.TrackPopup(&owner), 0);
    EXPECT_EQ(menu.TrackPopup(&owner), 0);  // nothing scripted: dismissed too
}

TEST(CMenu, TrackPopupOpensAtTheGivenPointOrBelowTheAlignWindow) {
    ScriptedPopupMenus menus;
    QWidget owner;
    owner.setGeometry(40, 50, 200, 30);
    cMenu menu;
    menu.AddItem(1, "Show Window");
    menu.TrackPopup(&owner, 100, 200);
    menu.TrackPopup(&owner, -1, -1, &owner);
    ASSERT_EQ(menus.shown().size(), 2u);
    EXPECT_EQ(menus.shown()[0].at, QPoint(100, 200));
    EXPECT_EQ(menus.shown()[1].at, owner.mapToGlobal(QPoint(0, 30)));
}

TEST(CMenu, TrackPopupWithoutOwnerTakesTheProgramsWindowOrRaisesMinusOne) {
    ScriptedPopupMenus menus;
    cMenu menu;
    menu.AddItem(1, "Show Window");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // windows closed by earlier tests
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!qobject_cast<QMenu*>(w))
            GTEST_SKIP() << "another test left a window open: " << w->metaObject()->className() << " "
                         << w->objectName().toStdString();

    try {
        menu.TrackPopup();
        ADD_FAILURE() << "no error raised";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number, -1);
        EXPECT_EQ(e.Source, "cMenu.TrackPopup");
        EXPECT_STREQ(e.what(), "Cannot find top window of current process!");
    }
    EXPECT_TRUE(menus.shown().empty());  // nothing was shown

    QWidget window;  // any window of the program will do, shown or not
    menus.answer(1);
    EXPECT_EQ(menu.TrackPopup(), 1);
    EXPECT_EQ(menus.shown().size(), 1u);
}

}  // namespace
