#include "platform/program_launcher.h"

#include <QProcess>
#include <QStringList>

namespace platform {
namespace {

class ProcessLauncher final : public ProgramLauncher {
public:
    bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& workingFolder) override {
        QStringList args;
        for (const std::string& a : arguments) args << QString::fromStdString(a);
        return QProcess::startDetached(QString::fromStdString(program), args, QString::fromStdString(workingFolder));
    }
};

ProgramLauncher* g_override = nullptr;

}  // namespace

ProgramLauncher& programLauncher() {
    static ProcessLauncher system;
    return g_override ? *g_override : system;
}

void setProgramLauncherForTests(ProgramLauncher* l) { g_override = l; }

}  // namespace platform
