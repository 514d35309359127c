// item_printing.h — the File menu's "Print" commands: all items, the current category's or the
// selected one, each item a block of three rows and a rule, on the default printer.
//
// The printer is driven as a page with a current position in twips: each row starts at the left
// edge, texts are placed at their columns and cut at the next column, the rule runs the page width
// less 720 twips. A row (or the rule) that would pass the bottom of the page starts a new page.
#pragma once

#include <string>

#include "items/auction_item.h"
#include "platform/print_device.h"

namespace Maintenance {

enum class PrintChoice { All, Category, Selected };

inline constexpr const char* kNoPrinter = "Print Failed.... No printer is available";
inline constexpr const char* kPrintFailed = "Print Failed.... The print job did not complete";

// The printer object: the device and the current position.
class PrinterPage {
public:
    explicit PrinterPage(platform::PrintDevice& device) : m_device(device) {}
    // One empty line.
    void emptyLine();
    // One item's block at the current position.
    void PrintItem(const TLMainItems::AuctionItem& item);
    long CurrentX = 0;
    long CurrentY = 0;

private:
    struct Cell { long column; std::string text; };
    void row(std::initializer_list<Cell> cells);
    void roomFor(long height);
    platform::PrintDevice& m_device;
};

// The menu command ("MnuFilePrintAll", "MnuFilePrintCategory", "MnuFilePrintSelected").
void Print_Items(PrintChoice choice);
enum class PrintOutcome { Printed, NoPrinter, Failed };
// The chosen items on `device` (begun and ended here).
PrintOutcome Print_To(platform::PrintDevice& device, PrintChoice choice);

}  // namespace Maintenance
