#include "mainwindow/item_grid_view.h"

#include <QAction>
#include <QFontMetricsF>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "foundation/vb.h"
#include "items/categories.h"
#include "items/comment_window.h"
#include "items/grid_clicks.h"
#include "items/item_grid.h"
#include "items/item_grid_link.h"
#include "items/item_sort.h"
#include "items/item_store.h"
#include "items/sort_commands.h"

namespace TLMainItemsView {
namespace {

using namespace TLMainItems;

int px(long twips) { return vb::TwipsToPixels(static_cast<int>(twips)); }
long twips(int pixels) { return vb::PixelsToTwips(pixels); }
// A column's width on the screen in whole pixels, to the nearest one (a dragged width comes back
// as it was dragged).
int columnPx(long screenTwips) { return static_cast<int>(std::lround(static_cast<double>(screenTwips) / vb::kTwipsPerPixel)); }

// The column widths in the settings were measured for an 8-point font whose digits are 6 pixels
// wide.
constexpr double kSettingsDigitPixels = 6.0;

QIcon paintedPicture(const QColor& colour, const QString& mark) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(colour.darker(150));
    p.drawEllipse(1, 1, 14, 14);
    QFont f = p.font();
    f.setPixelSize(mark.size() > 1 ? 7 : 10);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, mark);
    return QIcon(pm);
}

// The grid's scroll bars as the desktop's style draws them, but for the handle: a rounded bar
// half way between the palette's button and text colours (more when pointed at or held), which
// stands out from its track on a light palette as on a dark one. Some styles draw the handle
// lighter than its track, so that the track's rest looks like the handle.
class GridScrollBarStyle final : public QProxyStyle {
public:
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override {
        const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_ScrollBar || !bar || !(bar->subControls & SC_ScrollBarSlider)) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        QStyleOptionSlider track(*bar);
        track.subControls &= ~SC_ScrollBarSlider;
        QProxyStyle::drawComplexControl(control, &track, painter, widget);
        const QRect handle = subControlRect(control, bar, SC_ScrollBarSlider, widget);
        if (handle.isEmpty() || bar->minimum == bar->maximum) return;

        const bool on = bar->activeSubControls & SC_ScrollBarSlider;
        const int textShare = !(bar->state & State_Enabled) ? 30
                              : on && (bar->state & State_Sunken) ? 70
                              : on && (bar->state & State_MouseOver) ? 60
                                                                     : 50;
        const QColor a = bar->palette.color(QPalette::Button), b = bar->palette.color(QPalette::WindowText);
        const auto mix = [textShare](int x, int y) { return (x * (100 - textShare) + y * textShare) / 100; };
        const QColor fill(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));

        const bool upright = bar->orientation == Qt::Vertical;
        const qreal inset = (upright ? handle.width() : handle.height()) / 5.0;
        const QRectF shape = upright ? QRectF(handle).adjusted(inset, 1, -inset, -1)
                                     : QRectF(handle).adjusted(1, inset, -1, -inset);
        const qreal radius = std::min(shape.width(), shape.height()) / 2;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(fill);
        painter->drawRoundedRect(shape, radius, radius);
        painter->restore();
    }
};

}  // namespace

double Font_Width_Scale(const QFont& font) {
    const double digit = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
    return digit > 0 ? digit / kSettingsDigitPixels : 1.0;
}

