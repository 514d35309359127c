// The item photo that pops up beside a row, driven by the mouse as a user drives it: it stays
// while the pointer moves onto it, so that a right press there enlarges it and a left click pins
// it; it goes once the pointer has left both the rows and the photo.
#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QImage>
#include <QRect>
#include <functional>
#include <memory>
#include <string>

#include "e2e_program.h"

using namespace testsupport;

namespace {

const char* const kNumber = "160000000051";

// The bounding box of the pixels that pass `match` (empty when none do).
QRect Pixels_Box(const QImage& shot, const std::function<bool(const QColor&)>& match) {
    QRect box;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (match(QColor(shot.pixel(x, y)))) box |= QRect(x, y, 1, 1);
    return box;
}

// The photo every item of these tests has: one magenta field.
bool Photo_Pixel(const QColor& c) { return c.red() > 200 && c.green() < 80 && c.blue() > 200; }

// The selected cell: the longest run of one saturated blue along a line of the window (the
// program starts with the first row's description selected).
QRect Selected_Cell(const QImage& shot) {
    int bestLength = 0, bestX = 0, bestY = 0;
    for (int y = 0; y < shot.height(); ++y) {
        int x = 0;
        while (x < shot.width()) {
            const QRgb c = shot.pixel(x, y);
            int end = x + 1;
            while (end < shot.width() && shot.pixel(end, y) == c) ++end;
            const QColor q(c);
            if (q.blue() > q.red() + 60 && end - x > bestLength) {
                bestLength = end - x;
                bestX = x;
                bestY = y;
            }
            x = end;
        }
    }
    if (bestLength < 60) return {};
    const QRgb c = shot.pixel(bestX, bestY);
    int top = bestY, bottom = bestY;
    const int midX = bestX + bestLength / 2;
    while (top > 0 && shot.pixel(midX, top - 1) == c) --top;
    while (bottom + 1 < shot.height() && shot.pixel(midX, bottom + 1) == c) ++bottom;
    return QRect(bestX, top, bestLength, bottom - top + 1);
}

// The program started by the fixture (a running program is neither copied nor moved).
struct Started {
    explicit Started(E2EProgram& e) : program(e.start()) {}
    RunningProgram program;
};

class PhotoPopup : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(e.x.running()) << e.x.error();
        wm = Start_Window_Manager(e.x);
        ASSERT_TRUE(wm->ready()) << wm->error();
        e.writeItems({{kNumber, "Hasselblad 500C/M body", 3 * 86400}, {"160000000052", "Zeiss Planar 80mm", 4 * 86400}});
        QImage photo(300, 225, QImage::Format_RGB32);
        photo.fill(QColor(255, 0, 255));
        QDir().mkpath(QString::fromStdString(e.data.path("Item Photos")));
        ASSERT_TRUE(photo.save(QString::fromStdString(e.data.path("Item Photos/" + std::string(kNumber) + ".jpg")), "JPG"));
        e.writeConfig("Sound=0\r\nLastUser=buyer1\r\nPhotosOn=1\r\n");
        started = std::make_unique<Started>(e);
        ASSERT_TRUE(started->program.started());
        main = e.waitForMainWindow();
        ASSERT_NE(main, 0u) << e.input.visibleWindows() << started->program.output();
        ASSERT_TRUE(waitUntil([&] {
            cell = Selected_Cell(e.input.grab(main));
            return !cell.isEmpty();
        }, 10000)) << "no selected row on the window";
    }

    // (Without --sync: xdotool would wait for a move that never comes when the pointer is there.)
    void moveTo(const QPoint& p) const {
        e.input.run({"mousemove", "--window", QString::number(main), QString::number(p.x()), QString::number(p.y())});
    }
    QRect photo() const { return Pixels_Box(e.input.grab(main), Photo_Pixel); }
    // The pointer rests on the first row's description until its photo shows.
    QRect hoverForPhoto() const {
        moveTo(cell.center());
        QRect shown;
        waitUntil([&] {
            shown = photo();
            return shown.width() > 40;
        }, 5000);
        return shown;
    }
    // True when the photo stays for `ms` (the hover timer ticks every 100 ms).
    bool photoStays(int ms) const { return !waitUntil([&] { return photo().isEmpty(); }, ms); }

    E2EProgram e;
    std::unique_ptr<DesktopProgram> wm;
    std::unique_ptr<Started> started;
    qulonglong main = 0;
    QRect cell;
};

// Onto the photo: it stays; a right press on it makes it larger; a left click pins it, and the
// pinned photo stays when the pointer goes.
TEST_F(PhotoPopup, StaysUnderThePointerToBeEnlargedAndPinned) {
    const QRect popup = hoverForPhoto();
    ASSERT_GT(popup.width(), 40) << "no photo beside the row";
    EXPECT_FALSE(popup.contains(cell.center())) << "the photo lies beside the row, not under the pointer";

    moveTo(popup.center());
    ASSERT_TRUE(photoStays(1500)) << "the photo went when the pointer moved onto it";

    e.input.run({"click", "3"});
    QRect larger;
    EXPECT_TRUE(waitUntil([&] {
        larger = photo();
        return larger.width() > popup.width() + 40;
    }, 3000)) << "a right press did not enlarge it: " << popup.width() << " wide, then " << larger.width();
    ASSERT_TRUE(photoStays(1000));

    e.input.run({"click", "1"});
    moveTo({e.input.geometry(main).width() - 20, 10});  // the menu bar's right end: off the rows
    EXPECT_TRUE(photoStays(1500)) << "a left click on the photo did not pin it";
    EXPECT_EQ(photo(), larger) << "the pinned photo is the enlarged one, where it was";
}

// Off the rows and off the photo, wherever the pointer goes then, the photo goes within moments:
// also when it goes straight from the row, and when a range of rows was selected meanwhile (no
// new photo is timed then, but the one shown does not stay).
TEST_F(PhotoPopup, GoesOnceThePointerHasLeftTheRowsAndThePhoto) {
    const QRect window = e.input.geometry(main);
    struct Away {
        const char* what;
        bool overThePhoto;  // the pointer rests on the photo first
        const char* keys;   // then these keys, if any
        std::function<void()> go;
    };
    const Away aways[] = {
        {"from the photo to the menu bar", true, nullptr, [&] { moveTo({window.width() - 20, 10}); }},
        {"from the photo out of the window", true, nullptr, [&] { e.input.run({"mousemove", "1", "1"}); }},
        {"from the photo to the status line", true, nullptr, [&] { moveTo({window.width() / 3, window.height() - 8}); }},
        {"from the row to the menu bar", false, nullptr, [&] { moveTo({window.width() - 20, 10}); }},
        {"from the row, two rows selected, to the menu bar", false, "shift+Down", [&] { moveTo({window.width() - 20, 10}); }},
    };
    for (const Away& a : aways) {
        SCOPED_TRACE(a.what);
        e.input.click(main, cell.center().x(), cell.center().y());  // one row selected
        const QRect popup = hoverForPhoto();
        ASSERT_GT(popup.width(), 40) << "no photo beside the row";
        if (a.overThePhoto) {
            moveTo(popup.center());
            ASSERT_TRUE(photoStays(1000)) << "the photo went when the pointer moved onto it";
        }
        if (a.keys) e.input.run({"key", "--clearmodifiers", a.keys});
        a.go();
        EXPECT_TRUE(waitUntil([&] { return photo().isEmpty(); }, 2000)) << "the photo stayed";
    }
}

}  // namespace
