#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWidget>
#include <QCloseEvent>
#include <memory>

#include "fake_clock.h"
#include "foundation/config_store.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "platform/file_version.h"
#include "platform/timers.h"
#include "temp_data_folder.h"

TOLVANE_VERSION_MARKER("9.87");  // this test program's own version text

using testsupport::FakeTime;
using testsupport::TempDataFolder;

namespace {

struct MaskCase {
    long start;
    const char* text;
    const char* mask;
    long result;
    long startAfter;
};

TEST(SmallRoutines, MatchMaskFindsTheFirstMatchAtOrAfterStart) {
    const char* ends = "Ends Mar 05, 2026 10:00:00";  // 26 characters
    const MaskCase cases[] = {
        {1, ends, "##:##:##", 19, 19},
        {1, ends, "*** ##, ####", 6, 6},       // where "Mar 05, 2026" begins
        {7, ends, "*** ##, ####", 0, 27},      // past it: none, Start past the end
        {20, ends, "##:##:##", 0, 27},
        {1, "no digits", "#", 0, 10},          // Start one past the text's end
        {1, "ab1", "1*", 3, 3},                // "*" matches the missing character at the end
        {1, "12a", "##*", 1, 1},
        {1, "abc", "B", 0, 4},                 // case counts
        {2, "a.b.c", ".", 2, 2},
        {3, "a.b.c", ".", 4, 4},               // a caller continues after a match
        {1, "", "#", 0, 2},
        {0, "123", "#", 0, 0},                 // no position 0
    };
    for (const auto& c : cases) {
        long start = c.start;
        EXPECT_EQ(modTLMain::Match_Mask(start, c.text, c.mask), c.result) << c.text << " / " << c.mask;
        EXPECT_EQ(start, c.startAfter) << c.text << " / " << c.mask;
    }
}

struct AlarmCase {
    const char* setting;
    bool result;
    int minutes;  // AlarmMinutes was 9 before
    bool bidCount, highBid, on;
};

TEST(SmallRoutines, DecodeAlarmValuesUnpacksMinutesAndSwitches) {
    const AlarmCase cases[] = {
        {"1284", true, 5, false, false, true},  // the first-run preset
        {"1280", false, 9, false, false, false},  // no switch: minutes left as they were
        {"7", true, 0, true, true, true},
        {"2563", true, 10, true, true, false},
        {"abc", false, 9, false, false, false},
        {"", false, 9, false, false, false},
        {"99999", false, 9, false, false, false},  // not a 16-bit integer
    };
    for (const auto& c : cases) {
        modTLMain::AlarmMinutes = 9;
        modTLMain::AlarmBidCountOn = modTLMain::AlarmHighBidOn = modTLMain::AlarmOn = true;
        EXPECT_EQ(modTLMain::Decode_Alarm_Values(c.setting), c.result) << c.setting;
        EXPECT_EQ(modTLMain::AlarmMinutes, c.minutes) << c.setting;
        EXPECT_EQ(modTLMain::AlarmBidCountOn, c.bidCount) << c.setting;
        EXPECT_EQ(modTLMain::AlarmHighBidOn, c.highBid) << c.setting;
        EXPECT_EQ(modTLMain::AlarmOn, c.on) << c.setting;
    }
}

TEST(SmallRoutines, GetFileVersionReadsTheEmbeddedMarker) {
    TempDataFolder data;
    const std::string tag = platform::versionMarkerTag();
    data.write("with.bin", std::string("\x7f" "ELF junk\0\0", 11) + tag + "3.43" + std::string(1, '\0') + "more");
    data.write("without.bin", std::string("\x7f" "ELF junk 3.43\0", 14));
    data.write("unended.bin", "junk" + tag + "3.43");  // a tag without its zero byte is no marker
    EXPECT_EQ(modTLMain::Get_File_Version(data.path("with.bin")), "3.43");
    EXPECT_EQ(modTLMain::Get_File_Version(data.path("without.bin")), "");
    EXPECT_EQ(modTLMain::Get_File_Version(data.path("unended.bin")), "");
    EXPECT_EQ(modTLMain::Get_File_Version(data.path("missing.bin")), "");
    EXPECT_EQ(modTLMain::Get_File_Version(""), "");
    // A real program: this one carries the marker placed at the top of this file.
    EXPECT_EQ(modTLMain::Get_File_Version(QFileInfo("/proc/self/exe").symLinkTarget().toStdString()), "9.87");
}

TEST(SmallRoutines, MakeFolderCreatesOneLevelOrReportsItExisted) {
    TempDataFolder data;
    const std::string folder = data.path("Saved Items");
    EXPECT_EQ(modTLMain::Make_Folder(folder), 0);
    EXPECT_TRUE(QFileInfo(QString::fromStdString(folder)).isDir());
    data.write("Saved Items/keep.txt", "x");
    EXPECT_EQ(modTLMain::Make_Folder(folder), 1);
    EXPECT_TRUE(data.exists("Saved Items/keep.txt"));  // nothing changed
    data.write("afile", "x");
    EXPECT_EQ(modTLMain::Make_Folder(data.path("afile")), 1);  // a file of that name counts too
}

struct BytesCase {
    const char* text;
    size_t size;
    bool cut;
    std::vector<uint8_t> after;  // the array was 0xEE throughout before
};

TEST(SmallRoutines, StringToBytesNeverWritesTheLastByte) {
    constexpr uint8_t E = 0xEE;
    const BytesCase cases[] = {
        {"0123456789", 8, true, {'0', '1', '2', '3', '4', '5', '6', E}},
        {"abc", 8, false, {'a', 'b', 'c', 0, 0, 0, 0, E}},
        {"abcdefg", 8, false, {'a', 'b', 'c', 'd', 'e', 'f', 'g', E}},
        {"", 3, false, {0, 0, E}},
        {"ab", 1, true, {E}},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bytes(c.size, E);
        EXPECT_EQ(modTLMain::String_To_Bytes(c.text, bytes), c.cut) << c.text;
        EXPECT_EQ(bytes, c.after) << c.text;
    }
    std::vector<uint8_t> none;
    EXPECT_TRUE(modTLMain::String_To_Bytes("x", none));
}

TEST(SmallRoutines, BytesAndMemoryBecomeTextUpToTheFirstZero) {
    EXPECT_EQ(modTLMain::Bytes_To_String({'a', 'b', 0, 'c', 0}), "ab");
    EXPECT_EQ(modTLMain::Bytes_To_String({'a', 'b', 'c'}), "abc");  // no zero: the whole array
    EXPECT_EQ(modTLMain::Bytes_To_String({}), "");
    const char memory[] = {'h', 'i', 0, 'x', 'y', 'z'};
    std::string result = "old";
    modTLMain::Ptr_To_String(result, memory, 6);
    EXPECT_EQ(result, "hi");
    modTLMain::Ptr_To_String(result, memory + 3, 2);
    EXPECT_EQ(result, "xy");
    modTLMain::Ptr_To_String(result, nullptr, 4);
    EXPECT_EQ(result, "");
}

TEST(SmallRoutines, WaitSecondsLetsTimersRun) {
    FakeTime time;
    time.timers.setRealSliceMs(0);
    int fired = 0;
    platform::Timer heartbeat([&] { ++fired; });
    heartbeat.setInterval(500);
    heartbeat.setEnabled(true);
    const qint64 start = time.clock.tickMs();
    modTLMain::Wait_Seconds(2.0f);
    EXPECT_GE(time.clock.tickMs() - start, 2000);
    EXPECT_LT(time.clock.tickMs() - start, 2100);
    EXPECT_EQ(fired, 4);
    modTLMain::Wait_Seconds(0);
    modTLMain::Wait_Seconds(-1);
    EXPECT_LT(time.clock.tickMs() - start, 2100);
}

TEST(SmallRoutines, GetUserPasswordReadsTheUsersSection) {
    TempDataFolder data;
    modTLMain::DataFolder = data.dataFolder();
    modTLC::ResetForTests();
    modTLC::Set_Config_Value("Users", "bidder1", "secret");
    EXPECT_EQ(modTLMain::Get_User_Password("bidder1"), "secret");
    EXPECT_EQ(modTLMain::Get_User_Password("nobody"), "");
    modTLC::ResetForTests();
    modTLMain::ResetStartupForTests();
}

TEST(SmallRoutines, SetWindowTopmostByFlag) {
    QWidget w;
    modTLMain::Set_Window_Topmost(&w, -1);
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w.isVisible());
    modTLMain::Set_Window_Topmost(&w, 1);  // to the top, the flag unchanged
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    modTLMain::Set_Window_Topmost(&w, 0);
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w.isVisible());
    modTLMain::Set_Window_Topmost(&w, 1);  // not above the topmost windows
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

class Form final : public QWidget {
public:
    explicit Form(const char* name) { setObjectName(name); }
    int unloads = 0;

protected:
    void closeEvent(QCloseEvent* e) override {
        ++unloads;
        e->accept();
    }
};

TEST(SmallRoutines, UnloadOtherFormsKeepsOnlyTheNamedOne) {
    Form main("TLMain"), options("Options"), about("About");
    main.show();
    options.show();  // about stays hidden: loaded forms are unloaded too
    modTLMain::Unload_Other_Forms("TLMain");
    EXPECT_EQ(main.unloads, 0);
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(options.unloads, 1);
    EXPECT_FALSE(options.isVisible());
    EXPECT_EQ(about.unloads, 1);
    modTLMain::Unload_Other_Forms("tlmain");  // exact compare
    EXPECT_EQ(main.unloads, 1);
    EXPECT_EQ(options.unloads, 1);  // an unloaded form is not unloaded again
    Form unnamed("");
    modTLMain::Unload_Other_Forms("");
    EXPECT_EQ(unnamed.unloads, 1);
}

}  // namespace
