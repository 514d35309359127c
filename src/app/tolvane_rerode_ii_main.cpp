// TolvaneRerodeII — the main program.
#include "app/program_application.h"
#include "app/program_start.h"
#include "app/stop_signals.h"
#include "mainwindow/program_icons.h"
#include "platform/file_version.h"

TOLVANE_VERSION_MARKER(TOLVANE_PROGRAM_VERSION);

int main(int argc, char** argv) {
    programstart::ProgramApplication app(argc, argv);
    app.setApplicationName("TolvaneRerodeII");
    // Every window shows the program's picture; the desktop matches the windows to the launcher.
    app.setWindowIcon(TLMainIcons::Program_Icon());
    app.setDesktopFileName(TLMainIcons::kProgramIconName);
    app.setQuitOnLastWindowClosed(false);
    programstart::Catch_Stop_Signals();
    programstart::Start();
    const int code = app.exec();
    programstart::Finish();
    return code;
}
