#include <gtest/gtest.h>

#include <QDir>

#include "foundation/cipher.h"
#include "foundation/config_store.h"
#include "foundation/startup.h"
#include "fake_clock.h"
#include "platform/timers.h"
#include "temp_data_folder.h"

using testsupport::FakeTime;
using testsupport::TempDataFolder;

namespace {

class ConfigStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        modTLMain::DataFolder = data.dataFolder();
        modAHM::SetProviderAvailableForTests(true);
    }
    void TearDown() override {
        modAHM::SetProviderAvailableForTests(true);
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
    }
    // Writes the plain text enciphered, as the program keeps it.
    void writeConfig(const std::string& plain, const std::string& name = "tl2cf.dat") {
        data.write(name, modAHM::Crypt_String(plain, modTLC::Config_Phrase(), true));
    }
    std::string savedPlain() { return modAHM::Crypt_String(data.read("tl2cf.dat"), modTLC::Config_Phrase(), false); }
    TempDataFolder data;
};

struct KeyCase { const char* section; const char* key; const char* expected; };

TEST_F(ConfigStoreTest, ReadsKeysWithoutRegardToCase) {
    writeConfig("[Options]\r\nClockSet=1\r\nSpaced = x\r\nLead= kept\r\n\r\n[Links]\r\nNews=http://x/?a=b\r\n");
    modTLC::LDIF();
    const KeyCase cases[] = {
        {"options", "CLOCKSET", "1"},
        {" Options ", "clockset", "1"},
        {"[Options]", "ClockSet", "1"},
        {"Links", "News", "http://x/?a=b"},   // the value keeps its own "="
        {"Options", "Spaced", "dflt"},         // its key ends with the blank
        {"Options", "Spaced ", " x"},
        {"Options", "Lead", " kept"},          // the reader never trims
        {"Links", "Missing", "dflt"},
        {"Nowhere", "News", "dflt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(modTLC::Get_Config_Value(c.section, c.key, "dflt"), c.expected) << c.section << "/" << c.key;
}

TEST_F(ConfigStoreTest, WritesNewKeysBeforeTheSeparatorAndNewSectionsAtTheEnd) {
    writeConfig("[Options]\r\nClockSet=1\r\n\r\n[Links]\r\nNews=n\r\n");
    modTLC::LDIF();
    modTLC::Set_Config_Value("Options", "Sound", "  1  ");
    modTLC::Set_Config_Value("Remote", "Host", "h");
    modTLC::Set_Config_Value("links", "NEWS", "m");          // rewritten in place, as spelled now
    EXPECT_EQ(modTLC::Config_Text(),
              "[Options]\r\nClockSet=1\r\nSound=1\r\n\r\n[Links]\r\nNEWS=m\r\n\r\n[Remote]\r\nHost=h\r\n");
    EXPECT_EQ(modTLC::ConfigDirty, 1);
    EXPECT_EQ(modTLC::ConfigSaveCountdown, 5);
}

TEST_F(ConfigStoreTest, DeletesKeysAndListsSectionKeys) {
    writeConfig("[Options]\r\nA=1\r\n\r\n[Links]\r\nOne=1\r\nTwo=2\r\nThree=3\r\n");
    modTLC::LDIF();
    modTLC::Delete_Config_Key("Options", "Nope");
    EXPECT_EQ(modTLC::ConfigDirty, 0);  // nothing deleted, nothing to save
    EXPECT_EQ(modTLC::Get_Section_Keys("Links"), (std::vector<std::string>{"One", "Two", "Three"}));
    EXPECT_TRUE(modTLC::Get_Section_Keys("Searches").empty());
    modTLC::Delete_Config_Key("Options", "a");
    EXPECT_EQ(modTLC::ConfigDirty, 1);
    modTLC::Set_Config_Value("Links", "Four", "4");  // later sections moved up correctly
    EXPECT_EQ(modTLC::Config_Text(), "[Options]\r\n\r\n[Links]\r\nOne=1\r\nTwo=2\r\nThree=3\r\nFour=4\r\n");
}

TEST_F(ConfigStoreTest, RefusesKeysAndSectionsThatWouldBreakTheFile) {
    writeConfig("[Options]\r\nA=1\r\n");
    modTLC::LDIF();
    for (const char* bad : {"", "a=b", "new\r\nline", "[Section]"}) modTLC::Set_Config_Value("Options", bad, "x");
    for (const char* bad : {"", "  ", "[]", "Opt\r\nions", "Opt\nions", "a]b", "a[b", "[a]b]", "[[a]"})
        modTLC::Set_Config_Value(bad, "Key", "x");
    EXPECT_EQ(modTLC::Config_Text(), "[Options]\r\nA=1\r\n");
    EXPECT_EQ(modTLC::ConfigDirty, 0);
    EXPECT_NE(data.read("ErrorLog.txt").find("in procedure Set_Config_Value"), std::string::npos);
    // The brackets a caller may give or leave out name one section.
    for (const char* same : {"Options", " Options ", "[Options]", "[Options", "Options]"})
        modTLC::Set_Config_Value(same, "A", same);
    EXPECT_EQ(modTLC::Config_Text(), "[Options]\r\nA=Options]\r\n");
    modTLC::Set_Config_Value("Options", "Note", "two\r\nlines");
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "Note"), "two  lines");
}

