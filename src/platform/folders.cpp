#include "platform/folders.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cstdlib>

namespace platform {
namespace {

std::string envOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return (v && *v) ? std::string(v) : fallback;
}

std::string stripSlash(std::string s) {
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

}  // namespace

SystemFolders systemFolders() {
    SystemFolders f;
    const std::string home = QDir::homePath().toStdString();
    f.appData = stripSlash(envOr("XDG_DATA_HOME", home + "/.local/share"));
    std::string dirs = envOr("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    f.commonAppData = stripSlash(dirs.substr(0, dirs.find(':')));
    f.desktop = stripSlash(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation).toStdString());
    f.startup = stripSlash(envOr("XDG_CONFIG_HOME", home + "/.config")) + "/autostart";
    f.commonDocuments = stripSlash(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString());
    return f;
}

bool makePrivateFolder(const std::string& path) {
    QDir d(QString::fromStdString(path));
    if (!d.exists()) {
        if (!QDir().mkpath(d.absolutePath())) return false;
        QFile::setPermissions(d.absolutePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    return d.exists();
}

}  // namespace platform
