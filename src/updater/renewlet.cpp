#include "updater/renewlet.h"

#include "platform/clock.h"
#include "platform/file_names.h"
#include "platform/timers.h"

namespace Renewlet {

std::string Clean_Trail(const std::string& commandLine) {
    std::string trail;
    for (char c : commandLine)
        if (c == 'Z' || c == 'S' || c == 'C' || c == 'P' || c == 'D') trail.push_back(c);
    return trail;
}

struct Updater::Impl {
    Updater& owner;
    std::string folder, trail;
    UpdaterOps& ops;
    std::function<void()> done;
    platform::Timer timer;
    std::function<void()> next;  // the step the timer runs next
    qint64 askedAt = 0;

    Impl(Updater& o, std::string f, std::string t, UpdaterOps& p)
        : owner(o), folder(std::move(f)), trail(std::move(t)), ops(p) {}

    std::string program() const { return folder + platform::kProgramFile; }
    std::string newFile() const { return folder + kNewFile; }
    std::string oldFile() const { return program() + kOldSuffix; }

    // The next step after `ms` on the program's clock; nothing waits meanwhile.
    void after(int ms, std::function<void()> step) {
        next = std::move(step);
        timer.setHandler([this] {
            timer.setEnabled(false);
            auto step = std::move(next);
            next = nullptr;
            if (step) step();
        });
        timer.setInterval(ms);
        timer.setEnabled(true);
    }

    void finish(bool ok) {
        owner.m_succeeded = ok;
        if (done) done();
    }

    // The old program, kept whole, starts again and hears of the failure.
    void failed() {
        if (!ops.exists(program())) putOldBack();
        ops.showError(kUpdateError, kUpdateErrorTitle);
        trail += "D";
        ops.startDetached(program(), {"-UE-" + trail});
        finish(false);
    }

    // Only this folder's program, run by this user, is asked to end; after the grace time it is
    // ended by force.
    void endTheProgram() {
        if (ops.running(program())) ops.askToEnd(program());
        askedAt = platform::clock().tickMs();
        after(kStepMs, [this] { waitForTheEnd(); });
    }

    void waitForTheEnd() {
        if (ops.running(program())) {
            if (platform::clock().tickMs() - askedAt < kEndGraceMs) return after(kEndPollMs, [this] { waitForTheEnd(); });
            ops.forceEnd(program());
        }
        replace();
    }

    // The new file is checked before the old one is touched; the old one is kept aside until the
    // new one stands in its place, and comes back when anything fails.
    void replace() {
        if (ops.size(newFile()) <= 0) return failed();
        if (ops.exists(program()) && !ops.rename(program(), oldFile())) return failed();
        after(kStepMs, [this] { putNewInPlace(); });
    }

    void putNewInPlace() {
        if (!ops.makeExecutable(newFile()) || !ops.rename(newFile(), program())) {
            putOldBack();
            return failed();
        }
        after(kStepMs, [this] {
            ops.setStatus(kRestarting);
            after(kStepMs, [this] { restart(); });
        });
    }

    // The old program file takes its place again (the new one, if it got there, goes).
    void putOldBack() {
        if (!ops.exists(oldFile())) return;
        if (ops.exists(program())) ops.remove(program());
        ops.rename(oldFile(), program());
    }

    void restart() {
        if (ops.startDetached(program(), {})) return finish(true);
        // The new program does not start: the old one comes back and reports the failure.
        putOldBack();
        failed();
    }
};

Updater::Updater(std::string folder, std::string trail, UpdaterOps& ops)
    : m(std::make_unique<Impl>(*this, std::move(folder), Clean_Trail(trail), ops)) {}

Updater::~Updater() = default;

void Updater::start(std::function<void()> done) {
    m->done = std::move(done);
    m->ops.setStatus(kUpdating);
    m->after(kStepMs, [this] { m->endTheProgram(); });
}

}  // namespace Renewlet
