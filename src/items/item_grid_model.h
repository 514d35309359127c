// item_grid_model.h — the item grid as the program works with it: a fixed header row 0 and item
// rows below it, ten columns, and in each cell a text, a picture and a back colour; the current
// cell and the selection's other corner; the first visible row; column widths and row height in
// twips (15 twips make one pixel). The window's grid view shows this model and reports the
// user's clicks, selection and scrolling back into it, so the grid routines and their tests work
// on it without a window.
//
// It is also the grid the lower item routines reach through item_grid_link.h.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QPalette>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "items/item_grid_link.h"
#include "items/item_window_links.h"

namespace TLMainItems {

// Windows colours are 0x00BBGGRR (red in the low byte): the one place they become colours.
QColor Windows_Colour(long bgr);
long Windows_Colour_Value(const QColor& colour);
// Black or white, whichever reads better on `back`.
QColor Text_Colour_On(const QColor& back);
// A stored colour and the text to write on it; kDesktopColour (or any negative value): the
// desktop's base and text colours from `desktop`.
struct ColourPair {
    QColor back;
    QColor text;
};
ColourPair Colours_For(long colour, const QPalette& desktop);

inline constexpr int kGridCols = 10;
inline constexpr long kGridRowHeight = 240;  // twips
inline constexpr long kNoColour = -1;        // a cell without a colour of its own

class ItemGridModel final : public QAbstractTableModel, public ItemGridLink {
    Q_OBJECT
public:
    // The picture number of a cell (0: none), beside the picture itself.
    static constexpr int PictureRole = Qt::UserRole + 1;
    // The cell's colour as a Windows value (kNoColour: none).
    static constexpr int WindowsColourRole = Qt::UserRole + 2;

    explicit ItemGridModel(QObject* parent = nullptr);

    // Every cell's text, picture and colour go; rows, widths and the current cell stay.
    void Clear();
    // Rows, counting the fixed header row 0; new rows are empty.
    int Rows() const { return static_cast<int>(m_cells.size()); }
    void setRows(int rows);
    int Cols() const { return kGridCols; }

    // Cells; a row or column outside the grid reads empty and takes nothing.
    const std::string& TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const std::string& text);
    int CellPicture(int row, int col) const;
    void setCellPicture(int row, int col, int picture);
    long CellBackColor(int row, int col) const;
    void setCellBackColor(int row, int col, long colour);

    // The current cell; setting it makes it the whole selection. A row or column outside the
    // grid is not taken (false).
    int Row() const { return m_row; }
    int Col() const { return m_col; }
    bool setRow(int row);
    bool setCol(int col);
    // The selection's other corner.
    int RowSel() const { return m_rowSel; }
    int ColSel() const { return m_colSel; }
    bool setRowSel(int row);
    bool setColSel(int col);
    // What the user selected in the view (no signal back to it); in the item list, its row is the
    // one the next load restores.
    void setSelectionFromView(int row, int col, int rowSel, int colSel);

    // The first row shown below the header (1 at the top).
    int TopRow() const { return m_topRow; }
    void setTopRow(int row);
    void setTopRowFromView(int row) { m_topRow = row; }

    // While hidden the grid is filled without being drawn; showing it draws it once.
    bool Visible() const { return m_hidden == 0; }
    void setVisible(bool on);

    // Column widths are twips of the 8-point font the settings were measured for; the font in
    // use writes WidthScale() times as wide, and the view shows each column that much wider.
    // ScreenColWidth is a column's width as shown (twips of the screen, 15 to a pixel);
    // ColumnTwips turns a width on the screen back into the settings' twips.
    long ColWidth(int col) const;
    void setColWidth(int col, long twips);
    double WidthScale() const { return m_widthScale; }
    void setWidthScale(double scale);
    long ScreenColWidth(int col) const;
    long ColumnTwips(long screenTwips) const;
    long RowHeight(int row) const { return m_rowHeight; }
    void setRowHeight(long twips) { m_rowHeight = twips; }

    // Alignment codes of a column, for its header and for its cells apart: 0 left and top,
    // 3 centred and top; kNoAlignment leaves the view's own.
    static constexpr int kNoAlignment = -1;
    int HeaderAlignment(int col) const;
    void setHeaderAlignment(int col, int code);
    int ColAlignment(int col) const;
    void setColAlignment(int col, int code);
    // The header row in a bold font.
    bool HeaderBold() const { return m_headerBold; }
    void setHeaderBold(bool on);

    // The cell under the mouse, as the view last reported it.
    int MouseRow = 0;
    int MouseCol = 0;
    // Where the grid lies in the main window, in twips.
    TwipRect Area;

    // The pictures shown for picture numbers (the window's image list); none: numbers only.
    void setPictureProvider(std::function<QVariant(int)> provider) { m_pictures = std::move(provider); }

    // QAbstractTableModel: item rows 1, 2, ... are the model's rows 0, 1, ...; row 0 is the header.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // ItemGridLink
    void setCellBackColour(int row, int column, long colour) override { setCellBackColor(row, column, colour); }
    void repaintGrid() override;
    void loadItemGrid() override;
    int itemIndexOfRow(int row) const override;
    int selectedRow() const override;
    int gridRowCount() const override;
    GridSelection gridSelection() override;
    int currentColumn() const override { return m_col; }
    int restoreRow() const override;
    void setRestoreRow(int row) override;
    void setSelectedRow(int row) override;
    void showRowSelected(int row) override;
    void clickRow(int row, bool keepStatusLine) override;
    void refreshItemRow(int row) override;
    std::string currentCategory() const override;

signals:
    void selectionSet();  // the program moved the current cell or the selection
    void topRowSet();     // the program scrolled
    void columnsSet();    // a column width changed

private:
    struct Cell {
        std::string text;
        int picture = 0;
        long colour = kNoColour;
    };
    using GridRow = std::array<Cell, kGridCols>;
    bool inGrid(int row, int col) const { return row >= 0 && row < Rows() && col >= 0 && col < kGridCols; }
    void cellChanged(int row, int col);
    void beginChange();
    void endChange();

    std::vector<GridRow> m_cells;
    std::array<long, kGridCols> m_widths{};
    std::array<int, kGridCols> m_headerAlign{kNoAlignment, kNoAlignment, kNoAlignment, kNoAlignment, kNoAlignment,
                                             kNoAlignment, kNoAlignment, kNoAlignment, kNoAlignment, kNoAlignment};
    std::array<int, kGridCols> m_cellAlign = m_headerAlign;
    bool m_headerBold = false;
    long m_rowHeight = kGridRowHeight;
    double m_widthScale = 1.0;
    int m_row = 0, m_col = 0, m_rowSel = 0, m_colSel = 0;
    int m_topRow = 1;
    int m_hidden = 0;  // >0 while hidden: the model is being reset
    std::function<QVariant(int)> m_pictures;
};

// The grid the item routines work on: the one the main window shows, else a grid of its own
// that nothing shows.
ItemGridModel& ItemGrid();
void setItemGridModel(ItemGridModel* grid);  // nullptr: the grid of its own

}  // namespace TLMainItems
