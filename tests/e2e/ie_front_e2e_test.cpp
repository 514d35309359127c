// The extension's command-line front as a browser's context menu uses it: the page handed over
// through the X clipboard to the program running on the same display, or to the program the
// extension starts for it; without the extension library the front says so.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>

#include "e2e_program.h"
#include "fake_item_pages.h"

using namespace testsupport;

namespace {

// Ends every process whose program lies in `folder` (what the front started, detached).
void endProgramsIn(const std::string& folder) {
    const QString prefix = QFileInfo(QString::fromStdString(folder)).canonicalFilePath() + "/";
    for (const QString& e : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const int pid = e.toInt(&number);
        if (number && QFileInfo("/proc/" + e + "/exe").symLinkTarget().startsWith(prefix)) ::kill(pid, SIGKILL);
    }
}

int programsIn(const std::string& folder, const QString& name) {
    const QString file = QFileInfo(QString::fromStdString(folder)).canonicalFilePath() + "/" + name;
    int n = 0;
    for (const QString& e : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (QFileInfo("/proc/" + e + "/exe").symLinkTarget() == file) ++n;
    return n;
}

struct FrontRun {
    int exitCode = -1;
    std::string output;
};

class IEFrontTest : public ::testing::Test {
protected:
    const std::string number = "130000000042";

    void SetUp() override {
        ItemPageContent page;
        page.itemNumber = number;
        page.title = "Leica IIIf body";
        page.endDate = "Mar 05, 2099";
        html = itemPageHtml(page);
        e.fake.route("", "GET", itemPagePath(number), ScriptedResponse::ok(html));
        e.writeConfig("Sound=0\r\nShowBidSetup=0\r\nLastUser=buyer1\r\n");
        e.install();
        e.data.write("page.html", html);
        e.data.write("page.txt", "Leica IIIf body\nItem number: " + number + "\n");
    }
    void TearDown() override { endProgramsIn(e.data.dataFolder()); }

    FrontRun front(const QString& program) {
        QProcess p;
        p.setProcessEnvironment(Program_Environment(e.x, e.data, e.installed, e.fake.connectTo(), FakeService::caFile()));
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, {"--add-item", "--url", QString::fromStdString("https://www.ebay.com/itm/" + number), "--title",
                          "Leica IIIf body", "--html", QString::fromStdString(e.data.path("page.html")), "--text",
                          QString::fromStdString(e.data.path("page.txt"))});
        FrontRun r;
        if (!p.waitForFinished(30000)) return r;
        r.exitCode = p.exitCode();
        r.output = p.readAll().toStdString();
        return r;
    }
    QString installedFront() const { return QString::fromStdString(e.data.path("TolvaneRerodeIE")); }
    bool itemStored() {
        return waitUntil([&] { return e.storedItemNumbers() == std::vector<std::string>{number}; }, 30000);
    }

    E2EProgram e;
    std::string html;
};

TEST_F(IEFrontTest, APageHandedOverReachesTheRunningProgram) {
    ASSERT_TRUE(e.x.running()) << e.x.error();
    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());
    ASSERT_NE(e.waitForMainWindow(), 0u) << program.output();
    const FrontRun r = front(installedFront());
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_TRUE(itemStored()) << program.output();
    EXPECT_EQ(programsIn(e.data.dataFolder(), "TolvaneRerodeII"), 1);  // none started beside it
}

TEST_F(IEFrontTest, WithoutARunningProgramTheExtensionStartsOneThatTakesThePage) {
    ASSERT_TRUE(e.x.running()) << e.x.error();
    const FrontRun r = front(installedFront());
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(programsIn(e.data.dataFolder(), "TolvaneRerodeII"), 1);
    EXPECT_TRUE(itemStored());
}

TEST_F(IEFrontTest, WithoutTheLibraryTheFrontSaysSo) {
    QTemporaryDir alone;
    const QString copy = alone.path() + "/TolvaneRerodeIE";
    ASSERT_TRUE(QFile::copy(installedFront(), copy));
    const FrontRun r = front(copy);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.output.find("An error occured!"), std::string::npos) << r.output;
    EXPECT_EQ(programsIn(e.data.dataFolder(), "TolvaneRerodeII"), 0);
}

}  // namespace