QVariant Grid_Picture(int picture) {
    static std::map<int, QIcon> pictures;
    if (pictures.empty()) {
        pictures[kPicAlarm] = paintedPicture(QColor(230, 120, 0), "!");
        pictures[kPicReserve] = paintedPicture(QColor(160, 40, 40), "R");
        pictures[kPicSleep] = paintedPicture(QColor(60, 60, 160), "Z");
        pictures[kPicMail] = paintedPicture(QColor(40, 120, 40), "@");
        pictures[kPicMailSleep] = paintedPicture(QColor(40, 110, 130), "@Z");
        pictures[kPicHeld] = paintedPicture(QColor(110, 110, 110), "H");
        pictures[kPicLost] = paintedPicture(QColor(200, 30, 30), "X");
        pictures[kPicUnconfirmed] = paintedPicture(QColor(200, 130, 0), "?");
        pictures[kPicNeverPlaced] = paintedPicture(QColor(110, 110, 110), "-");
        pictures[kPicNegative] = paintedPicture(QColor(190, 20, 60), "-");
        pictures[kPicPositive] = paintedPicture(QColor(30, 150, 50), "+");
        pictures[kPicNeutral] = paintedPicture(QColor(120, 120, 120), "=");
    }
    const auto it = pictures.find(picture);
    return it == pictures.end() ? QVariant() : QVariant(it->second);
}

// --- The view ---

ItemGridView::ItemGridView(ItemGridModel& model, QWidget* parent) : QTableView(parent), m_model(model) {
    setObjectName("ItemGrid");
    m_model.setPictureProvider(Grid_Picture);
    setModel(&m_model);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);  // Tab goes on to the next control; the arrows move in the grid
    setWordWrap(false);
    setIconSize(QSize(16, 16));
    auto* bars = new GridScrollBarStyle();
    bars->setParent(this);
    verticalScrollBar()->setStyle(bars);
    horizontalScrollBar()->setStyle(bars);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* captions = horizontalHeader();
    captions->setSectionResizeMode(QHeaderView::Fixed);  // applyColumns lets the adjustable ones be dragged
    captions->setMinimumSectionSize(1);  // the narrow alarm column keeps its own width
    captions->setHighlightSections(false);
    captions->setSectionsClickable(true);
    // A caption click sorts; it does not select the column.
    disconnect(captions, SIGNAL(sectionPressed(int)), this, SLOT(selectColumn(int)));
    disconnect(captions, SIGNAL(sectionEntered(int)), this, SLOT(_q_selectColumn(int)));
    connect(captions, &QHeaderView::sectionClicked, this, [](int col) { ItemGrid_HeaderClick(col); });
    captions->viewport()->installEventFilter(this);
    // A column edge dragged by the user (the left button held on the caption row); the widths the
    // model gives the view are not drags.
    connect(captions, &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (m_captionHeld && !m_applying && size > 0) Column_Dragged(col, m_model.ColumnTwips(twips(size)));
    });
    m_model.setWidthScale(Font_Width_Scale(font()));

    connect(&m_model, &ItemGridModel::columnsSet, this, [this] { applyColumns(); });
    connect(&m_model, &ItemGridModel::selectionSet, this, [this] { selectionFromModel(); });
    connect(&m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyColumns();
        selectionFromModel();
    });
    connect(&m_model, &ItemGridModel::topRowSet, this,
            [this] { verticalScrollBar()->setValue(std::max(0, m_model.TopRow() - 1)); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { m_model.setTopRowFromView(value + 1); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { selectionToModel(); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { selectionToModel(); });
    connect(this, &QAbstractItemView::clicked, this, [] { ItemGrid_Click(); });
    applyColumns();
}

void ItemGridView::applyColumns() {
    const QScopedValueRollback applying(m_applying, true);
    verticalHeader()->setDefaultSectionSize(std::max(1, px(m_model.RowHeight(1))));
    for (int c = 0; c < kGridCols; ++c) {
        const long w = m_model.ColWidth(c);
        setColumnHidden(c, w <= 0);
        if (w > 0) setColumnWidth(c, columnPx(m_model.ScreenColWidth(c)));
        horizontalHeader()->setSectionResizeMode(c, Column_Adjustable(c) ? QHeaderView::Interactive : QHeaderView::Fixed);
    }
}

void ItemGridView::changeEvent(QEvent* e) {
    QTableView::changeEvent(e);
    if (e->type() == QEvent::FontChange) m_model.setWidthScale(Font_Width_Scale(font()));
}

void ItemGridView::selectionFromModel() {
    if (m_syncing || !selectionModel()) return;
    m_syncing = true;
    const int last = m_model.Rows() - 1;
    const int row = m_model.Row(), col = m_model.Col();
    if (row < 1 || row > last) {
        selectionModel()->clear();
    } else {
        const int rowSel = std::clamp(m_model.RowSel(), 1, last);
        const int colSel = m_model.ColSel();
        const QModelIndex current = m_model.index(row - 1, col);
        const QItemSelection range(m_model.index(std::min(row, rowSel) - 1, std::min(col, colSel)),
                                   m_model.index(std::max(row, rowSel) - 1, std::max(col, colSel)));
        // The program's moves bring the row into view; the grid stays where it was sideways (a
        // move made while the view was still small would leave it scrolled past its first columns).
        const int sideways = horizontalScrollBar()->value();
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
        selectionModel()->select(range, QItemSelectionModel::ClearAndSelect);
        scrollTo(current);
        horizontalScrollBar()->setValue(sideways);
    }
    m_syncing = false;
}

void ItemGridView::selectionToModel() {
    if (m_syncing) return;
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return;
    const int row = current.row() + 1, col = current.column();
    int rowSel = row, colSel = col;
    for (const QItemSelectionRange& r : selectionModel()->selection()) {
        if (!r.contains(current)) continue;
        rowSel = (current.row() == r.top() ? r.bottom() : r.top()) + 1;
        colSel = current.column() == r.left() ? r.right() : r.left();
        break;
    }
    m_model.setSelectionFromView(row, col, rowSel, colSel);
}

void ItemGridView::cellAt(const QPoint& viewPos, int& row, int& col) const {
    const int r = rowAt(viewPos.y());
    row = r < 0 ? -1 : r + 1;
    col = columnAt(viewPos.x());
}

void ItemGridView::pressed(int button, Qt::KeyboardModifiers modifiers, const QPoint& viewPos) {
    const QPoint inGrid = viewPos + viewport()->pos();
    ItemGrid_MouseDown(button, (modifiers & Qt::ShiftModifier) ? 1 : 0, twips(inGrid.x()), twips(inGrid.y()));
}

void ItemGridView::mousePressEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    cellAt(at, m_model.MouseRow, m_model.MouseCol);
    switch (e->button()) {
        case Qt::LeftButton:
            QTableView::mousePressEvent(e);  // the current cell moves first, as the user sees it
            pressed(kLeftButton, e->modifiers(), at);
            break;
        case Qt::RightButton: pressed(kRightButton, e->modifiers(), at); break;
        case Qt::MiddleButton: pressed(kMiddleButton, e->modifiers(), at); break;
        default: QTableView::mousePressEvent(e); break;
    }
}

void ItemGridView::mouseDoubleClickEvent(QMouseEvent* e) {
    cellAt(e->position().toPoint(), m_model.MouseRow, m_model.MouseCol);
    QTableView::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton) ItemGrid_DblClick();
}

