// page_export.h — the File menu's "Export Item as": the item's saved page copied into a folder the
// user names, alone or with the GIF and JPEG pictures it shows by absolute http(s) address, which
// are downloaded beside it and referred to by their bare file names.
//
// Picture names are cut to a plain file name; two addresses that end in the same name get
// distinct files ("name", "name-2"...). A picture that fails keeps its address in the page and
// is counted in the status text. Downloads hold DownloadBusy, have a deadline and a size cap.
#pragma once

#include <string>

namespace Maintenance {

inline constexpr size_t kMaxPictureBytes = 20u * 1024u * 1024u;
inline constexpr long kPictureTimeoutMs = 30000;

struct PictureScan {
    std::string html;  // the page with the fetched pictures' addresses replaced
    int fetched = 0;
    int failed = 0;
};

// The scan of `html`: every picture address downloaded once into `folder` (no trailing '/').
PictureScan Save_WebPage_Images(const std::string& html, const std::string& folder);

// The menu command: Index 0 the page alone, 1 with its pictures.
void MnuSubExport_Click(int Index);

}  // namespace Maintenance
