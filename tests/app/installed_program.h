// installed_program.h — the built program installed into a throw-away data folder as run.sh puts
// it (the updater beside it, the browser extension with its command-line front, and the help
// page), and the environment that starts it there, offscreen.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QString>
#include <string>

#include "platform/file_version.h"
#include "temp_data_folder.h"

namespace testsupport {

struct InstalledProgram {
    QString program;           // the program's file in the data folder
    QProcessEnvironment env;   // XDG_DATA_HOME of the data folder, the offscreen platform
    bool installed = false;
};

inline InstalledProgram Install_Program(const TempDataFolder& data) {
    InstalledProgram p;
    p.program = QString::fromStdString(data.path("TolvaneRerodeII"));
    p.installed = QFile::copy(TOLVANE_PROGRAM_BINARY, p.program);
    QFile::copy(TOLVANE_UPDATER_BINARY, QString::fromStdString(data.path("Renewlet")));
    QFile::copy(TOLVANE_EXTENSION_LIBRARY, QString::fromStdString(data.path("libTolvaneRerodeIE.so")));
    QFile::copy(TOLVANE_IE_FRONT_BINARY, QString::fromStdString(data.path("TolvaneRerodeIE")));
    QDir().mkpath(QString::fromStdString(data.path("Help")));
    QFile::copy(TOLVANE_HELP_PAGE, QString::fromStdString(data.path("Help/TLIIHelp.Htm")));
    p.env = QProcessEnvironment::systemEnvironment();
    p.env.insert("XDG_DATA_HOME", QString::fromStdString(data.home()));
    p.env.insert("QT_QPA_PLATFORM", "offscreen");
    return p;
}

}  // namespace testsupport
