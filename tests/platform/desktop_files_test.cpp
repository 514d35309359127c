// The desktop's opener as the program starts it: a file it cannot open, or no opener at all, is
// reported back; one it opens is not. The opener is a stand-in script on a PATH of the test's own.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "platform/desktop_files.h"
#include "platform/timers.h"

namespace {

TEST(DesktopFiles, TheOpenersFailureIsReportedAndItsSuccessIsNot) {
    struct C { const char* opener; bool failed; };  // the stand-in's script; nullptr: no opener
    const C cases[] = {
        {"#!/bin/sh\nexit 0\n", false},
        {"#!/bin/sh\necho 'no method available for opening' >&2\nexit 3\n", true},
        {"#!/bin/sh\nkill -9 $$\n", true},
        {nullptr, true},
    };
    const QByteArray path = qgetenv("PATH");
    for (const C& c : cases) {
        QTemporaryDir bin;
        ASSERT_TRUE(bin.isValid());
        if (c.opener) {
            QFile script(bin.filePath("xdg-open"));
            ASSERT_TRUE(script.open(QIODevice::WriteOnly));
            script.write(c.opener);
            script.close();
            script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", bin.path().toLocal8Bit());
        auto failed = std::make_shared<int>(0);
        platform::desktopFiles().openFile(bin.filePath("notes.txt").toStdString(), [failed] { ++*failed; });
        qputenv("PATH", path);
        // The answer comes when the opener has ended; a success leaves nothing to wait for but time.
        platform::timers().waitUntil([failed] { return *failed > 0; }, c.failed ? 10000 : 1500);
        EXPECT_EQ(*failed, c.failed ? 1 : 0) << (c.opener ? c.opener : "(no opener)");
    }
}

}  // namespace
