#include "mainwindow/window_layout.h"

#include <QWidget>
#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/vb.h"
#include "foundation/window_subclass.h"
#include "items/bid_status.h"
#include "items/item_grid.h"
#include "items/item_grid_model.h"
#include "platform/tray.h"

namespace TLMainLayout {
namespace {

constexpr int16_t kNormal = 0;
constexpr int16_t kMinimized = 1;
constexpr int16_t kMaximized = 2;

long toTwips(int pixels) { return static_cast<long>(vb::PixelsToTwips(pixels)); }
int toPixels(double twips) { return static_cast<int>(std::lround(twips / vb::kTwipsPerPixel)); }
long snap(double twips) { return toTwips(toPixels(twips)); }

// A control's place in twips as the layout reads and sets it. For a control the window does not
// have, the box is an empty one at the corner that keeps what it is given without showing it.
class Box {
public:
    explicit Box(QWidget* w) : m_w(w) {
        if (!w) return;
        m_left = toTwips(w->x());
        m_top = toTwips(w->y());
        m_width = toTwips(w->width());
        m_height = toTwips(w->height());
    }
    long Left() const { return m_left; }
    long Top() const { return m_top; }
    long Width() const { return m_width; }
    long Height() const { return m_height; }
    // Shown with its parent (its own Visible setting, whatever the window's state).
    bool Visible() const {
        if (!m_w) return false;
        return m_w->parentWidget() ? m_w->isVisibleTo(m_w->parentWidget()) : m_w->isVisible();
    }

