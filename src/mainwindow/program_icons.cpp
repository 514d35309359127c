#include "mainwindow/program_icons.h"

namespace TLMainIcons {

QIcon Program_Icon() {
    static const QIcon icon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(kProgramIconName)));
    return icon;
}

QIcon Theme_Icon(const char* themeName, const char* fallback) {
    if (themeName && *themeName) {
        const QString name = QString::fromLatin1(themeName);
        for (const QString& n : {name, name + QStringLiteral("-symbolic")})
            if (QIcon::hasThemeIcon(n)) return QIcon::fromTheme(n);
    }
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(fallback)));
}

}  // namespace TLMainIcons
