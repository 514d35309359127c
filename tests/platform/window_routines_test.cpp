// Boxes and dialogs open centred over the window they belong to, inside the screen.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWidget>
#include <functional>
#include <memory>

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

// A window larger than the room it is given (an 800 × 500 screen less a frame) is made to fit. One
// whose laid-out content cannot be made that small scrolls: its controls, the same objects, go
// into a scroll area that reaches all of them. A window that fits is left alone, and so is one of
// a fixed size with its controls placed by hand.
TEST(FitInside, EveryWindowFitsAndScrollsWhereItMust) {
    const QSize room(800, 470);
    struct C {
        const char* name;
        std::function<QWidget*(QWidget* window)> build;  // returns the control at the far corner
        QSize size;
        bool scrolls;
    };
    const auto tallLayout = [](QWidget* w) {
        auto* layout = new QVBoxLayout(w);
        auto* tall = new QLabel("a page of settings", w);
        tall->setMinimumSize(300, 700);
        layout->addWidget(tall);
        auto* done = new QPushButton("Done", w);
        layout->addWidget(done);
        return static_cast<QWidget*>(done);
    };
    const auto placedByHand = [](QWidget* w) {
        auto* text = new QLabel("a long message", w);
        text->setGeometry(10, 10, 880, 500);
        auto* ok = new QPushButton("OK", w);
        ok->setGeometry(800, 560, 80, 30);
        w->setFixedSize(900, 600);
        return static_cast<QWidget*>(ok);
    };
    const auto small = [](QWidget* w) {
        auto* layout = new QVBoxLayout(w);
        auto* ok = new QPushButton("OK", w);
        layout->addWidget(ok);
        return static_cast<QWidget*>(ok);
    };
    const C cases[] = {
        {"a laid-out window taller than the room", tallLayout, QSize(400, 760), true},
        {"a window of fixed size with controls placed by hand", placedByHand, QSize(900, 600), false},
        {"a window larger than the room whose content can shrink", small, QSize(1000, 700), false},
        {"a window that fits", small, QSize(300, 200), false},
    };
    for (const C& c : cases) {
        auto window = std::make_unique<QWidget>();
        QWidget* corner = c.build(window.get());
        window->resize(c.size);
        platform::fitInside(window.get(), room);
        EXPECT_TRUE(corner->isVisibleTo(window.get())) << c.name << ": shown with the window";
        window->show();
        const bool fixed = window->minimumSize() == window->maximumSize();
        EXPECT_EQ(window->size(), fixed ? c.size : c.size.boundedTo(room)) << c.name;
        EXPECT_TRUE(window->isAncestorOf(corner) && corner->isVisible()) << c.name;
        auto* scroll = window->findChild<QScrollArea*>();
        ASSERT_EQ(scroll != nullptr, c.scrolls) << c.name;
        if (!scroll) continue;
        // Scrolled to its end, the far corner's control is in view.
        scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
        scroll->horizontalScrollBar()->setValue(scroll->horizontalScrollBar()->maximum());
        const QRect seen = scroll->viewport()->rect();
        const QRect at(corner->mapTo(scroll->viewport(), QPoint(0, 0)), corner->size());
        EXPECT_TRUE(seen.contains(at)) << c.name;
        platform::fitInside(window.get(), room);
        EXPECT_EQ(window->findChildren<QScrollArea*>().size(), 1) << c.name << ": once";
    }
}

}  // namespace
