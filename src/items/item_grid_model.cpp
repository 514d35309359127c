#include "items/item_grid_model.h"

#include <QFont>

#include "items/categories.h"
#include "items/grid_clicks.h"
#include "items/item_grid.h"

#include <algorithm>
#include <cmath>

namespace TLMainItems {

QColor Windows_Colour(long bgr) {
    const unsigned long v = static_cast<unsigned long>(bgr);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

long Windows_Colour_Value(const QColor& colour) {
    return static_cast<long>(colour.red()) | (static_cast<long>(colour.green()) << 8) |
           (static_cast<long>(colour.blue()) << 16);
}

QColor Text_Colour_On(const QColor& back) {
    // Relative brightness as the eye weighs the three primaries.
    const double light = 0.299 * back.redF() + 0.587 * back.greenF() + 0.114 * back.blueF();
    return light >= 0.5 ? QColor(Qt::black) : QColor(Qt::white);
}

ColourPair Colours_For(long colour, const QPalette& desktop) {
    if (colour < 0) return {desktop.color(QPalette::Base), desktop.color(QPalette::Text)};
    const QColor back = Windows_Colour(colour);
    return {back, Text_Colour_On(back)};
}

ItemGridModel::ItemGridModel(QObject* parent) : QAbstractTableModel(parent) { m_cells.resize(1); }

void ItemGridModel::beginChange() {
    if (m_hidden == 0) beginResetModel();
}

void ItemGridModel::endChange() {
    if (m_hidden == 0) endResetModel();
}

void ItemGridModel::Clear() {
    beginChange();
    for (auto& row : m_cells) row = GridRow{};
    endChange();
}

void ItemGridModel::setRows(int rows) {
    if (rows < 1) rows = 1;
    if (rows == Rows()) return;
    beginChange();
    m_cells.resize(static_cast<size_t>(rows));
    endChange();
    const int last = rows - 1;
    if (m_row > last || m_rowSel > last) {
        m_row = std::min(m_row, last);
        m_rowSel = std::min(m_rowSel, last);
        emit selectionSet();
    }
}

const std::string& ItemGridModel::TextMatrix(int row, int col) const {
    static const std::string none;
    return inGrid(row, col) ? m_cells[static_cast<size_t>(row)][static_cast<size_t>(col)].text : none;
}

void ItemGridModel::setTextMatrix(int row, int col, const std::string& text) {
    if (!inGrid(row, col)) return;
    m_cells[static_cast<size_t>(row)][static_cast<size_t>(col)].text = text;
    cellChanged(row, col);
}

int ItemGridModel::CellPicture(int row, int col) const {
    return inGrid(row, col) ? m_cells[static_cast<size_t>(row)][static_cast<size_t>(col)].picture : 0;
}

void ItemGridModel::setCellPicture(int row, int col, int picture) {
    if (!inGrid(row, col)) return;
    m_cells[static_cast<size_t>(row)][static_cast<size_t>(col)].picture = picture;
    cellChanged(row, col);
}

long ItemGridModel::CellBackColor(int row, int col) const {
    return inGrid(row, col) ? m_cells[static_cast<size_t>(row)][static_cast<size_t>(col)].colour : kNoColour;
}

void ItemGridModel::setCellBackColor(int row, int col, long colour) {
    if (!inGrid(row, col)) return;
    m_cells[static_cast<size_t>(row)][static_cast<size_t>(col)].colour = colour;
    cellChanged(row, col);
}

void ItemGridModel::cellChanged(int row, int col) {
    if (m_hidden > 0) return;
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    const QModelIndex i = index(row - 1, col);
    emit dataChanged(i, i);
}

bool ItemGridModel::setRow(int row) {
    if (row < 0 || row >= Rows()) return false;
    m_row = m_rowSel = row;
    emit selectionSet();
    return true;
}

bool ItemGridModel::setCol(int col) {
    if (col < 0 || col >= kGridCols) return false;
    m_col = m_colSel = col;
    emit selectionSet();
    return true;
}

bool ItemGridModel::setRowSel(int row) {
    if (row < 0 || row >= Rows()) return false;
    m_rowSel = row;
    emit selectionSet();
    return true;
}

bool ItemGridModel::setColSel(int col) {
    if (col < 0 || col >= kGridCols) return false;
    m_colSel = col;
    emit selectionSet();
    return true;
}

void ItemGridModel::setSelectionFromView(int row, int col, int rowSel, int colSel) {
    m_row = row;
    m_col = col;
    m_rowSel = rowSel;
    m_colSel = colSel;
    // The item the user put the selection on, in whatever column or by the keys, is the one the
    // next load of the list selects again.
    if (GridViewMode == 0 && row >= 1 && row <= GridRowCount) GridRestoreRow = static_cast<int16_t>(row);
}

void ItemGridModel::setTopRow(int row) {
    if (row < 1 || row >= Rows()) return;
    m_topRow = row;
    emit topRowSet();
}

void ItemGridModel::setVisible(bool on) {
    if (!on) {
        if (m_hidden++ == 0) beginResetModel();
        return;
    }
    if (m_hidden == 0) return;
    if (--m_hidden == 0) {
        endResetModel();
        emit selectionSet();
    }
}

long ItemGridModel::ColWidth(int col) const {
    return col >= 0 && col < kGridCols ? m_widths[static_cast<size_t>(col)] : 0;
}

void ItemGridModel::setColWidth(int col, long twips) {
    if (col < 0 || col >= kGridCols) return;
    m_widths[static_cast<size_t>(col)] = twips < 0 ? 0 : twips;
    emit columnsSet();
}

void ItemGridModel::setWidthScale(double scale) {
    if (!(scale > 0) || scale == m_widthScale) return;
    m_widthScale = scale;
    emit columnsSet();
}

long ItemGridModel::ScreenColWidth(int col) const { return std::lround(static_cast<double>(ColWidth(col)) * m_widthScale); }

long ItemGridModel::ColumnTwips(long screenTwips) const {
    return std::lround(static_cast<double>(screenTwips) / m_widthScale);
}

namespace {
QVariant alignmentOf(int code) {
    if (code == 3) return QVariant::fromValue(Qt::Alignment(Qt::AlignHCenter | Qt::AlignTop));
    if (code == 0) return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignTop));
    return {};
}
}  // namespace

