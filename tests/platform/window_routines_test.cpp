// Boxes and dialogs open centred over the window they belong to, inside the screen.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/window_routines.h"

namespace {

TEST(PlaceOver, CentresAWindowOverItsOwnerInsideTheScreen) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget owner;
    owner.setGeometry(area.left() + 60, area.top() + 40, 400, 300);
    owner.show();
    QWidget box;
    box.resize(200, 100);
    platform::placeOver(&box, &owner);
    // The box is placed with the frame the window manager will give it (the owner's).
    const QPoint off = box.geometry().center() - owner.frameGeometry().center();
    EXPECT_LE(off.manhattanLength(), (owner.frameGeometry().size() - owner.size()).width() + 2);

    // Over an owner partly off the screen the box stays on the screen.
    owner.move(area.left() - 350, area.top() - 250);
    platform::placeOver(&box, &owner);
    EXPECT_EQ(box.pos(), area.topLeft());

    // Without a shown owner: the screen's centre; a box larger than the screen is made to fit.
    owner.hide();
    box.resize(area.width() + 100, 100);
    platform::placeOver(&box, &owner);
    EXPECT_EQ(box.width(), area.width());
    EXPECT_EQ(box.geometry().center().y(), area.center().y());
}

}  // namespace