// The grid does not scroll itself up and down: a turn goes to its window, as on a form, whose own
// handling of the wheel moves the first visible row by one. Taken either way, so it does not come
// up twice. A sideways turn (a tilted wheel, a touchpad) scrolls the columns as any list does.
void ItemGridView::wheelEvent(QWheelEvent* e) {
    if (std::abs(e->angleDelta().x()) > std::abs(e->angleDelta().y())) {
        QTableView::wheelEvent(e);
        return;
    }
    if (QWidget* owner = window(); owner != this) QCoreApplication::sendEvent(owner, e);
    e->accept();
}

bool ItemGridView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == horizontalHeader()->viewport() &&
        (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick ||
         e->type() == QEvent::MouseButtonRelease)) {
        auto* m = static_cast<QMouseEvent*>(e);
        if (m->button() == Qt::LeftButton) m_captionHeld = e->type() != QEvent::MouseButtonRelease;
    }
    if (watched == horizontalHeader()->viewport() && e->type() == QEvent::MouseButtonPress) {
        auto* m = static_cast<QMouseEvent*>(e);
        if (m->button() == Qt::RightButton) {
            const QPoint at = m->position().toPoint();
            m_model.MouseRow = 0;
            m_model.MouseCol = horizontalHeader()->logicalIndexAt(at);
            ItemGrid_MouseDown(kRightButton, (m->modifiers() & Qt::ShiftModifier) ? 1 : 0, twips(at.x()),
                               twips(at.y()));
            return true;
        }
    }
    // A double click on a caption is the grid's double click on row 0 (the list of feedback to
    // leave opens the page of all of it from one).
    if (watched == horizontalHeader()->viewport() && e->type() == QEvent::MouseButtonDblClick) {
        auto* m = static_cast<QMouseEvent*>(e);
        const int col = horizontalHeader()->logicalIndexAt(m->position().toPoint());
        if (m->button() == Qt::LeftButton && col >= 0) {
            m_model.MouseRow = 0;
            m_model.MouseCol = col;
            ItemGrid_DblClick();
        }
    }
    return QTableView::eventFilter(watched, e);
}

