#include "x_session.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace testsupport {
namespace {

// Asks a helper process to end, and ends it when it does not.
void End_Process(QProcess& p) {
    if (p.state() == QProcess::NotRunning) return;
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(5000);
    }
}

}  // namespace

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    for (;;) {
        if (done()) return true;
        if (t.elapsed() >= timeoutMs) return false;
        QCoreApplication::processEvents();
        QThread::msleep(50);
    }
}

XServer::XServer() {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty()) {
        m_error = "Xvfb is not installed";
        return;
    }
    // The server writes the display number it took to our stdout (descriptor 1).
    m_server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"});
    if (!m_server.waitForStarted(10000)) {
        m_error = "Xvfb did not start";
        return;
    }
    QByteArray out;
    const bool ok = waitUntil([&] {
        m_server.waitForReadyRead(50);
        out += m_server.readAllStandardOutput();
        return out.contains('\n') || m_server.state() != QProcess::Running;
    }, 15000);
    const QString number = QString::fromLatin1(out).trimmed();
    if (!ok || number.isEmpty()) {
        m_error = "Xvfb gave no display: " + m_server.readAllStandardError().toStdString();
        return;
    }
    m_display = ":" + number;
}

XServer::~XServer() { End_Process(m_server); }

DesktopProgram::DesktopProgram(const XServer& x, const QString& program, const QStringList& arguments,
                               const QString& selection)
    : m_display(x.display()), m_selection(selection) {
    if (QStandardPaths::findExecutable(program).isEmpty()) {
        m_error = program.toStdString() + " is not installed (scripts/setup.sh installs it)";
        return;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", m_display);
    env.insert("HOME", QDir::tempPath());  // no settings of the machine's user
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(program, arguments);
    if (!m_process.waitForStarted(10000)) m_error = program.toStdString() + " did not start";
}

DesktopProgram::~DesktopProgram() { End_Process(m_process); }

bool DesktopProgram::ready(int timeoutMs) {
    if (!m_error.empty()) return false;
    if (waitUntil([&] { return Selection_Owner(m_display, m_selection) != 0 || m_process.state() != QProcess::Running; },
                  timeoutMs) &&
        Selection_Owner(m_display, m_selection) != 0)
        return true;
    m_error = m_process.program().toStdString() + " took no " + m_selection.toStdString() + ": " +
              m_process.readAll().toStdString();
    return false;
}

std::unique_ptr<DesktopProgram> Start_Window_Manager(const XServer& x) {
    return std::make_unique<DesktopProgram>(x, "openbox", QStringList{"--sm-disable"}, "WM_S0");
}

std::unique_ptr<DesktopProgram> Start_System_Tray(const XServer& x) {
    return std::make_unique<DesktopProgram>(
        x, "trayer",
        QStringList{"--edge", "top", "--align", "left", "--widthtype", "request", "--height", "32", "--expand", "false",
                    "--SetDockType", "true", "--SetPartialStrut", "true", "--transparent", "false"},
        "_NET_SYSTEM_TRAY_S0");
}

qulonglong Selection_Owner(const QString& display, const QString& selection) {
    const QByteArray name = display.toLatin1();
    xcb_connection_t* c = xcb_connect(name.constData(), nullptr);
    qulonglong owner = 0;
    if (c && !xcb_connection_has_error(c)) {
        const QByteArray atomName = selection.toLatin1();
        xcb_intern_atom_reply_t* a = xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, static_cast<uint16_t>(atomName.size()), atomName.constData()), nullptr);
        if (a) {
            xcb_get_selection_owner_reply_t* r =
                xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, a->atom), nullptr);
            if (r) owner = r->owner;
            free(r);
        }
        free(a);
    }
    if (c) xcb_disconnect(c);
    return owner;
}