    void setLeft(double twips) {
        m_left = snap(twips);
        if (m_w) m_w->move(toPixels(m_left), m_w->y());
    }
    void setTop(double twips) {
        m_top = snap(twips);
        if (m_w) m_w->move(m_w->x(), toPixels(m_top));
    }
    // A size below 0 cannot be given: the control keeps its size.
    void setWidth(double twips) {
        if (twips < 0) return;
        m_width = snap(twips);
        if (m_w) m_w->resize(toPixels(m_width), m_w->height());
    }
    void setHeight(double twips) {
        if (twips < 0) return;
        m_height = snap(twips);
        if (m_w) m_w->resize(m_w->width(), toPixels(m_height));
    }

private:
    QWidget* m_w;
    long m_left = 0, m_top = 0, m_width = 0, m_height = 0;
};

int16_t stateOf(const QWidget* window) {
    const Qt::WindowStates s = window->windowState();
    if (s & Qt::WindowMinimized) return kMinimized;
    if (s & Qt::WindowMaximized) return kMaximized;
    return kNormal;
}

// The grid as the wheel scrolls it.
class GridWheel final : public modPwrCtrl::WheelGrid {
public:
    explicit GridWheel(TLMainItems::ItemGridModel& grid) : m_grid(grid) {}
    long TopRow() const override { return m_grid.TopRow(); }
    void setTopRow(long row) override { m_grid.setTopRow(static_cast<int>(row)); }
    long Rows() const override { return m_grid.Rows(); }

private:
    TLMainItems::ItemGridModel& m_grid;
};

// Empty rows down to the status bar when the list on show has fewer rows than fit, and the
// stretching column of the view: the grid's width less the other columns and the scroll bar.
// The item description keeps its least width however narrow the grid (the grid then scrolls
// sideways); a feedback list's column keeps a few characters, and its width when the other
// columns alone are wider than the grid.
void fillGrid(long gridWidth, long gridHeight) {
    TLMainItems::ItemGridModel& g = TLMainItems::ItemGrid();
    const long rowHeight = g.RowHeight(0);
    if (rowHeight <= 0) return;
    const long fit = vb::CInt(static_cast<double>(gridHeight) / static_cast<double>(rowHeight));

    // `keepsLeast`: the column takes its least width also where the others leave less than nothing.
    const auto fill = [&](long listRows, int stretching, std::initializer_list<int> others, long least,
                          bool keepsLeast) {
        if (fit > listRows) g.setRows(static_cast<int>(fit));
        long width = g.ColumnTwips(gridWidth - kScrollBarRoom);
        for (int col : others) width -= g.ColWidth(col);
        if (width >= 0 || keepsLeast) g.setColWidth(stretching, std::max(width, least));
    };
    const long rest = TLMainItems::kRestColumnMinimum;
    switch (TLMainItems::GridViewMode) {
        case 0:
            fill(TLMainItems::GridRowCount, 2, {0, 1, 3, 4, 5, 6, 7, 8, 9}, TLMainItems::Description_Least_Width(), true);
            break;
        case 1: fill(static_cast<long>(TLMainItems::FeedbackLinks.size()), 3, {0, 1, 2}, rest, false); break;
        case 2: fill(TLMainItems::SellerFeedbackRows, 1, {0, 2, 3}, rest, false); break;
        default: break;
    }
}

}  // namespace

bool Tray_Present() { return platform::trayIcon().available(); }

bool Hides_To_Tray() { return !TLMainItems::Config_True("Options", "Taskbar", false) && Tray_Present(); }

long Default_Window_Width(long screenWidth) {
    long columns = kDefaultDescriptionWidth;
    for (long w : TLMainItems::kItemColumnWidths) columns += w;
    const double scale = TLMainItems::ItemGrid().WidthScale();
    // The grid's left edge (55) and the room right of it, the scroll bar, the frame of the grid.
    const long wanted = std::lround(static_cast<double>(columns) * scale) + 55 + kInnerWidthMargin + kScrollBarRoom + 60;
    return std::max(kDefaultWindowWidth, std::min(wanted, screenWidth));
}

void WindowLayout::ResizeWindow() {
    const Controls& c = m_controls;
    QWidget* form = c.Form ? c.Form : m_window;
    const long formWidth = toTwips(form->width());
    const long formHeight = toTwips(form->height());
    const long inner = formWidth - kInnerWidthMargin;

    // The toolbar row, then the entry row below it.
    Box toolbar(c.Toolbar1), phone(c.Phone);
    toolbar.setTop(kToolbarTop);
    phone.setTop(toolbar.Top());
    phone.setLeft(toolbar.Width() + 100);
    Box numBox(c.ItemNumBox), numLab(c.ItemNumLab), addItem(c.cmdAddItem), seller(c.labSeller);
    numBox.setTop(toolbar.Height() + 325);
    numLab.setTop(numBox.Top() + (numBox.Height() - numLab.Height()) / 2.0);
    addItem.setTop(numBox.Top());
    seller.setTop(numLab.Top());

    // The grid from below the entry row down to the status bar along the bottom.
    Box grid(c.ItemGrid), bar(c.StatusBar);
    grid.setWidth(inner);
    grid.setLeft(55);
    grid.setTop(numBox.Top() + numBox.Height() + 50);
    bar.setLeft(grid.Left());
    bar.setWidth(inner);
    bar.setTop(formHeight - bar.Height() - 40);
    grid.setHeight(bar.Top() - grid.Top());
    TLMainItems::ItemGrid().Area = {grid.Left(), grid.Top(), grid.Width(), grid.Height()};

    // The log pane lies exactly over the grid. It follows the grid while hidden as well, so that
    // it is in place whenever it is shown.
    Box opLog(c.OpLog);
    opLog.setLeft(grid.Left());
    opLog.setTop(grid.Top());
    opLog.setWidth(grid.Width());
    opLog.setHeight(grid.Height());

    // The right end of the status bar, right to left; the message line takes what is left.
    Box timeToUpdate(c.TimeToUpdateLab), timeIs(c.TimeIs), sound(c.SoundIcon), timer(c.TimerIcon);
    timeToUpdate.setLeft(bar.Width() - timeToUpdate.Width() - 125);
    timeIs.setLeft(bar.Width() - timeIs.Width() - timeToUpdate.Width() - 275);
    sound.setLeft(timeIs.Left() - sound.Width());
    long x = sound.Left();
    if (timer.Visible()) {
        timer.setLeft(x - timer.Width() - 100);
        x = timer.Left();
    }
    Box msg(c.MsgLab), comment(c.txtComment);
    msg.setWidth(x - 200);
    if (comment.Visible()) comment.setWidth(msg.Width());

    fillGrid(grid.Width(), grid.Height());
    TLMainState::PlacementSaveCountdown = 2;
}

int16_t WindowLayout::State() const {
    if (m_inTray && !m_window->isVisible()) return kMinimized;
    return stateOf(m_window);
}

void WindowLayout::Form_Resize() {
    if (m_window->isVisible()) m_inTray = false;
    const int16_t state = State();
    if (state != kMinimized) TLMainState::LastWindowState = state;
    TLMainState::MainWindowState = state;
    if (state == kMinimized && Hides_To_Tray()) {
        m_inTray = true;
        m_window->hide();
    }
    ResizeWindow();
}

void WindowLayout::To_Tray() {
    const int16_t state = State();
    if (state != kMinimized) TLMainState::LastWindowState = state;
    m_inTray = true;
    m_window->hide();
    TLMainState::MainWindowState = kMinimized;
}

void WindowLayout::WPS() {
    const int16_t state = State();
    if (state != kMinimized) modTLC::Set_Config_Value("Options", "WindowState", static_cast<long>(state));
    if (state != kNormal) return;  // a maximised window keeps the normal placement it had before
    // The place is the frame's, the size the inside's: the load gives the size back to the inside,
    // so the window keeps its size from start to start instead of growing by its frame.
    const QRect outer = m_window->frameGeometry();
    const QRect inner = m_window->geometry();
    modTLC::Set_Config_Value("Options", "NormalWidth", toTwips(inner.width()));
    modTLC::Set_Config_Value("Options", "NormalHeight", toTwips(inner.height()));
    modTLC::Set_Config_Value("Options", "NormalTop", toTwips(outer.y()));
    modTLC::Set_Config_Value("Options", "NormalLeft", toTwips(outer.x()));
}

void WindowLayout::MouseWheel(long Buttons, long Rotation, long X, long Y) {
    QWidget* grid = m_controls.ItemGrid;
    QWidget* focus = m_window->focusWidget();
    if (!grid || !focus || (focus != grid && !grid->isAncestorOf(focus))) return;
    GridWheel wheel(TLMainItems::ItemGrid());
    modPwrCtrl::Wheel_Scroll_Grid(wheel, Buttons, Rotation, X, Y);
}

void WindowLayout::Placement_Countdown() {
    if (TLMainState::PlacementSaveCountdown <= 0) return;
    if (--TLMainState::PlacementSaveCountdown == 0) WPS();
}

}  // namespace TLMainLayout
