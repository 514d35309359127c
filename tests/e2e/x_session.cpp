#include "x_session.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace testsupport {

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

XServer::~XServer() {
    if (m_server.state() == QProcess::NotRunning) return;
    m_server.terminate();
    if (!m_server.waitForFinished(5000)) {
        m_server.kill();
        m_server.waitForFinished(5000);
    }
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

void XInput::click(qulonglong window, int x, int y) const {
    const QString w = QString::number(window);
    run({"windowraise", w});
    run({"mousemove", "--window", w, "--sync", QString::number(x), QString::number(y)});
    run({"click", "1"});
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
    xcb_send_event(c, 0, ev.window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ev));
    xcb_flush(c);
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
