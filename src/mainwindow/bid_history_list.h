// bid_history_list.h — the bid-history list (BidHistory) that pops up beside a row of the item
// grid: one line per bid with who bid, how much and when, laid over the window's client area in
// twips. It never takes the keyboard from the grid.
#pragma once

#include <QTreeWidget>
#include <string>
#include <vector>

#include "items/item_window_links.h"

namespace TLMainItemsView {

class BidHistoryListView final : public QTreeWidget, public TLMainItems::BidHistoryList {
public:
    explicit BidHistoryListView(QWidget* parent);

    // The columns' captions and widths; the widths are the columns' shares of the list's width,
    // so the columns follow the list when it is shown wider than set up.
    void setColumns(const std::vector<std::string>& captions, const std::vector<long>& widths) override;
    void setRows(const std::vector<TLMainItems::BidHistoryRow>& rows) override;
    void placeList(const TLMainItems::TwipRect& area, bool visible) override;

private:
    void applyWidths();
    std::vector<long> m_widths;
};

}  // namespace TLMainItemsView
