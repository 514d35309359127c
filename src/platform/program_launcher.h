// program_launcher.h — starting another program of the installation (the updater) on its own:
// it runs on after this program ends.
#pragma once

#include <string>
#include <vector>

namespace platform {

class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // Starts the program with the arguments (never through a shell) in the working folder, as a
    // process of its own; false when it did not start.
    virtual bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                               const std::string& workingFolder) = 0;
};

ProgramLauncher& programLauncher();
void setProgramLauncherForTests(ProgramLauncher* l);  // nullptr puts the system's back

}  // namespace platform