int ItemGridModel::HeaderAlignment(int col) const {
    return col >= 0 && col < kGridCols ? m_headerAlign[static_cast<size_t>(col)] : kNoAlignment;
}

void ItemGridModel::setHeaderAlignment(int col, int code) {
    if (col < 0 || col >= kGridCols) return;
    m_headerAlign[static_cast<size_t>(col)] = code;
    emit headerDataChanged(Qt::Horizontal, col, col);
}

int ItemGridModel::ColAlignment(int col) const {
    return col >= 0 && col < kGridCols ? m_cellAlign[static_cast<size_t>(col)] : kNoAlignment;
}

void ItemGridModel::setColAlignment(int col, int code) {
    if (col < 0 || col >= kGridCols) return;
    m_cellAlign[static_cast<size_t>(col)] = code;
    if (Rows() > 1) emit dataChanged(index(0, col), index(Rows() - 2, col));
}

void ItemGridModel::setHeaderBold(bool on) {
    m_headerBold = on;
    emit headerDataChanged(Qt::Horizontal, 0, kGridCols - 1);
}

int ItemGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Rows() - 1; }

int ItemGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kGridCols; }

QVariant ItemGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row() + 1, col = index.column();
    if (!inGrid(row, col)) return {};
    const Cell& c = m_cells[static_cast<size_t>(row)][static_cast<size_t>(col)];
    switch (role) {
        case Qt::DisplayRole: return QString::fromStdString(c.text);
        case Qt::DecorationRole: return c.picture && m_pictures ? m_pictures(c.picture) : QVariant();
        case Qt::ToolTipRole: {
            const std::string tip = c.picture ? Grid_Picture_Tip(c.picture) : std::string();
            return tip.empty() ? QVariant() : QVariant(QString::fromStdString(tip));
        }
        case Qt::BackgroundRole: return c.colour == kNoColour ? QVariant() : QVariant(Windows_Colour(c.colour));
        // A cell of a colour of its own is written in the colour that reads on it, whatever the
        // desktop's text colour.
        case Qt::ForegroundRole:
            return c.colour == kNoColour ? QVariant() : QVariant(Text_Colour_On(Windows_Colour(c.colour)));
        case Qt::TextAlignmentRole: return alignmentOf(m_cellAlign[static_cast<size_t>(col)]);
        case PictureRole: return c.picture;
        case WindowsColourRole: return static_cast<qlonglong>(c.colour);
        default: return {};
    }
}

QVariant ItemGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kGridCols) return {};
    switch (role) {
        case Qt::DisplayRole: return QString::fromStdString(TextMatrix(0, section));
        case Qt::TextAlignmentRole: return alignmentOf(m_headerAlign[static_cast<size_t>(section)]);
        case Qt::FontRole: {
            if (!m_headerBold) return {};
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        default: return {};
    }
}

Qt::ItemFlags ItemGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void ItemGridModel::repaintGrid() {
    if (m_hidden == 0 && Rows() > 1) emit dataChanged(index(0, 0), index(Rows() - 2, kGridCols - 1));
}

void ItemGridModel::loadItemGrid() { Load_ItemGrid(); }

int ItemGridModel::itemIndexOfRow(int row) const { return Item_Of_Row(row); }

int ItemGridModel::selectedRow() const { return SelectedRow; }

int ItemGridModel::gridRowCount() const { return GridRowCount; }

GridSelection ItemGridModel::gridSelection() {
    Get_GridSelection();
    return {SelectionFirstRow, SelectionLastRow, SelectionKind};
}

int ItemGridModel::restoreRow() const { return GridRestoreRow; }
void ItemGridModel::setRestoreRow(int row) { GridRestoreRow = static_cast<int16_t>(row); }
void ItemGridModel::setSelectedRow(int row) { SelectedRow = static_cast<int16_t>(row); }

void ItemGridModel::showRowSelected(int row) {
    if (!setRow(row)) return;
    setCol(kColItemNumber);
    setColSel(kColGroup);
}

void ItemGridModel::clickRow(int row, bool keepStatusLine) {
    if (!setRow(row)) return;
    setCol(kColDescription);
    if (keepStatusLine) CommentShownFlag = 1;
    Program_Click();
}

void ItemGridModel::refreshItemRow(int row) {
    if (const int i = Item_Of_Row(row)) Fill_Item_Row(row, i);
}

std::string ItemGridModel::currentCategory() const { return Current_Category_Name(); }

namespace {
ItemGridModel* g_grid = nullptr;
}  // namespace

ItemGridModel& ItemGrid() {
    if (g_grid) return *g_grid;
    static ItemGridModel* own = new ItemGridModel;  // lives for the process
    return *own;
}

void setItemGridModel(ItemGridModel* grid) { g_grid = grid; }

}  // namespace TLMainItems
