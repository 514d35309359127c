// desktop_files.h — handing a file to the desktop (its editor or viewer) and the open-file dialog.
#pragma once

#include <string>

namespace platform {

class DesktopFiles {
public:
    virtual ~DesktopFiles() = default;
    // Opens the file in the application the desktop uses for it; false when that failed.
    virtual bool openFile(const std::string& path) = 0;
    // The open-file dialog starting in `folder` (or at a file, chosen in its folder), with a filter such as "All Files (*.*)|*.*"
    // (description and pattern pairs split by "|"), titled `title` (empty: the desktop's own
    // title), over the program's active window; the chosen path, "" when cancelled.
    virtual std::string chooseFileToOpen(const std::string& folder, const std::string& filter,
                                         const std::string& title = {}) = 0;
};

DesktopFiles& desktopFiles();
void setDesktopFilesForTests(DesktopFiles* d);  // nullptr puts the system's back

}  // namespace platform
