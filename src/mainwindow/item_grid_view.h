// item_grid_view.h — the item grid on the main window: a table view over the item grid model,
// the photo frame that pops up beside it, the "Categories" and "Sort Default" menus, and the
// item duties the main window carries out for the grid (seller label, auto-dial marker, caption,
// comment window, bid set-up).
//
// The view shows the model's cells, pictures and colours with the model's column widths (twips,
// 15 to a pixel), keeps the model's current cell, selection and first visible row in step with
// the user's, and hands mouse presses, clicks and double clicks to the grid routines with the
// cell under the mouse. A right press does everything it leads to before it returns (the view
// raises no click after it). A left click on a column caption sorts by that column; a press and a
// double click on one reach the grid routines as on row 0.
#pragma once

#include <QFrame>
#include <QTableView>
#include <functional>
#include <map>

#include "items/item_grid_model.h"
#include "items/item_window_links.h"
#include "items/item_windows.h"

class QLabel;
class QMenu;

namespace TLMainItemsView {

// The image list's pictures that the grid shows, by number.
QVariant Grid_Picture(int picture);
// How many times wider than the settings' 8-point font `font` writes (by the width of a digit):
// the grid shows its columns that much wider.
double Font_Width_Scale(const QFont& font);

class ItemGridView final : public QTableView {
public:
    explicit ItemGridView(TLMainItems::ItemGridModel& model, QWidget* parent = nullptr);

    TLMainItems::ItemGridModel& gridModel() { return m_model; }
    // The cell under a point of the view (row 0: the caption row; -1: none).
    void cellAt(const QPoint& viewPos, int& row, int& col) const;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    // The wheel is the window's: it scrolls the grid one row a turn (WindowLayout::MouseWheel).
    void wheelEvent(QWheelEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void applyColumns();
    void selectionFromModel();
    void selectionToModel();
    void pressed(int button, Qt::KeyboardModifiers modifiers, const QPoint& viewPos);

    TLMainItems::ItemGridModel& m_model;
    bool m_syncing = false;
    bool m_applying = false;     // the view is taking the model's widths
    bool m_captionHeld = false;  // the left button is down on the caption row
};

// The photo frame (PicHolder) with its picture (ItemPic) and the "no photo" label, laid over
// the window's client area in twips.
class ItemPhotoFrame final : public QFrame, public TLMainItems::PhotoFrame {
public:
    explicit ItemPhotoFrame(QWidget* parent);
    bool loadPicture(const std::string& path, long& width, long& height) override;
    void clearPicture() override;
    void placePhoto(int index, const TLMainItems::TwipRect& frame, const TLMainItems::TwipRect& picture,
                    bool noPhoto, bool visible) override;

    QLabel* ItemPic = nullptr;
    QLabel* labNoPhoto = nullptr;
};

// The "Categories" menu (Add, the Delete submenu, then one checked entry per category) and the
// "Sort Default" menu, built from the item state.
class ItemMenus final : public QObject {
public:
    explicit ItemMenus(QWidget* parent);
    QMenu* categories() const { return m_categories; }
    QMenu* sortDefault() const { return m_sortDefault; }
    // Builds the category entries again (the category list or the current one changed).
    void rebuildCategories();

private:
    QMenu* m_categories;
    QMenu* m_deleteCategories;
    QMenu* m_sortDefault;
};

// The item duties of the main window, through its controls: the seller label, the auto-dial
// marker, the caption, the layout, the category menus, the comment window and the bid set-up.
// The main window gives it its controls and takes the duties on with takeOn().
class ItemWindowDuties final : public TLMainItems::ItemWindow, public TLMainItems::ItemWindows {
public:
    ItemWindowDuties(QWidget* window, ItemGridView* grid, ItemPhotoFrame* photo, ItemMenus* menus, QLabel* labSeller,
                     QWidget* phone);
    ~ItemWindowDuties() override;

    // The layout after a grid load (the window's ResizeWindow); the bid set-up dialog.
    std::function<void()> resizeWindow;
    std::function<void()> bidForm;

    // Takes on the grid and the item duties: the grid model is the grid the item routines use.
    void takeOn();
    void giveBack();
    // The grid's part of the window's load: colours, item columns, categories, the item list
    // and the grid.
    void Form_Load();

    // ItemWindow
    void setSellerLabel(const std::string& text) override;
    void setAutoDialMarker(bool shown) override;
    void setMainCaption(const std::string& text) override;
    void ResizeWindow() override;
    void categoriesChanged() override;
    void beep() override;
    // ItemWindows
    void showBidForm() override;
    void showCommentWindow(int itemIndex) override;
    bool commentWindowOpen() const override;

private:
    QWidget* m_window;
    ItemGridView* m_grid;
    ItemPhotoFrame* m_photo;
    ItemMenus* m_menus;
    QLabel* m_labSeller;
    QWidget* m_phone;
    bool m_held = false;
};

}  // namespace TLMainItemsView
