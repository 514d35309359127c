// The real way the extension finds and starts the program: the program lies beside the extension
// in the data folder, and a running one listens on its single-instance socket.
#include <QFileInfo>
#include <QLocalSocket>
#include <dlfcn.h>

#include "ieext/ie_ext.h"
#include "platform/file_names.h"
#include "platform/folders.h"
#include "platform/program_launcher.h"
#include "platform/single_instance.h"
#include "platform/timers.h"

namespace ieext {
namespace {

// The folder of the file this code was loaded from (the extension's own), ending in "/".
std::string ownFolder() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&ownFolder), &info) == 0 || !info.dli_fname) return {};
    const QString dir = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).canonicalPath();
    return dir.isEmpty() ? std::string() : dir.toStdString() + "/";
}

// Connecting is the whole probe: nothing is sent, so the program does nothing for it.
bool answers(const std::string& socketPath) {
    if (socketPath.empty()) return false;
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(socketPath));
    const bool connected = socket.waitForConnected(500);
    socket.abort();
    return connected;
}

class RealLauncher final : public ProgramPresence {
public:
    bool programRunning() override {
        // The program's data folder as it names it itself, and the folder the extension lies in
        // (the same one, unless the extension was installed elsewhere).
        std::vector<std::string> folders;
        const std::string appData = platform::systemFolders().appData;
        if (!appData.empty()) folders.push_back(appData + "/" + platform::kDataFolderName + "/");
        if (const std::string own = ownFolder(); !own.empty()) folders.push_back(own);
        for (const std::string& f : folders)
            if (answers(platform::SingleInstance(f).socketPath())) return true;
        return false;
    }
    bool startProgram(const std::string& programFile) override {
        const std::string folder = ownFolder();
        const QFileInfo program(QString::fromStdString(folder + programFile));
        if (folder.empty() || !program.isFile() || !program.isExecutable()) return false;
        return platform::programLauncher().startDetached(program.filePath().toStdString(), {}, folder);
    }
    void waitMs(int ms) override { platform::timers().waitMs(ms); }
};

}  // namespace

ProgramPresence& realProgramPresence() {
    static RealLauncher launcher;
    return launcher;
}

}  // namespace ieext
