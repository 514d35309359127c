#include "maintenance/item_printing.h"

#include "foundation/main_window_link.h"
#include "items/categories.h"
#include "items/item_grid.h"
#include "platform/message_box.h"

namespace Maintenance {
namespace {

constexpr long kRuleInset = 720;
constexpr long kRuleGap = 100;
constexpr long kLastColumn = 8300;

bool busy() {
    if (!TLMainState::DownloadBusy && !TLMainState::UpdateBusy) return false;
    TLMainLink::statusLine().setStatus("Busy, Download In Progress....");
    return true;
}

// The selected item's index, 0 when the selection names none.
int selectedIndex() {
    const int row = TLMainItems::SelectedRow;
    if (row < 1 || row > TLMainItems::GridRowCount || static_cast<size_t>(row) >= TLMainItems::ItemOrder.size()) return 0;
    const long index = TLMainItems::ItemOrder[static_cast<size_t>(row)];
    return TLMainItems::Item_At(static_cast<int>(index)) ? static_cast<int>(index) : 0;
}

}  // namespace

void PrinterPage::roomFor(long height) {
    if (CurrentY > 0 && CurrentY + height > m_device.pageHeightTwips()) {
        m_device.newPage();
        CurrentY = 0;
    }
}

void PrinterPage::emptyLine() {
    roomFor(m_device.rowHeightTwips());
    CurrentY += m_device.rowHeightTwips();
}

void PrinterPage::row(std::initializer_list<Cell> cells) {
    const long height = m_device.rowHeightTwips();
    roomFor(height);
    const long width = m_device.pageWidthTwips();
    for (auto it = cells.begin(); it != cells.end(); ++it) {
        const auto next = std::next(it);
        const long end = next == cells.end() ? width : next->column;
        CurrentX = it->column;
        m_device.drawText(CurrentX, CurrentY, it->text, std::max(1L, end - it->column));
    }
    CurrentX = 0;
    CurrentY += height;
}

void PrinterPage::PrintItem(const TLMainItems::AuctionItem& item) {
    if (busy()) return;
    const long ruleLength = m_device.pageWidthTwips() - kRuleInset;
    row({{0, item.ItemNumber}, {2000, item.Title}, {kLastColumn, item.EndTime}});
    row({{0, "Bids = " + item.BidCount}, {2000, "High Bidder = " + item.HighBidder},
         {kLastColumn, "Current Bid = " + item.CurrentPrice}});
    row({{0, "User = " + item.UserID}, {3500, "Category = " + item.Category}, {kLastColumn, "Seller = " + item.Seller}});
    roomFor(kRuleGap * 2);
    m_device.drawLine(CurrentX, CurrentY + kRuleGap, CurrentX + ruleLength, CurrentY + kRuleGap, 4);
    CurrentX = 0;
    CurrentY += kRuleGap * 2;
}

PrintOutcome Print_To(platform::PrintDevice& device, PrintChoice choice) {
    if (!device.begin(12)) return PrintOutcome::NoPrinter;
    PrinterPage page(device);
    page.emptyLine();
    if (choice == PrintChoice::Selected) {
        if (const int index = selectedIndex()) page.PrintItem(TLMainItems::Items[static_cast<size_t>(index)]);
    } else {
        const std::string category = TLMainItems::Current_Category_Name();
        for (int i = 1; i <= TLMainItems::ItemCount; ++i) {
            const auto& item = TLMainItems::Items[static_cast<size_t>(i)];
            if (choice == PrintChoice::Category && item.Category != category) continue;
            page.PrintItem(item);
        }
    }
    return device.end() ? PrintOutcome::Printed : PrintOutcome::Failed;
}

void Print_Items(PrintChoice choice) {
    const char* title = "Print All Items";
    if (choice == PrintChoice::All) {
        if (TLMainItems::ItemCount == 0) return;
    } else {
        if (TLMainItems::GridRowCount == 0) return;
        title = choice == PrintChoice::Category ? "Print Category Items" : "Print Selected Item";
    }
    if (choice == PrintChoice::Selected && selectedIndex() == 0) return;
    if (busy()) return;
    if (platform::MsgBox("Ready Printer, Press OK when ready", platform::vbOKCancel | platform::vbSystemModal, title) !=
        platform::vbOK)
        return;
    const std::unique_ptr<platform::PrintDevice> device = platform::openPrintDevice();
    const PrintOutcome outcome = device ? Print_To(*device, choice) : PrintOutcome::NoPrinter;
    if (outcome == PrintOutcome::NoPrinter) TLMainLink::statusLine().setStatus(kNoPrinter);
    if (outcome == PrintOutcome::Failed) TLMainLink::statusLine().setStatus(kPrintFailed);
}

}  // namespace Maintenance
