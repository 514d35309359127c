// feedback_grid.h — the main grid's layout for the view on show (GridViewMode): the auction
// items (0), the feedback still to leave (1) or a seller feedback analysis (2). It sets the
// columns, rows, header texts, widths, alignments, row height and header font, and fills no data
// cell. The column that takes the rest of the grid's width never goes below
// TLMainItems::kRestColumnMinimum.
#pragma once

namespace TLMainAccount {

void Load_Feedback_Grid();

}  // namespace TLMainAccount
