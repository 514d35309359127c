#include "mainwindow/bid_history_list.h"

#include <QHeaderView>
#include <cmath>
#include <numeric>

#include "foundation/vb.h"

namespace TLMainItemsView {
namespace {

int px(long twips) { return vb::TwipsToPixels(static_cast<int>(twips)); }

}  // namespace

BidHistoryListView::BidHistoryListView(QWidget* parent) : QTreeWidget(parent) {
    setObjectName("BidHistory");
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // the columns share the list's width
    hide();
}

void BidHistoryListView::setColumns(const std::vector<std::string>& captions, const std::vector<long>& widths) {
    QStringList labels;
    for (const std::string& c : captions) labels << QString::fromStdString(c);
    setColumnCount(static_cast<int>(labels.size()));
    setHeaderLabels(labels);
    m_widths = widths;
    applyWidths();
}

void BidHistoryListView::setRows(const std::vector<TLMainItems::BidHistoryRow>& rows) {
    clear();
    QList<QTreeWidgetItem*> lines;
    for (const TLMainItems::BidHistoryRow& r : rows) {
        auto* line = new QTreeWidgetItem(QStringList{QString::fromStdString(r.bidder), QString::fromStdString(r.amount),
                                                     QString::fromStdString(r.when)});
        line->setData(0, Qt::UserRole, QString::fromStdString(r.key));
        lines << line;
    }
    addTopLevelItems(lines);
}

void BidHistoryListView::placeList(const TLMainItems::TwipRect& area, bool visible) {
    if (area.width > 0 && area.height > 0) setGeometry(px(area.left), px(area.top), px(area.width), px(area.height));
    applyWidths();
    setVisible(visible);
    if (visible) raise();
}

void BidHistoryListView::applyWidths() {
    const long total = std::accumulate(m_widths.begin(), m_widths.end(), 0L);
    if (total <= 0) return;
    const int shown = width() - 2 * frameWidth();
    for (size_t c = 0; c < m_widths.size() && static_cast<int>(c) < columnCount(); ++c)
        setColumnWidth(static_cast<int>(c),
                       static_cast<int>(std::lround(static_cast<double>(shown) * m_widths[c] / total)));
}

}  // namespace TLMainItemsView
