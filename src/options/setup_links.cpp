#include "options/setup_links.h"

#include <QColorDialog>
#include <QProcess>
#include <QString>

namespace SetupLinks {

std::optional<long> SystemDialogs::chooseColour(long current, QWidget* parent) {
    const QColor start(static_cast<int>(current & 0xFF), static_cast<int>((current >> 8) & 0xFF),
                       static_cast<int>((current >> 16) & 0xFF));
    const QColor c = QColorDialog::getColor(start, parent);
    if (!c.isValid()) return std::nullopt;
    return static_cast<long>(c.red()) + static_cast<long>(c.green()) * 256 + static_cast<long>(c.blue()) * 65536;
}

bool SystemDialogs::startProgram(const std::string& path) {
    // An argument list of its own, never a shell.
    return QProcess::startDetached(QString::fromStdString(path), {});
}

}  // namespace SetupLinks