QString XInput::run(const QStringList& args, bool* ok) const {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", m_display);
    p.setProcessEnvironment(env);
    p.start("xdotool", args);
    const bool finished = p.waitForStarted(5000) && p.waitForFinished(10000);
    if (!finished) {
        p.kill();
        p.waitForFinished(2000);
    }
    if (ok) *ok = finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

qulonglong XInput::waitForWindow(const QString& titleRegex, int timeoutMs) const {
    qulonglong found = 0;
    waitUntil([&] {
        bool ok = false;
        const QString out = run({"search", "--onlyvisible", "--name", titleRegex}, &ok);
        if (ok && !out.isEmpty()) found = out.split('\n').first().trimmed().toULongLong();
        return found != 0;
    }, timeoutMs);
    return found;
}

bool XInput::waitForNoWindow(const QString& titleRegex, int timeoutMs) const {
    return waitUntil([&] {
        bool ok = false;
        const QString out = run({"search", "--onlyvisible", "--name", titleRegex}, &ok);
        return out.isEmpty();
    }, timeoutMs);
}

void XInput::key(qulonglong window, const QString& keys) const {
    const QString w = QString::number(window);
    run({"windowraise", w});
    run({"windowfocus", "--sync", w});
    run({"key", "--clearmodifiers", "--delay", "60", keys});
}

void XInput::type(qulonglong window, const QString& text) const {
    const QString w = QString::number(window);
    run({"windowfocus", "--sync", w});
    run({"type", "--delay", "60", text});
}

void XInput::click(qulonglong window, int x, int y, int button) const {
    const QString w = QString::number(window);
    run({"windowraise", w});
    run({"mousemove", "--window", w, "--sync", QString::number(x), QString::number(y)});
    run({"click", QString::number(button)});
}

void XInput::clickScreen(int x, int y) const {
    run({"mousemove", "--sync", QString::number(x), QString::number(y)});
    run({"click", "1"});
    run({"mousemove", "--sync", "0", "0"});
}

QRect XInput::geometry(qulonglong window) const {
    bool ok = false;
    const QString out = run({"getwindowgeometry", "--shell", QString::number(window)}, &ok);
    if (!ok) return {};
    int values[4] = {0, 0, 0, 0};
    const char* names[4] = {"X=", "Y=", "WIDTH=", "HEIGHT="};
    for (const QString& line : out.split('\n'))
        for (int i = 0; i < 4; ++i)
            if (line.startsWith(QLatin1String(names[i]))) values[i] = line.mid(static_cast<int>(strlen(names[i]))).toInt();
    return QRect(values[0], values[1], values[2], values[3]);
}

bool XInput::viewable(qulonglong window) const {
    const QByteArray name = m_display.toLatin1();
    xcb_connection_t* c = xcb_connect(name.constData(), nullptr);
    bool shown = false;
    if (c && !xcb_connection_has_error(c)) {
        xcb_get_window_attributes_reply_t* r = xcb_get_window_attributes_reply(
            c, xcb_get_window_attributes(c, static_cast<xcb_window_t>(window)), nullptr);
        shown = r && r->map_state == XCB_MAP_STATE_VIEWABLE;
        free(r);
    }
    if (c) xcb_disconnect(c);
    return shown;
}

namespace {

// A window list property of the root window (format 32), as the window manager keeps it.
std::vector<qulonglong> Root_Window_List(const QString& display, const char* property) {
    const QByteArray name = display.toLatin1();
    xcb_connection_t* c = xcb_connect(name.constData(), nullptr);
    std::vector<qulonglong> windows;
    if (c && !xcb_connection_has_error(c)) {
        xcb_intern_atom_reply_t* a = xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(property)), property), nullptr);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        xcb_get_property_reply_t* r =
            a ? xcb_get_property_reply(c, xcb_get_property(c, 0, root, a->atom, XCB_ATOM_WINDOW, 0, 4096), nullptr)
              : nullptr;
        if (r && r->format == 32) {
            const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(r));
            windows.assign(ids, ids + xcb_get_property_value_length(r) / 4);
        }
        free(r);
        free(a);
    }
    if (c) xcb_disconnect(c);
    return windows;
}

}  // namespace

