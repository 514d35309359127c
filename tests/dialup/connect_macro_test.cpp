// The connect macro: recording into Connect.mac, the file's form, and the replay with its pauses.
#include <sys/stat.h>

#include <cstdint>

#include "dialup_fixture.h"

namespace dialtest {
namespace {

using Macro = DialupFixture;

int32_t fileInt(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
    return static_cast<int32_t>(v);
}

void writeMacro(const testsupport::TempDataFolder& data, const std::vector<SysHook::MacroEvent>& events) {
    data.write(SysHook::kMacroFile, SysHook::Macro_File_Bytes(events));
}

TEST_F(Macro, RecordingAKeyThenEscWritesTwoEventsInSixtyBytesForTheOwnerOnly) {
    bool ended = false;
    ASSERT_TRUE(SysHook::Start_Macro_Recording([&] { ended = true; }));
    journal.feed(256, 65, 30, 1000);  // A down
    journal.feed(257, 65, 30, 1180);  // A up, 180 ms later
    journal.feed(256, 27, 1, 1900);   // Esc ends it
    EXPECT_TRUE(ended);
    EXPECT_FALSE(SysHook::Recording());

    const std::string bytes = data.read(SysHook::kMacroFile);
    ASSERT_EQ(bytes.size(), 60u);
    EXPECT_EQ(fileInt(bytes, 0), 2);
    EXPECT_EQ(fileInt(bytes, 20), 256);
    EXPECT_EQ(fileInt(bytes, 24), 65);
    EXPECT_EQ(fileInt(bytes, 32), 180);  // the pause to the next event
    EXPECT_EQ(fileInt(bytes, 40), 257);
    EXPECT_EQ(fileInt(bytes, 52), 0);    // the last event has none
    struct stat st {};
    ASSERT_EQ(::stat(data.path(SysHook::kMacroFile).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(Macro, AWindowsKeyEndsTheRecordingLikeEsc) {
    for (int key : {91, 92}) {
        ASSERT_TRUE(SysHook::Start_Macro_Recording({}));
        journal.feed(512, 10, 10, 5);
        journal.feed(256, key, 0, 9);
        EXPECT_FALSE(SysHook::Recording()) << key;
        EXPECT_EQ(data.read(SysHook::kMacroFile).size(), 40u) << key;
    }
}

TEST_F(Macro, RecordingWhereTheDesktopOffersNoneEndsAtOnceAndKeepsTheOldFile) {
    writeMacro(data, {{1}, {256, 65, 0, 0, 0}});
    journal.isAvailable = false;
    bool ended = false;
    EXPECT_FALSE(SysHook::Start_Macro_Recording([&] { ended = true; }));
    EXPECT_TRUE(ended);
    EXPECT_EQ(data.read(SysHook::kMacroFile).size(), 40u);
}

TEST_F(Macro, ReplayOnA1024By768ScreenKeepsThePausesAndScalesMoves) {
    writeMacro(data, {{5},
                      {512, 512, 384, 250, 0},  // move, then 250 ms
                      {513, 512, 384, 0, 0},
                      {515, 512, 384, 0, 0},    // a double-click replays as nothing of its own
                      {514, 512, 384, 1000, 0},
                      {256, 65, 0, 0, 0}});
    ASSERT_TRUE(SysHook::Load_Connect_Macro());
    bool done = false;
    SysHook::Play_Macro([&] { done = true; });
    EXPECT_EQ(journal.injected, std::vector<std::string>{"move 32768,32640"});
    time.advanceMs(249);
    EXPECT_EQ(journal.injected.size(), 1u) << "the recorded pause is kept";
    time.advanceMs(10);
    EXPECT_EQ(journal.injected.size(), 3u);
    time.advanceMs(900);
    EXPECT_EQ(journal.injected.size(), 3u);
    ASSERT_TRUE(runUntil([&] { return done; }, 2000, 10));
    EXPECT_EQ(journal.injected, (std::vector<std::string>{"move 32768,32640", "button down 1", "button up 1", "key down 65"}));
}

TEST_F(Macro, EscHeldStopsTheReplay) {
    writeMacro(data, {{2}, {256, 65, 0, 0, 0}, {257, 65, 0, 0, 0}});
    ASSERT_TRUE(SysHook::Load_Connect_Macro());
    journal.escape = true;
    bool done = false;
    SysHook::Play_Macro([&] { done = true; });
    EXPECT_TRUE(done);
    EXPECT_TRUE(journal.injected.empty());
}

TEST_F(Macro, AFileWhoseCountDisagreesWithItsSizeIsNotReplayed) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::string threeClaimedTwoThere = SysHook::Macro_File_Bytes({{2}, {256, 65, 0, 0, 0}, {257, 65, 0, 0, 0}});
    threeClaimedTwoThere[0] = 3;
    std::string negative = threeClaimedTwoThere;
    negative[3] = static_cast<char>(0xff);
    std::string countAtTheEnd = SysHook::Macro_File_Bytes({{0}});
    countAtTheEnd.replace(0, 4, "\xff\xff\xff\x7f");  // 2147483647 events in one record
    const Case cases[] = {{"count above the records", threeClaimedTwoThere},
                          {"negative count", negative},
                          {"cut record", threeClaimedTwoThere.substr(0, 50)},
                          {"count at the 32-bit end", countAtTheEnd},
                          {"x beyond the screen's range", SysHook::Macro_File_Bytes({{2}, {256, 65}, {512, 32768, 10}})},
                          {"y beyond the screen's range", SysHook::Macro_File_Bytes({{1}, {512, 10, -32769}})},
                          {"x at the 32-bit end", SysHook::Macro_File_Bytes({{1}, {512, INT32_MAX, 0}})}};
    for (const Case& c : cases) {
        data.write(SysHook::kMacroFile, c.bytes);
        EXPECT_FALSE(SysHook::Load_Connect_Macro()) << c.name;
        EXPECT_EQ(SysHook::MacroEvents.size(), 1u) << c.name;
    }
    EXPECT_NE(opLog().find("Connect Macro Damaged"), std::string::npos);
}

TEST_F(Macro, MovesAtTheEndsOfTheScreensRangeReplayScaled) {
    writeMacro(data, {{2}, {512, 32767, -32768, 0, 0}, {512, -32768, 32767, 0, 0}});
    ASSERT_TRUE(SysHook::Load_Connect_Macro());
    bool done = false;
    SysHook::Play_Macro([&] { done = true; });
    ASSERT_TRUE(runUntil([&] { return done; }, 2000, 10));
    EXPECT_EQ(journal.injected, (std::vector<std::string>{"move 2097088,-2785280", "move -2097152,2785195"}));
}

TEST_F(Macro, AMissingFileReadsAsNoEventsAndIsNotCreated) {
    EXPECT_FALSE(SysHook::Load_Connect_Macro());
    EXPECT_FALSE(data.exists(SysHook::kMacroFile));
    writeMacro(data, {{0}});
    EXPECT_FALSE(SysHook::Load_Connect_Macro());
}

TEST_F(Macro, KeySymbolsMapToTheFilesVirtualKeysAndBack) {
    struct Case {
        unsigned long keysym;
        int vk;
    };
    const Case cases[] = {{0x61, 65}, {0x5a, 90}, {0x35, 53}, {0xff1b, 27}, {0xffeb, 91},
                          {0xffbe, 112}, {0xff0d, 13}, {0xffb3, 99}};
    for (const Case& c : cases) {
        EXPECT_EQ(platform::Virtual_Key_Of_Keysym(c.keysym), c.vk) << std::hex << c.keysym;
        EXPECT_EQ(platform::Virtual_Key_Of_Keysym(platform::Keysym_Of_Virtual_Key(c.vk)), c.vk) << c.vk;
    }
}

TEST_F(Macro, TheSchedulersMacroDialMarksALineThatCameUpAsItsOwn) {
    writeMacro(data, {{1}, {256, 65, 0, 0, 0}});
    network.up = {"Home Modem"};
    ASSERT_TRUE(dialer.Load_Connect_Macro());
    bool done = false;
    dialer.Play_Macro([&] { done = true; });
    network.up.push_back("Macro Line");  // the replay clicked it up
    ASSERT_TRUE(runUntil([&] { return done; }, 1000, 1));
    EXPECT_EQ(modRAS::OwnConnection, "Macro Line");
    EXPECT_TRUE(modRAS::DialConnected);
}

}  // namespace
}  // namespace dialtest
