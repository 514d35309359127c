// The updater on the fake clock, in a folder of its own with a stand-in program: the files are
// real, the processes, the start and the message box are recorded.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QTemporaryDir>

#include "fake_clock.h"
#include "platform/file_names.h"
#include "platform/file_version.h"
#include "updater/renewlet.h"

using namespace Renewlet;

namespace {

std::string readAll(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("<missing>");
}

void write(const std::string& path, const std::string& bytes) {
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// Real file operations; recorded processes, starts and messages; scripted failures.
class RecordingOps final : public UpdaterOps {
public:
    bool exists(const std::string& p) override { return realOps().exists(p); }
    long long size(const std::string& p) override { return realOps().size(p); }
    bool rename(const std::string& from, const std::string& to) override {
        if (renameFails) return false;
        return realOps().rename(from, to);
    }
    bool remove(const std::string& p) override { return realOps().remove(p); }
    bool makeExecutable(const std::string& p) override { return realOps().makeExecutable(p); }
    bool running(const std::string&) override { return runningPolls > 0 ? (--runningPolls, true) : false; }
    void askToEnd(const std::string& p) override { events.push_back("TERM " + QFileInfo(QString::fromStdString(p)).fileName().toStdString()); }
    void forceEnd(const std::string& p) override { events.push_back("KILL " + QFileInfo(QString::fromStdString(p)).fileName().toStdString()); runningPolls = 0; }
    bool startDetached(const std::string& program, const std::vector<std::string>& args) override {
        std::string e = "start " + QFileInfo(QString::fromStdString(program)).fileName().toStdString();
        for (const auto& a : args) e += " [" + a + "]";
        events.push_back(e);
        startedContent = readAll(program);
        if (startFails > 0) {
            --startFails;
            return false;
        }
        return true;
    }
    void showError(const std::string& text, const std::string& title) override { events.push_back("box " + title + ": " + text); }
    void setStatus(const std::string& text) override { events.push_back("status " + text); }

    int runningPolls = 0;  // how many looks still find the program running
    bool renameFails = false;
    int startFails = 0;
    std::vector<std::string> events;
    std::string startedContent;
};

class RenewletTest : public ::testing::Test {
protected:
    std::string folder() const { return dir.path().toStdString() + "/"; }
    std::string program() const { return folder() + platform::kProgramFile; }
    std::string newFile() const { return folder() + kNewFile; }
    // Runs the sequence to its end on the fake clock; the fake seconds it took.
    qint64 run(const std::string& trail) {
        Updater u(folder(), trail, ops);
        bool done = false;
        const qint64 start = time.clock.tickMs();
        u.start([&] { done = true; });
        for (int i = 0; i < 200 && !done; ++i) time.advanceMs(100);
        EXPECT_TRUE(done);
        succeeded = u.succeeded();
        return (time.clock.tickMs() - start) / 1000;
    }

    QTemporaryDir dir;
    testsupport::FakeTime time;
    RecordingOps ops;
    bool succeeded = false;
};

TEST_F(RenewletTest, TheNewFileTakesThePlaceOfTheProgramWhichStartsWithoutArguments) {
    write(program(), "old program");
    write(newFile(), "new program");
    ops.runningPolls = 3;  // the program takes a moment to end
    const qint64 seconds = run("Z");
    EXPECT_TRUE(succeeded);
    EXPECT_EQ(ops.events, (std::vector<std::string>{"status Updating Files", "TERM TolvaneRerodeII",
                                                    "status Restarting Program", "start TolvaneRerodeII"}));
    EXPECT_EQ(ops.startedContent, "new program");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(newFile())));
    EXPECT_TRUE(QFileInfo(QString::fromStdString(program())).isExecutable());
    EXPECT_EQ(readAll(program() + kOldSuffix), "old program");  // the program deletes it at its next start
    EXPECT_GE(seconds, 10);
}

TEST_F(RenewletTest, AProgramThatDoesNotEndIsEndedByForce) {
    write(program(), "old program");
    write(newFile(), "new program");
    ops.runningPolls = 1000;
    run("");
    EXPECT_TRUE(succeeded);
    ASSERT_GE(ops.events.size(), 3u);
    EXPECT_EQ(ops.events[1], "TERM TolvaneRerodeII");
    EXPECT_EQ(ops.events[2], "KILL TolvaneRerodeII");
}

TEST_F(RenewletTest, WhenTheUpdateCannotBeDoneTheOldProgramStartsWithTheTrail) {
    struct Case {
        const char* what;
        const char* newContent;  // nullptr: no new file
        bool renameFails;
        int startFails;
        const char* trail;
        const char* expectedArgument;
    };
    const Case cases[] = {
        {"no new file", nullptr, false, 0, "Z", "-UE-ZD"},
        {"an empty new file", "", false, 0, "", "-UE-D"},
        {"the folder takes no change", "new program", true, 0, "Z", "-UE-ZD"},
        {"the new program does not start", "new program", false, 1, "ZS", "-UE-ZSD"},
        {"only the trail's step letters", nullptr, false, 0, "Z; rm -rf x", "-UE-ZD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        write(program(), "old program");
        if (c.newContent) write(newFile(), c.newContent);
        ops = RecordingOps{};
        ops.renameFails = c.renameFails;
        ops.startFails = c.startFails;
        run(c.trail);
        EXPECT_FALSE(succeeded);
        ASSERT_GE(ops.events.size(), 2u);
        EXPECT_EQ(ops.events[ops.events.size() - 2],
                  "box Update Error: Error! The program updater could not update the program file.");
        EXPECT_EQ(ops.events.back(), std::string("start TolvaneRerodeII [") + c.expectedArgument + "]");
        EXPECT_EQ(ops.startedContent, "old program");
        EXPECT_EQ(readAll(program()), "old program");
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(program() + kOldSuffix)));
    }
}

// The built updater, run for real in a folder with a stand-in program (a script that notes how it
// was started): it replaces it and starts the new one.
TEST(RenewletProgram, ReplacesTheProgramAndStartsTheNewOne) {
    QTemporaryDir dir;
    const QString d = dir.path() + "/";
    ASSERT_TRUE(QFile::copy(TOLVANE_UPDATER_BINARY, d + platform::kUpdaterFile));
    const auto script = [&](const char* name, const char* note) {
        QFile f(d + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        // The note comes whole or not at all: written aside, then moved into place.
        f.write(QByteArray("#!/bin/sh\nd=\"$(dirname \"$0\")\"\necho \"") + note +
                " $*\" > \"$d/started.tmp\" && mv \"$d/started.tmp\" \"$d/started.txt\"\n");
        f.close();
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    };
    EXPECT_EQ(platform::readFileVersion(TOLVANE_UPDATER_BINARY), TOLVANE_PROGRAM_VERSION);
    script(platform::kProgramFile, "old");
    script(kNewFile, "new");
    QProcess p;
    p.setProgram(d + platform::kUpdaterFile);
    p.setArguments({"Z"});
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start();
    ASSERT_TRUE(p.waitForFinished(60000)) << p.readAllStandardError().toStdString();
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QFile started(d + "started.txt");
    for (int i = 0; i < 400 && !started.exists(); ++i) QThread::msleep(50);
    ASSERT_TRUE(started.open(QIODevice::ReadOnly));
    EXPECT_EQ(started.readAll().trimmed().toStdString(), "new");
    EXPECT_FALSE(QFileInfo::exists(d + kNewFile));
}

}  // namespace
