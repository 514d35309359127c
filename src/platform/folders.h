// folders.h — the user's and the system's folders (the desktop's XDG folders).
#pragma once

#include <string>

namespace platform {

struct SystemFolders {
    std::string appData;          // per-user application data ($XDG_DATA_HOME or ~/.local/share), no trailing '/'
    std::string commonAppData;    // all users' application data (first of $XDG_DATA_DIRS)
    std::string desktop;          // the desktop folder
    std::string startup;          // where programs started at log-in are listed (~/.config/autostart)
    std::string commonDocuments;  // documents folder
};

SystemFolders systemFolders();

// Makes the folder (and its parents) with user-only access when missing; true when it exists afterwards.
bool makePrivateFolder(const std::string& path);

}  // namespace platform