// --- The photo frame ---

ItemPhotoFrame::ItemPhotoFrame(QWidget* parent) : QFrame(parent) {
    setObjectName("PicHolder");
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    ItemPic = new QLabel(this);
    ItemPic->setObjectName("ItemPic");
    ItemPic->setScaledContents(true);
    labNoPhoto = new QLabel("No Photo", this);
    labNoPhoto->setObjectName("labNoPhoto");
    labNoPhoto->setAlignment(Qt::AlignCenter);
    labNoPhoto->hide();
    hide();
}

bool ItemPhotoFrame::loadPicture(const std::string& path, long& width, long& height) {
    const QPixmap picture(QString::fromStdString(path));
    if (picture.isNull()) return false;
    ItemPic->setPixmap(picture);
    width = twips(picture.width());
    height = twips(picture.height());
    return true;
}

void ItemPhotoFrame::clearPicture() { ItemPic->clear(); }

void ItemPhotoFrame::placePhoto(int index, const TwipRect& frame, const TwipRect& picture, bool noPhoto,
                                bool visible) {
    if (index != 0) return;  // pinned copies are the window's own
    setGeometry(px(frame.left), px(frame.top), px(frame.width), px(frame.height));
    ItemPic->setGeometry(px(picture.left), px(picture.top), px(picture.width), px(picture.height));
    ItemPic->setVisible(!noPhoto);
    labNoPhoto->setGeometry(0, 0, px(frame.width), px(frame.height));
    labNoPhoto->setVisible(noPhoto);
    setVisible(visible);
    if (visible) raise();
}

// --- The menus ---

ItemMenus::ItemMenus(QWidget* parent) : QObject(parent) {
    m_categories = new QMenu("Categories", parent);
    m_categories->setObjectName("MnuTitleAucCat");
    QAction* add = m_categories->addAction("Add");
    add->setObjectName("MnuSubAddAucCat");
    connect(add, &QAction::triggered, this, [] { MnuSubAddAucCat_Click(); });
    m_deleteCategories = m_categories->addMenu("Delete");
    m_deleteCategories->setObjectName("MnuTitleDeleteAucCat");
    m_categories->addSeparator();

    m_sortDefault = new QMenu("Sort Default", parent);
    m_sortDefault->setObjectName("MnuSortMain");
    for (int k = 0; k < kSortKeys; ++k) {
        QAction* a = m_sortDefault->addAction(kSortCaptions[k]);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [k] { MnuSortSub_Click(k); });
    }
    connect(m_sortDefault, &QMenu::aboutToShow, this, [this] {
        const int key = Default_Sort_Key();
        const auto entries = m_sortDefault->actions();
        for (int k = 0; k < entries.size(); ++k) entries[k]->setChecked(k == key);
    });
    rebuildCategories();
}

