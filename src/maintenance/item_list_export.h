// item_list_export.h — the File menu's item-list exports: all items or the current category's,
// as a tab-delimited table with a header line or as labelled blocks, to a file the user names.
//
// Fields are written as stored, every line ends in CR LF. In the tab form a TAB, CR or LF inside
// a field becomes a blank, so each item stays one row of twelve columns.
#pragma once

#include <string>

namespace Maintenance {

enum class ListExport {
    AllText,       // "MnuFileListText"
    AllTab,        // "MnuFileListTab"
    CategoryText,  // "MnuFileCategoryText"
    CategoryTab,   // "MnuFileCategoryTab"
};

inline constexpr const char* kBusyDownload = "Busy, Download In Progress....";

// The file's bytes for the items of Items[1..ItemCount] (only those whose Category equals
// `category` exactly when `onlyCategory`).
std::string Item_List_Text(bool tabDelimited, bool onlyCategory, const std::string& category);

// The menu command: busy and empty checks, the save dialog, the file, the status texts.
void Export_Item_List(ListExport kind);

}  // namespace Maintenance
