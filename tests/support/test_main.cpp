// The main() of every test program: broken pipes ignored, offscreen windows, a fixed locale and
// zone, a private data home.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <cstdlib>

int main(int argc, char** argv) {
    // The fake servers write to clients that may already have hung up, as the program does;
    // a broken pipe is the write's error, never the test program's end.
    std::signal(SIGPIPE, SIG_IGN);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
    ::setenv("TZ", "UTC", 1);
    ::setenv("LANG", "C.UTF-8", 1);
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_TIME");
    for (const char* proxy : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY", "all_proxy"})
        ::unsetenv(proxy);
    QTemporaryDir home;  // never the user's own data
    ::setenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit().constData(), 1);
    ::setenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit().constData(), 1);
    ::setenv("XDG_RUNTIME_DIR", (home.path() + "/run").toLocal8Bit().constData(), 1);
    QDir().mkpath(home.path() + "/run");
    QFile::setPermissions(home.path() + "/run", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
