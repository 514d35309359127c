// recording_program_launcher.h — a launcher that records the programs it was asked to start and
// starts nothing; installed for the life of the object.
#pragma once

#include <string>
#include <vector>

#include "platform/program_launcher.h"

namespace testsupport {

class RecordingProgramLauncher final : public platform::ProgramLauncher {
public:
    struct Started { std::string program; std::vector<std::string> arguments; std::string workingFolder; };

    RecordingProgramLauncher() { platform::setProgramLauncherForTests(this); }
    ~RecordingProgramLauncher() override { platform::setProgramLauncherForTests(nullptr); }

    bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& workingFolder) override {
        started.push_back({program, arguments, workingFolder});
        return startSucceeds;
    }

    bool startSucceeds = true;
    std::vector<Started> started;
};

}  // namespace testsupport