TEST_F(ConfigStoreTest, SavesEncipheredWholeAndNeverAnEmptyStore) {
    writeConfig("[Options]\r\nA=1\r\n");
    modTLC::LDIF();
    modTLC::Set_Config_Value("Options", "B", "2");
    modTLC::Save_Config_File();
    EXPECT_EQ(modTLC::ConfigDirty, 0);
    EXPECT_EQ(savedPlain(), "[Options]\r\nA=1\r\nB=2\r\n");
    EXPECT_EQ(data.read("tl2cf.dat").find("[Options]"), std::string::npos);  // not plain on disk

    const std::string before = data.read("tl2cf.dat");
    modTLC::ResetForTests();
    modTLC::Save_Config_File();
    EXPECT_EQ(data.read("tl2cf.dat"), before);

    // Without a working cipher the settings on disk stay.
    modTLC::LDIF();
    modTLC::Set_Config_Value("Options", "C", "3");
    modAHM::SetProviderAvailableForTests(false);
    modTLC::Save_Config_File();
    EXPECT_EQ(data.read("tl2cf.dat"), before);
}

TEST_F(ConfigStoreTest, AnUnreadableFileIsKeptAsideBeforeBackupOrNewInstall) {
    enum Backup { None, Good, Empty };
    struct Case { Backup backup; bool expectNewInstall; const char* expectA; const char* expectError; };
    const Case cases[] = {
        {None, true, "dflt", ""},
        {Good, false, "backup", ""},
        // An empty backup holds no settings: it is no backup, and the error log says why.
        {Empty, true, "dflt", " - Error 62 (Input past end of file) in procedure LDIF\r\n"},
    };
    for (const Case& c : cases) {
        TempDataFolder local;
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        modTLMain::DataFolder = local.dataFolder();
        local.write("tl2cf.dat", "garbage that does not decipher");
        if (c.backup == Good)
            local.write("Backup/tl2cf.dat", modAHM::Crypt_String("[Options]\r\nA=backup\r\n", modTLC::Config_Phrase(), true));
        if (c.backup == Empty) local.write("Backup/tl2cf.dat", "");
        modTLC::LDIF();
        EXPECT_EQ(modTLMain::NewInstall, c.expectNewInstall) << "backup=" << c.backup;
        EXPECT_EQ(modTLC::Get_Config_Value("Options", "A", "dflt"), c.expectA) << "backup=" << c.backup;
        QDir dir(QString::fromStdString(local.dataFolder()));
        const QStringList aside = dir.entryList({"tl2cf.dat.unreadable-*"});
        ASSERT_EQ(aside.size(), 1) << "backup=" << c.backup;
        EXPECT_EQ(local.read(aside[0].toStdString()), "garbage that does not decipher");
        const std::string errors = local.read("ErrorLog.txt");
        if (*c.expectError) EXPECT_NE(errors.find(c.expectError), std::string::npos) << errors;
        else EXPECT_EQ(errors, "");
    }
}

