// The program's end asked by the system (SIGTERM, as at log-out) while a question waits for its
// answer: the program ends at once, with what it held saved and its "Program Ended" line.
#include <gtest/gtest.h>

#include "e2e_program.h"

using namespace testsupport;

namespace {

TEST(ProgramEnd, ASigtermWithAQuestionOpenEndsTheProgramSaved) {
    E2EProgram e;
    ASSERT_TRUE(e.x.running()) << e.x.error();
    // A bid still to come: the close box asks whether to exit.
    e.writeItems({{"120000000001", "Leica M3 body", 86400, 10}});
    e.writeConfig("Sound=0\r\nBidsPendWarning=1\r\n");
    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());
    const qulonglong main = e.waitForMainWindow();
    ASSERT_NE(main, 0u) << e.input.visibleWindows() << program.output();

    e.input.key(main, "F9");  // a setting changed, not yet on the disk
    e.input.closeBox(main);
    const qulonglong ask = e.input.waitForWindow("^Tolvane Rerode II$", 10000);
    ASSERT_NE(ask, 0u) << "the close box asked nothing\n" << e.input.visibleWindows();

    program.process().terminate();
    ASSERT_TRUE(program.process().waitForFinished(15000)) << "a SIGTERM did not end the program";
    EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.process().exitCode(), 0);
    const std::string log = e.data.exists("OperationLog.txt") ? e.data.read("OperationLog.txt") : "";
    EXPECT_NE(log.find(" - Program Ended"), std::string::npos) << log;
    EXPECT_NE(e.storedConfig().find("Sound=1\r\n"), std::string::npos);
    EXPECT_EQ(e.storedItemNumbers(), std::vector<std::string>{"120000000001"});
}

}  // namespace
