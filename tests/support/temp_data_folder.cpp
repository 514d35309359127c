#include "temp_data_folder.h"

#include <QDir>
#include <QFile>
#include <cstdlib>

#include "platform/file_names.h"

namespace testsupport {

TempDataFolder::TempDataFolder() {
    if (const char* h = std::getenv("XDG_DATA_HOME")) {
        m_hadHome = true;
        m_oldHome = h;
    }
    ::setenv("XDG_DATA_HOME", home().c_str(), 1);
    QDir().mkpath(QString::fromStdString(dataFolder()));
}

TempDataFolder::~TempDataFolder() {
    if (m_hadHome) ::setenv("XDG_DATA_HOME", m_oldHome.c_str(), 1);
    else ::unsetenv("XDG_DATA_HOME");
}

std::string TempDataFolder::home() const { return m_dir.path().toStdString(); }

std::string TempDataFolder::dataFolder() const {
    return home() + "/" + platform::kDataFolderName + "/";
}

std::string TempDataFolder::read(const std::string& name) const {
    QFile f(QString::fromStdString(path(name)));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray b = f.readAll();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

void TempDataFolder::write(const std::string& name, const std::string& bytes) const {
    const QString p = QString::fromStdString(path(name));
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

bool TempDataFolder::exists(const std::string& name) const { return QFile::exists(QString::fromStdString(path(name))); }

}  // namespace testsupport