// A store cut short (it does not end with the line end every save writes) is never loaded as if
// whole and written back smaller: it is kept aside, a whole backup takes its place, and the user
// is told; without a whole backup what it still holds is used, and the user is told so.
TEST_F(ConfigStoreTest, ACutStoreIsKeptAsideAndTheUserTold) {
    const std::string whole = "[Options]\r\nA=current\r\n[Users]\r\nbob=pw\r\n";
    const std::string cutText = whole.substr(0, whole.size() - 6);  // "[Users]\r\nbob=" stays
    struct Case { const char* what; const char* backup; const char* expectA; const char* expectBob; const char* notice; };
    const Case cases[] = {
        {"a whole backup", "[Options]\r\nA=backup\r\n[Users]\r\nbob=pw\r\n", "backup", "pw", "taken from the backup"},
        {"no backup", nullptr, "current", "", "there is no whole backup"},
        {"a backup cut too", "[Options]\r\nA=backup\r\n[Us", "current", "", "there is no whole backup"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDataFolder local;
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        modTLMain::DataFolder = local.dataFolder();
        local.write("tl2cf.dat", modAHM::Crypt_String(cutText, modTLC::Config_Phrase(), true));
        if (c.backup) local.write("Backup/tl2cf.dat", modAHM::Crypt_String(c.backup, modTLC::Config_Phrase(), true));
        modTLC::LDIF();
        EXPECT_FALSE(modTLMain::NewInstall);
        EXPECT_EQ(modTLC::Get_Config_Value("Options", "A", "dflt"), c.expectA);
        EXPECT_EQ(modTLC::Get_Config_Value("Users", "bob", ""), c.expectBob);
        const QStringList aside = QDir(QString::fromStdString(local.dataFolder())).entryList({"tl2cf.dat.cut-*"});
        ASSERT_EQ(aside.size(), 1);
        EXPECT_EQ(modAHM::Crypt_String(local.read(aside[0].toStdString()), modTLC::Config_Phrase(), false), cutText);
        EXPECT_NE(modTLC::LastNotice.find(c.notice), std::string::npos) << modTLC::LastNotice;
        EXPECT_NE(modTLC::LastNotice.find(aside[0].toStdString()), std::string::npos) << modTLC::LastNotice;
    }
}

// A store that does not decipher is kept aside and the user told; a save that fails tells once.
TEST_F(ConfigStoreTest, AnUnreadableStoreAndAFailedSaveAreTold) {
    data.write("tl2cf.dat", "garbage that does not decipher");
    modTLC::LDIF();
    EXPECT_NE(modTLC::LastNotice.find("could not be read"), std::string::npos) << modTLC::LastNotice;

    modTLC::ResetForTests();
    modTLC::Set_Config_Value("Options", "A", "1");
    const QString file = QString::fromStdString(data.path("tl2cf.dat"));
    QFile::remove(file);
    QDir(QString::fromStdString(data.dataFolder())).mkdir("tl2cf.dat");  // the file cannot be replaced
    modTLC::Save_Config_File();
    EXPECT_EQ(modTLC::LastNotice.rfind("Error! Settings Not Saved - ", 0), 0u) << modTLC::LastNotice;
    modTLC::LastNotice.clear();
    modTLC::Set_Config_Value("Options", "A", "2");
    modTLC::Save_Config_File();
    EXPECT_EQ(modTLC::LastNotice, "") << "told once";
}

// The cipher yields: a setting saved by a timer in the middle of a save is never lost.
TEST_F(ConfigStoreTest, ASaveInsideASaveLosesNothing) {
    for (const bool innerSaves : {true, false}) {
        FakeTime time;
        modTLC::ResetForTests();
        writeConfig("[Options]\r\nA=0\r\n");
        modTLC::LDIF();
        modTLC::Set_Config_Value("Options", "A", "1");
        platform::Timer timer;
        timer.setHandler([&] {
            timer.setEnabled(false);
            modTLC::Set_Config_Value("Options", "B", "2");
            if (innerSaves) modTLC::Save_Config_File();
        });
        timer.setInterval(10);
        timer.setEnabled(true);
        time.clock.setTick(time.clock.tickMs() + 10);  // due: it fires at the cipher's yield
        modTLC::Save_Config_File();
        EXPECT_FALSE(timer.enabled()) << "the timer did not run inside the save";
        EXPECT_EQ(savedPlain(), "[Options]\r\nA=1\r\nB=2\r\n") << "inner save=" << innerSaves;
        EXPECT_EQ(modTLC::ConfigDirty, 0);
    }
}

// Section line counts are 16-bit: a longer section ends the load there instead of overflowing.
TEST_F(ConfigStoreTest, ASectionTooLongForItsCountEndsTheLoadThere) {
    std::string plain = "[Options]\r\n";
    for (int i = 1; i <= 40000; ++i) plain += "K" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    plain += "\r\n[Links]\r\nNews=n\r\n";
    writeConfig(plain);
    modTLC::LDIF();
    EXPECT_NE(data.read("ErrorLog.txt").find(" - Error 6 (Overflow) in procedure LDIF\r\n"), std::string::npos);
    ASSERT_EQ(modTLC::Config.SectionCount, 1);
    EXPECT_EQ(modTLC::Config.SectionLines[1], 32767);
    EXPECT_EQ(modTLC::Config.LineCount, 32768);
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "K32767"), "32767");
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "K32768", "dflt"), "dflt");

    // A full section takes no new key; its keys can still change, and other sections grow.
    modTLC::Set_Config_Value("Options", "WHwnd", "42");
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "WHwnd", "none"), "none");
    modTLC::Set_Config_Value("Options", "K1", "changed");
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "K1"), "changed");
    modTLC::Set_Config_Value("Links", "News", "m");
    EXPECT_EQ(modTLC::Get_Config_Value("Links", "News"), "m");
    EXPECT_EQ(modTLC::Config.LineCount, static_cast<long>(modTLC::Config.Lines.size()) - 1);
}

TEST_F(ConfigStoreTest, AFreshProfileIsANewInstallWithAnEmptyFile) {
    modTLC::LDIF();
    EXPECT_TRUE(modTLMain::NewInstall);
    EXPECT_TRUE(data.exists("tl2cf.dat"));
    EXPECT_EQ(modTLC::Config.LineCount, 0);
}

TEST(Cipher, RoundTripsEveryByteAndKeepsTheLength) {
    const std::string plain = std::string("[Options]\r\nA=1\0B", 16) + "\xC3\xA9";
    const std::string sealed = modAHM::Crypt_String(plain, "phrase", true);
    EXPECT_EQ(sealed.size(), plain.size());
    EXPECT_NE(sealed, plain);
    EXPECT_EQ(modAHM::Crypt_String(sealed, "phrase", false), plain);
    EXPECT_NE(modAHM::Crypt_String(sealed, "other", false), plain);
    EXPECT_EQ(modAHM::Crypt_String("", "phrase", true), "");
    EXPECT_EQ(modAHM::Bytes_To_String({'a', 0, 'b'}), std::string("a\0b", 3));
    EXPECT_EQ(modAHM::String_To_Bytes(""), std::vector<unsigned char>{0});
}

}  // namespace