std::vector<qulonglong> XInput::stacking() const { return Root_Window_List(m_display, "_NET_CLIENT_LIST_STACKING"); }

qulonglong XInput::activeWindow() const {
    const std::vector<qulonglong> active = Root_Window_List(m_display, "_NET_ACTIVE_WINDOW");
    return active.empty() ? 0 : active.front();
}

std::string XInput::visibleWindows() const {
    std::string list;
    for (const QString& id : run({"search", "--onlyvisible", "--name", "."}).split('\n', Qt::SkipEmptyParts))
        list += id.toStdString() + " \"" + run({"getwindowname", id}).toStdString() + "\"\n";
    return list;
}

QImage XInput::grab(qulonglong window) const {
    const QByteArray name = m_display.toLatin1();
    xcb_connection_t* c = xcb_connect(name.constData(), nullptr);
    QImage image;
    if (c && !xcb_connection_has_error(c)) {
        const auto w = static_cast<xcb_window_t>(window);
        xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr);
        if (g && g->depth == 24) {
            xcb_get_image_reply_t* r = xcb_get_image_reply(
                c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, w, 0, 0, g->width, g->height, ~0u), nullptr);
            const int bytes = r ? xcb_get_image_data_length(r) : 0;
            if (r && bytes == g->width * g->height * 4)
                image = QImage(xcb_get_image_data(r), g->width, g->height, g->width * 4, QImage::Format_RGB32).copy();
            free(r);
        }
        free(g);
    }
    if (c) xcb_disconnect(c);
    return image;
}

// What a window manager sends when the user clicks the close box: WM_PROTOCOLS/WM_DELETE_WINDOW.
void XInput::closeBox(qulonglong window) const {
    const QByteArray name = m_display.toLatin1();
    xcb_connection_t* c = xcb_connect(name.constData(), nullptr);
    if (!c || xcb_connection_has_error(c)) {
        if (c) xcb_disconnect(c);
        return;
    }
    const auto atom = [c](const char* text) {
        xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(text)), text), nullptr);
        const xcb_atom_t a = r ? r->atom : XCB_ATOM_NONE;
        free(r);
        return a;
    };
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = static_cast<xcb_window_t>(window);
    ev.type = atom("WM_PROTOCOLS");
    ev.data.data32[0] = atom("WM_DELETE_WINDOW");
    ev.data.data32[1] = XCB_CURRENT_TIME;
    // The server drops what a client that hangs up has not had read yet: the message is checked,
    // so the connection stays until the server has delivered it.
    free(xcb_request_check(c, xcb_send_event_checked(c, 0, ev.window, XCB_EVENT_MASK_NO_EVENT,
                                                     reinterpret_cast<const char*>(&ev))));
    xcb_disconnect(c);
}

QProcessEnvironment Program_Environment(const XServer& x, const TempDataFolder& data, const InstalledProgram& installed,
                                        const std::string& connectTo, const std::string& caFile) {
    QProcessEnvironment env = installed.env;
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", x.display());
    env.insert("XDG_DATA_HOME", QString::fromStdString(data.home()));
    env.insert("TOLVANE_CONNECT_TO", QString::fromStdString(connectTo));
    env.insert("CURL_CA_BUNDLE", QString::fromStdString(caFile));
    env.insert("TZ", "UTC");
    env.remove("XDG_RUNTIME_DIR");  // the single-instance names stay in the data folder
    return env;
}

RunningProgram::RunningProgram(const XServer& x, const TempDataFolder& data, const InstalledProgram& installed,
                               const std::string& connectTo, const std::string& caFile) {
    m_process.setProcessEnvironment(Program_Environment(x, data, installed, connectTo, caFile));
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(installed.program, {});
    m_process.waitForStarted(10000);
}

RunningProgram::~RunningProgram() {
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.kill();
    m_process.waitForFinished(5000);
}

std::string RunningProgram::output() { return m_process.readAll().toStdString(); }

}  // namespace testsupport