void ItemMenus::rebuildCategories() {
    // The entries after the separator, and the delete entries, are built anew; an entry that is
    // running its own command goes once that command is over.
    const auto entries = m_categories->actions();
    bool afterSeparator = false;
    for (QAction* a : entries) {
        if (afterSeparator) {
            m_categories->removeAction(a);
            a->deleteLater();
        }
        if (a->isSeparator()) afterSeparator = true;
    }
    for (QAction* a : m_deleteCategories->actions()) {
        m_deleteCategories->removeAction(a);
        a->deleteLater();
    }
    for (size_t k = 0; k < CategoryNames.size(); ++k) {
        const QString name = QString::fromStdString(CategoryNames[k]);
        const int index = static_cast<int>(k);
        QAction* select = m_categories->addAction(name);
        select->setCheckable(true);
        select->setChecked(index == CurrentCategoryIndex);
        connect(select, &QAction::triggered, this, [index] { MnuSubSelectAucCat_Click(index); });
        QAction* remove = m_deleteCategories->addAction(name);
        connect(remove, &QAction::triggered, this, [index] { MnuSubDeleteAucCat_Click(index); });
    }
}

// --- The main window's item duties ---

ItemWindowDuties::ItemWindowDuties(QWidget* window, ItemGridView* grid, ItemPhotoFrame* photo, ItemMenus* menus,
                                   QLabel* labSeller, QWidget* phone)
    : m_window(window), m_grid(grid), m_photo(photo), m_menus(menus), m_labSeller(labSeller), m_phone(phone) {}

ItemWindowDuties::~ItemWindowDuties() { giveBack(); }

void ItemWindowDuties::takeOn() {
    m_held = true;
    setItemGridModel(&m_grid->gridModel());
    registerItemGrid(&m_grid->gridModel());
    setItemLink<ItemWindow>(this);
    if (m_photo) setItemLink<PhotoFrame>(m_photo);
    registerItemWindows(this);
}

void ItemWindowDuties::giveBack() {
    if (!m_held) return;
    m_held = false;
    if (&ItemGrid() == &m_grid->gridModel()) setItemGridModel(nullptr);
    if (&itemGrid() == &m_grid->gridModel()) registerItemGrid(nullptr);
    if (&itemLink<ItemWindow>() == this) setItemLink<ItemWindow>(static_cast<ItemWindow*>(nullptr));
    if (m_photo && &itemLink<PhotoFrame>() == m_photo) setItemLink<PhotoFrame>(static_cast<PhotoFrame*>(nullptr));
    if (&itemWindows() == this) registerItemWindows(nullptr);
}

void ItemWindowDuties::Form_Load() {
    Read_Grid_Colours();
    Set_Up_Item_Columns();
    TLMainItems::Load_Categories_Menu();
    Load_Auction_Items();
    Load_ItemGrid();
}

// The feedback views empty the label: it is hidden then, so a click where it was opens nothing.
void ItemWindowDuties::setSellerLabel(const std::string& text) {
    if (!m_labSeller) return;
    m_labSeller->setText(QString::fromStdString(text));
    m_labSeller->setVisible(!text.empty());
}

void ItemWindowDuties::setAutoDialMarker(bool shown) {
    if (m_phone) m_phone->setVisible(shown);
}

void ItemWindowDuties::setMainCaption(const std::string& text) {
    if (m_window) m_window->setWindowTitle(QString::fromStdString(text));
}

void ItemWindowDuties::ResizeWindow() {
    if (resizeWindow) resizeWindow();
}

void ItemWindowDuties::categoriesChanged() {
    if (m_menus) m_menus->rebuildCategories();
}

void ItemWindowDuties::beep() { QApplication::beep(); }

void ItemWindowDuties::showBidForm() {
    if (bidForm) bidForm();
}

void ItemWindowDuties::showCommentWindow(int itemIndex) {
    CommentItemIndex = static_cast<int16_t>(itemIndex);
    Open_Comment_Window();
}

bool ItemWindowDuties::commentWindowOpen() const { return CommentWindowOpen; }

}  // namespace TLMainItemsView
