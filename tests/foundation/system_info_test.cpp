#include <gtest/gtest.h>

#include "foundation/system_info.h"
#include "support/fake_system_facts.h"

namespace {

class SystemInfo : public ::testing::Test {
protected:
    void TearDown() override { modWinInfo::ResetForTests(); }
    testsupport::FakeSystemFacts facts;
};

TEST_F(SystemInfo, VersionIsTheSystemsNameWithVersionSixOne) {
    facts.files[platform::kOsReleaseFile] =
        "NAME=\"Debian GNU/Linux\"\nVERSION=\"12 (bookworm)\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nID=debian\n";
    modWinInfo::Get_Windows_Version();
    EXPECT_EQ(modWinInfo::WindowsVersionText, "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(modWinInfo::OSMajorVersion, 6);
    EXPECT_EQ(modWinInfo::OSMinorVersion, 1);
    EXPECT_EQ(modWinInfo::ServicePackText, "");
    EXPECT_EQ(modWinInfo::WindowsEditionText, "");

    facts.files.clear();  // only the fallback file, without PRETTY_NAME, and an edition
    facts.files[platform::kOsReleaseFallbackFile] = "NAME='Fedora Linux'\nVERSION=\"39\"\nVARIANT=\"Workstation Edition\"\n";
    modWinInfo::Get_Windows_Version();
    EXPECT_EQ(modWinInfo::WindowsVersionText, "Fedora Linux 39");
    EXPECT_EQ(modWinInfo::WindowsEditionText, " Workstation Edition");

    facts.files.clear();
    modWinInfo::Get_Windows_Version();
    EXPECT_EQ(modWinInfo::WindowsVersionText, "Linux");
    EXPECT_EQ(modWinInfo::OSMajorVersion, 6);
}

TEST_F(SystemInfo, ChassisNamesBySmbiosNumber) {
    struct C { const char* file; const char* name; };
    for (auto c : {C{"3\n", "Desktop"}, C{"15", "Desktop"}, C{"16\n", "Desktop"}, C{"8", "Portable"}, C{"9\n", "Laptop"},
                   C{"10", "Notebook"}, C{"11", "Hand Held"}, C{"12", "Docking Station"}, C{"13", "All in One"},
                   C{"14", "Sub Notebook"}, C{"17\n", "17"}, C{"", ""}, C{"junk", ""}}) {
        facts.files[platform::kChassisTypeFile] = c.file;
        EXPECT_EQ(modWinInfo::Get_Chassis_Type(), c.name) << c.file;
    }
    facts.files.erase(platform::kChassisTypeFile);
    EXPECT_EQ(modWinInfo::Get_Chassis_Type(), "");
}

TEST_F(SystemInfo, ProcessorFromCpuInfo) {
    facts.files[platform::kCpuInfoFile] =
        "processor\t: 0\nvendor_id\t: GenuineIntel\nmodel name\t: Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz\n"
        "cpu MHz\t\t: 1799.507\n\nprocessor\t: 1\nmodel name\t: Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz\n"
        "cpu MHz\t\t: 900.000\n";
    EXPECT_EQ(modWinInfo::GetCPUSpeed(), 1800);
    EXPECT_EQ(modWinInfo::GetCPUType(), "Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz");

    // A processor whose cpuinfo states no speed: the frequency file (kHz) tells it.
    facts.files[platform::kCpuInfoFile] = "processor\t: 0\nBogoMIPS\t: 48.00\nHardware\t: BCM2835\n";
    facts.files[platform::kCpuMaxFreqFile] = "1500000\n";
    EXPECT_EQ(modWinInfo::GetCPUSpeed(), 1500);
    EXPECT_EQ(modWinInfo::GetCPUType(), "BCM2835");

    facts.files.clear();
    EXPECT_EQ(modWinInfo::GetCPUSpeed(), 0);
    EXPECT_EQ(modWinInfo::GetCPUType(), "");
}

TEST_F(SystemInfo, MemoryLine) {
    facts.memory = platform::MemoryStatus{8'250'000'000ULL, 41};
    EXPECT_EQ(modWinInfo::Get_Mem(), "Total Memory: 8250 MB  In Use: 41%\r\n");
    facts.memory = platform::MemoryStatus{2'500'000ULL, 7};  // 2.5 MB: half to the even neighbour
    EXPECT_EQ(modWinInfo::Get_Mem(), "Total Memory: 2 MB  In Use: 7%\r\n");
    facts.memory.reset();
    EXPECT_EQ(modWinInfo::Get_Mem(), "");
}

TEST_F(SystemInfo, ElevationTellsWhetherTheProcessMaySetTheClock) {
    struct C { const char* capEff; long type; };
    for (auto c : {C{"0000000000000000", 3}, C{"0000000002000000", 2}, C{"000001ffffffffff", 2},
                   C{"00000000a80425fb", 3}, C{"00000000A80425FB", 3}, C{"", 0}, C{"zz", 0}, C{"0000000002000000x", 0},
                   C{"10000000002000000", 0}}) {  // junk after the digits, more than 64 bits: unknown
        facts.files[platform::kProcessStatusFile] =
            std::string("Name:\ttest\nCapInh:\t0000000000000000\nCapPrm:\t0000000000000000\nCapEff:\t") + c.capEff + "\n";
        EXPECT_EQ(modWinInfo::Get_Elevation_Type(), c.type) << c.capEff;
    }
    facts.files.clear();
    EXPECT_EQ(modWinInfo::Get_Elevation_Type(), 0);
}

TEST_F(SystemInfo, AdministratorIsRootOrMemberOfAnAdministratorsGroup) {
    struct C { unsigned uid; std::vector<std::string> groups; bool admin; };
    const C cases[] = {
        {1000, {"users", "audio"}, false},
        {1000, {}, false},
        {1000, {"users", "sudo"}, true},
        {1000, {"wheel"}, true},   // the administrators' group where there is no "sudo"
        {1000, {"admin"}, true},
        {1000, {"sudoers", "Wheel"}, false},  // names are exact
        {0, {}, true},
    };
    for (const auto& c : cases) {
        facts.uid = c.uid;
        facts.groups = c.groups;
        EXPECT_EQ(modWinInfo::Is_Admin_Group(), c.admin) << c.uid << " " << c.groups.size();
    }
}

TEST_F(SystemInfo, EditionKeepsItsValueWhenTheSystemNamesNone) {
    facts.files[platform::kOsReleaseFile] = "NAME=\"Fedora Linux\"\nVARIANT=\"Server Edition\"\n";
    EXPECT_EQ(modWinInfo::Get_Windows_Edition(), " Server Edition");
    facts.files[platform::kOsReleaseFile] = "NAME=\"Fedora Linux\"\n";
    EXPECT_EQ(modWinInfo::Get_Windows_Edition(), " Server Edition");
    facts.files.clear();
    modWinInfo::Get_Windows_Version();
    EXPECT_EQ(modWinInfo::WindowsEditionText, " Server Edition");
}

TEST_F(SystemInfo, ShellAndBrowserFacts) {
    modWinInfo::Set_Tray_Data_Size();
    EXPECT_EQ(modWinInfo::TrayDataSize, 504);
    EXPECT_TRUE(modWinInfo::Shell_Version_At_Least(6));
    EXPECT_FALSE(modWinInfo::Shell_Version_At_Least(7));
    EXPECT_EQ(modWinInfo::Get_IE_Ver(), "");
}

}  // namespace
