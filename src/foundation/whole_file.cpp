#include "foundation/whole_file.h"

#include <algorithm>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace modTLMain {

bool Save_Whole_File(const std::string& path, const std::string& bytes, bool privateFile) {
    QSaveFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (privateFile) f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (f.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        f.cancelWriting();
        return false;
    }
    // A write cut short (a full disk, a file-size limit) can leave commit() content with the part
    // that was written; the flush and the size tell.
    if (!f.flush() || f.size() != static_cast<qint64>(bytes.size())) {
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) return false;
    if (privateFile) QFile::setPermissions(QString::fromStdString(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

std::optional<std::string> Read_Whole_File(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray b = f.readAll();
    if (f.error() != QFileDevice::NoError) return std::nullopt;
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

std::optional<std::string> Read_File_Start(const std::string& path, long long maxBytes) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    std::string bytes(static_cast<size_t>(std::clamp<qint64>(f.size(), 0, maxBytes)), '\0');
    const qint64 n = f.read(bytes.data(), static_cast<qint64>(bytes.size()));
    if (n < 0) return std::nullopt;
    bytes.resize(static_cast<size_t>(n));
    return bytes;
}

bool File_Exists(const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); }

long long File_Length(const std::string& path) {
    QFileInfo fi(QString::fromStdString(path));
    return fi.exists() ? fi.size() : -1;
}

}  // namespace modTLMain
