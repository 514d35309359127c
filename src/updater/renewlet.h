// renewlet.h — the updater's sequence: the downloaded program file takes the place of the main
// program's file in the updater's own folder, and the main program starts again; when that cannot
// be done, the old program is kept and started with "-UE-", the update trail and "D".
//
// The sequence runs on the program's timers (a step every 2 seconds, nothing waits inside a
// step), over the file and process operations of UpdaterOps, so tests play it on the fake clock.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_names.h"

namespace Renewlet {

inline constexpr const char* kWindowTitle = "Tolvane Rerode Program Updater";
inline constexpr const char* kHeading = "Tolvane Rerode Update";
inline constexpr const char* kUpdating = "Updating Files";
inline constexpr const char* kRestarting = "Restarting Program";
inline constexpr const char* kUpdateError = "Error! The program updater could not update the program file.";
inline constexpr const char* kUpdateErrorTitle = "Update Error";
// The downloaded program file, and where the replaced one is kept until the program runs again.
inline constexpr const char* kNewFile = "UPDATEEXE";
inline constexpr const char* kOldSuffix = platform::kReplacedProgramSuffix;

inline constexpr int kStepMs = 2000;          // every wait of the sequence
inline constexpr int kEndPollMs = 500;        // while a running program is asked to end
inline constexpr int kEndGraceMs = 10000;     // then it is ended by force

// What the sequence does to files and processes (the real ones in renewlet_ops.cpp).
class UpdaterOps {
public:
    virtual ~UpdaterOps() = default;
    virtual bool exists(const std::string& path) = 0;
    virtual long long size(const std::string& path) = 0;  // -1 when missing
    virtual bool rename(const std::string& from, const std::string& to) = 0;
    virtual bool remove(const std::string& path) = 0;
    virtual bool makeExecutable(const std::string& path) = 0;
    // The running processes of this user whose program is the file `path`.
    virtual bool running(const std::string& path) = 0;
    virtual void askToEnd(const std::string& path) = 0;  // SIGTERM
    virtual void forceEnd(const std::string& path) = 0;  // SIGKILL
    virtual bool startDetached(const std::string& program, const std::vector<std::string>& arguments) = 0;
    virtual void showError(const std::string& text, const std::string& title) = 0;
    virtual void setStatus(const std::string& text) = 0;
};
UpdaterOps& realOps();
// Where the real operations show the status text (the updater's window sets it).
std::function<void(const std::string&)>& statusSink();

// Only the step letters of an update trail are kept (Z, S, C, P, D).
std::string Clean_Trail(const std::string& commandLine);

// Starts the sequence for `folder` (ending in "/") and returns at once; `done` runs when it has
// ended. The object must live until then.
class Updater {
public:
    Updater(std::string folder, std::string trail, UpdaterOps& ops);
    ~Updater();
    void start(std::function<void()> done);
    bool succeeded() const { return m_succeeded; }

private:
    struct Impl;
    std::unique_ptr<Impl> m;
    bool m_succeeded = false;
};

}  // namespace Renewlet
