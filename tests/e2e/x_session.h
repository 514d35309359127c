// x_session.h — the built program run as a user runs it: its own X server (Xvfb), keys and
// clicks through xdotool, a throw-away data folder, the fake service behind every host.
//
// Every wait is bounded and polls; every process started here ends with its owner.
#pragma once

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "installed_program.h"
#include "temp_data_folder.h"

namespace testsupport {

// An X server of its own on a display number it picked itself (-displayfd).
class XServer {
public:
    XServer();
    ~XServer();
    bool running() const { return !m_display.isEmpty(); }
    QString display() const { return m_display; }  // ":N"
    std::string error() const { return m_error; }

private:
    QProcess m_server;
    QString m_display;
    std::string m_error;
};

// A program of the desktop on that X server (the window manager, the system tray), ended with
// this object. ready() polls until the X selection the program takes is owned.
class DesktopProgram {
public:
    DesktopProgram(const XServer& x, const QString& program, const QStringList& arguments, const QString& selection);
    ~DesktopProgram();
    // True once the program holds its selection (polled until timeoutMs).
    bool ready(int timeoutMs = 15000);
    std::string error() const { return m_error; }

private:
    QString m_display;
    QString m_selection;
    QProcess m_process;
    std::string m_error;
};

// openbox as the window manager (selection WM_S0).
std::unique_ptr<DesktopProgram> Start_Window_Manager(const XServer& x);
// trayer as the system tray (selection _NET_SYSTEM_TRAY_S0), along the top-left of the screen.
std::unique_ptr<DesktopProgram> Start_System_Tray(const XServer& x);

// The owner of an X selection on the display ("WM_S0"), 0 when none.
qulonglong Selection_Owner(const QString& display, const QString& selection);

// xdotool on that display.
class XInput {
public:
    explicit XInput(const XServer& x) : m_display(x.display()) {}
    // Runs xdotool with these arguments; its output (trimmed); ok false when it failed.
    QString run(const QStringList& args, bool* ok = nullptr) const;
    // The first visible window whose title matches the regular expression, polled until
    // timeoutMs passes; 0 when none came.
    qulonglong waitForWindow(const QString& titleRegex, int timeoutMs = 20000) const;
    // True once no visible window's title matches, polled until timeoutMs.
    bool waitForNoWindow(const QString& titleRegex, int timeoutMs = 10000) const;
    // Gives the window the keyboard and sends keys ("Return", "shift+Delete", "ctrl+o").
    void key(qulonglong window, const QString& keys) const;
    void type(qulonglong window, const QString& text) const;
    // A click at the window's point (pixels inside it): button 1 left, 3 right.
    void click(qulonglong window, int x, int y, int button = 1) const;
    // A left click at a point of the screen, the pointer then moved off it (to 0,0).
    void clickScreen(int x, int y) const;
    // The window's place on the screen and size; empty when it cannot be read.
    QRect geometry(qulonglong window) const;
    // The window is on screen (mapped and not iconified).
    bool viewable(qulonglong window) const;
    // The managed windows from the bottom of the stack to the top (the window manager's
    // _NET_CLIENT_LIST_STACKING); empty when it keeps no such list.
    std::vector<qulonglong> stacking() const;
    // The window that has the keyboard, as the window manager says (0: none).
    qulonglong activeWindow() const;
    // Asks the window to close as its close box does.
    void closeBox(qulonglong window) const;
    // A picture of the window as the screen shows it (null when it cannot be read).
    QImage grab(qulonglong window) const;
    // The titles of the visible windows, one a line (for failure messages).
    std::string visibleWindows() const;

private:
    QString m_display;
};

// The environment the installed program (and what starts it) runs in on the X server: the data
// folder, the fake service behind every host, the single-instance names in the data folder.
QProcessEnvironment Program_Environment(const XServer& x, const TempDataFolder& data, const InstalledProgram& installed,
                                        const std::string& connectTo, const std::string& caFile);

// The installed program started on the X server, ended (and waited for) with this object.
class RunningProgram {
public:
    RunningProgram(const XServer& x, const TempDataFolder& data, const InstalledProgram& installed,
                   const std::string& connectTo, const std::string& caFile);
    ~RunningProgram();
    bool started() const { return m_process.state() == QProcess::Running; }
    QProcess& process() { return m_process; }
    std::string output();  // what it wrote to stdout and stderr so far

private:
    QProcess m_process;
};

// Polls `done` (letting the test's own event loop run) until it holds or timeoutMs passes.
bool waitUntil(const std::function<bool()>& done, int timeoutMs);

}  // namespace testsupport
