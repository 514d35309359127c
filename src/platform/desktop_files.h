// desktop_files.h — handing a file to the desktop (its editor or viewer) and the open-file dialog.
#pragma once

#include <functional>
#include <string>

namespace platform {

class DesktopFiles {
public:
    virtual ~DesktopFiles() = default;
    // Hands the file to the desktop's opener (xdg-open) for the application the desktop uses for
    // it. `failed` runs later, on the user-interface thread, when the opener could not be started
    // or reported that it found no way to open the file.
    virtual void openFile(const std::string& path, std::function<void()> failed = {}) = 0;
    // The open-file dialog starting in `folder` (or at a file, chosen in its folder), with a filter such as "All Files (*.*)|*.*"
    // (description and pattern pairs split by "|"), titled `title` (empty: the desktop's own
    // title), over the program's active window; the chosen path, "" when cancelled.
    virtual std::string chooseFileToOpen(const std::string& folder, const std::string& filter,
                                         const std::string& title = {}) = 0;
};

DesktopFiles& desktopFiles();
void setDesktopFilesForTests(DesktopFiles* d);  // nullptr puts the system's back

}  // namespace platform
