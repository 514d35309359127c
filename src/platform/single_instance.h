// single_instance.h — one running program per user and data folder.
//
// The first process listens on a local socket whose name is made of the user id and
// a hash of the data folder (so other users and parallel test runs never meet).
// A second process finds it taken, sends "show" and ends; the first raises its main
// window when it has one.
#pragma once

#include <functional>
#include <memory>
#include <string>

class QLocalServer;
class QLockFile;

namespace platform {

class SingleInstance {
public:
    explicit SingleInstance(const std::string& dataFolder);
    ~SingleInstance();

    // True when another process already holds the name; that process has been sent "show".
    bool anotherIsRunning();
    // Becomes the first instance; `onShow` runs for every "show" a later process sends.
    // False when the name could not be taken, also when a process that started at the
    // same moment holds it (anotherIsRunning() then tells).
    bool listen(std::function<void()> onShow);
    std::string serverName() const { return m_name; }

private:
    bool answers() const;  // a live process holds the name
    std::string m_name;
    QLocalServer* m_server = nullptr;
    std::function<void()> m_onShow;
    std::unique_ptr<QLockFile> m_lock;  // held while this process is the first
};

}  // namespace platform
