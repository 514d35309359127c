// single_instance.h — one running program per user and data folder.
//
// The first process holds a lock file and listens on a local socket. Both live in a folder
// only the user can reach: $XDG_RUNTIME_DIR when it is the user's own, else the data folder
// itself. A later process finds the lock held, sends "show" over the socket and ends; the
// first raises its main window. When the holder does not answer (it is still starting, or
// hangs), the later process tries again for a few seconds and then ends all the same: two
// instances never run on one data folder. The first removes its lock and socket when it ends.
#pragma once

#include <QtGlobal>
#include <functional>
#include <memory>
#include <string>

class QLocalServer;
class QLockFile;

namespace platform {

class SingleInstance {
public:
    enum class Outcome {
        First,       // this process holds the lock (and listens when the socket could be made)
        HandedOver,  // the running process was sent "show"
        Held,        // the lock is held and nobody answered in time
    };

    static constexpr qint64 kHandOverMs = 5000;
    static constexpr qint64 kRetryMs = 200;
    static constexpr size_t kMaxSocketPath = 106;  // the socket address holds 107 bytes and a NUL

    explicit SingleInstance(const std::string& dataFolder);
    ~SingleInstance();  // release()
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock, or hands over to its holder, trying again (yielding) for up to handOverMs.
    // `onShow` runs on the first for every "show" a later process sends.
    Outcome start(std::function<void()> onShow, qint64 handOverMs = kHandOverMs);
    // Stops listening and removes the socket and lock files this process made.
    void release();

    // Where the lock and socket live; the socket path is empty when no short enough one exists
    // (then a later start cannot hand over, and ends after its tries).
    std::string lockPath() const { return m_lockPath; }
    std::string socketPath() const { return m_socketPath; }

private:
    bool takeLock();
    bool sendShow() const;
    void listen();
    std::string m_lockPath;
    std::string m_socketPath;
    std::function<void()> m_onShow;
    std::unique_ptr<QLocalServer> m_server;
    std::unique_ptr<QLockFile> m_lock;
};

}  // namespace platform
