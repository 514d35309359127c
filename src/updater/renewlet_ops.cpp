// The updater's real file and process operations.
#include "updater/renewlet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/message_box.h"
#include "platform/program_launcher.h"

namespace Renewlet {
namespace {

// The processes of this user whose program file is `path` (found through /proc/<pid>/exe).
std::vector<pid_t> processesOf(const std::string& path) {
    std::vector<pid_t> found;
    const QString wanted = QFileInfo(QString::fromStdString(path)).canonicalFilePath();
    if (wanted.isEmpty()) return found;
    const QStringList entries = QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& e : entries) {
        bool number = false;
        const pid_t pid = static_cast<pid_t>(e.toInt(&number));
        if (!number || pid == ::getpid()) continue;
        struct stat st {};
        const std::string dir = "/proc/" + e.toStdString();
        if (::stat(dir.c_str(), &st) != 0 || st.st_uid != ::getuid()) continue;
        if (QFileInfo(QString::fromStdString(dir + "/exe")).symLinkTarget() == wanted) found.push_back(pid);
    }
    return found;
}

class RealOps final : public UpdaterOps {
public:
    bool exists(const std::string& path) override { return QFileInfo::exists(QString::fromStdString(path)); }
    long long size(const std::string& path) override {
        const QFileInfo f(QString::fromStdString(path));
        return f.exists() ? f.size() : -1;
    }
    bool rename(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str()) == 0;  // replaces `to` in one step
    }
    bool remove(const std::string& path) override { return QFile::remove(QString::fromStdString(path)); }
    bool makeExecutable(const std::string& path) override {
        QFile f(QString::fromStdString(path));
        return f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ReadOwner);
    }
    bool running(const std::string& path) override { return !processesOf(path).empty(); }
    void askToEnd(const std::string& path) override {
        for (pid_t p : processesOf(path)) ::kill(p, SIGTERM);
    }
    void forceEnd(const std::string& path) override {
        for (pid_t p : processesOf(path)) ::kill(p, SIGKILL);
    }
    bool startDetached(const std::string& program, const std::vector<std::string>& arguments) override {
        return platform::programLauncher().startDetached(
            program, arguments, QFileInfo(QString::fromStdString(program)).absolutePath().toStdString());
    }
    void showError(const std::string& text, const std::string& title) override {
        platform::MsgBox(text, platform::vbOKCancel + platform::vbCritical + platform::vbSystemModal, title);
    }
    void setStatus(const std::string& text) override {
        if (statusSink()) statusSink()(text);
    }
};

}  // namespace

std::function<void(const std::string&)>& statusSink() {
    static std::function<void(const std::string&)> sink;
    return sink;
}

UpdaterOps& realOps() {
    static RealOps ops;
    return ops;
}

}  // namespace Renewlet
