// TolvaneRerodeII — the main program.
#include <QApplication>

#include "app/program_start.h"
#include "platform/file_version.h"

TOLVANE_VERSION_MARKER(TOLVANE_PROGRAM_VERSION);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("TolvaneRerodeII");
    app.setQuitOnLastWindowClosed(false);
    programstart::Start();
    return app.exec();
}
