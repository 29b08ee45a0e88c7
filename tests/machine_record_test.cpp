#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/failure.h"
#include "settings/machine_record.h"
#include "tests/fake_machine.h"

namespace hostconfig {
namespace {

const std::string kPath = "C:\\kits\\hostconfig.ini";

std::vector<std::string> Fields(const MachineRecordFields& r) {
  return {r.ComputerName, r.IpAddress,  r.SubnetMask,
          r.GatewayAddress, r.PrimaryDns, r.SecondaryDns};
}

TEST(DashedMac, DashBetweenBytePairs) {
  EXPECT_EQ("0A-1B-2C-3D-4E-5F", DashedMacFor("0A1B2C3D4E5F"));
  EXPECT_EQ("00-00-00-00-00-00", DashedMacFor("000000000000"));
}

// A machine whose primary adapter is 0A-1B-2C-3D-4E-5F, with global defaults
// already read.
class MachineRecordTest : public ::testing::Test {
 protected:
  MachineRecordTest() {
    machine_.UseGbkLeadBytes();
    defaults_.DefaultMask = "255.255.0.0";
    defaults_.DefaultGateway = "10.0.0.1";
    defaults_.DefaultDns1 = "10.0.0.53";
    defaults_.DefaultDns2 = "10.0.0.54";
  }
  std::vector<std::string> Read() {
    bool name_lossy = false;
    return Fields(
        ReadMachineRecord(machine_, kPath, kMac, defaults_, &name_lossy));
  }
  // The dashed MAC when the record's lookup asks for it, else empty.
  std::string DashedLookup() {
    std::string dashed;
    LookUpMachineEntry(kMac, [&](std::string_view key) {
      if (key != kMac) dashed = key;
      return ReadCleanSetting(machine_, kPath, key);
    });
    return dashed;
  }
  static constexpr char kMac[] = "0A1B2C3D4E5F";
  FakeMachine machine_;
  GlobalDefaults defaults_;
};

TEST_F(MachineRecordTest, FindsAndSplitsTheEntry) {
  struct Case {
    const char* name;
    std::string file;
    std::vector<std::string> fields;
    std::string dashed;
  } cases[] = {
      {"name only, defaults for the rest", "0A1B2C3D4E5F=lab-07",
       {"LAB-07", "", "255.255.0.0", "10.0.0.1", "10.0.0.53", "10.0.0.54"}, ""},
      {"four fields and a comment",
       "0A1B2C3D4E5F=lab-07, 192.0.2.10, 255.255.255.0, 192.0.2.1 ; desk",
       {"LAB-07", "192.0.2.10", "255.255.255.0", "192.0.2.1", "10.0.0.53",
        "10.0.0.54"},
       ""},
      {"all six fields, no defaults",
       "0a1b2c3d4e5f=PC1,192.0.2.10,255.255.255.0,192.0.2.1,192.0.2.53,192.0.2.54",
       {"PC1", "192.0.2.10", "255.255.255.0", "192.0.2.1", "192.0.2.53",
        "192.0.2.54"},
       ""},
      {"eight fields: the first six count",
       "0A1B2C3D4E5F=PC1,1.1.1.1,2.2.2.2,3.3.3.3,4.4.4.4,5.5.5.5,6.6.6.6,7.7.7.7",
       {"PC1", "1.1.1.1", "2.2.2.2", "3.3.3.3", "4.4.4.4", "5.5.5.5"}, ""},
      {"empty fifth field takes the default, sixth stays",
       "0A1B2C3D4E5F=LAB-07,192.0.2.10,255.255.255.0,192.0.2.1,,192.0.2.54",
       {"LAB-07", "192.0.2.10", "255.255.255.0", "192.0.2.1", "10.0.0.53",
        "192.0.2.54"},
       ""},
      {"fullwidth commas",
       "0A1B2C3D4E5F=LAB-07\xA3\xAC" "192.0.2.10\xA3\xAC" "255.255.255.0\xA3\xAC"
       "192.0.2.1",
       {"LAB-07", "192.0.2.10", "255.255.255.0", "192.0.2.1", "10.0.0.53",
        "10.0.0.54"},
       ""},
      {"mixed commas",
       "0A1B2C3D4E5F=LAB-07,192.0.2.10\xA3\xAC 255.255.255.0 ,\xA3\xAC" "192.0.2.53",
       {"LAB-07", "192.0.2.10", "255.255.255.0", "10.0.0.1", "192.0.2.53",
        "10.0.0.54"},
       ""},
      // B0 A3 and AC A1 are two characters: no fullwidth comma among them.
      {"trail byte A3 starts no comma", "0A1B2C3D4E5F=a\xB0\xA3\xAC\xA1,192.0.2.10",
       {"A\xB0\xA3\xAC\xA1", "192.0.2.10", "255.255.0.0", "10.0.0.1", "10.0.0.53",
        "10.0.0.54"},
       ""},
      {"empty first field", "0A1B2C3D4E5F=,192.0.2.10,255.255.255.0,192.0.2.1",
       {"", "192.0.2.10", "255.255.255.0", "192.0.2.1", "10.0.0.53", "10.0.0.54"},
       ""},
      {"comment removes later fields", "0A1B2C3D4E5F=LAB-07;192.0.2.10",
       {"LAB-07", "", "255.255.0.0", "10.0.0.1", "10.0.0.53", "10.0.0.54"}, ""},
      {"inner space stays, outer blanks go", "0A1B2C3D4E5F= \tlab 07\t , 192.0.2.10\t",
       {"LAB 07", "192.0.2.10", "255.255.0.0", "10.0.0.1", "10.0.0.53",
        "10.0.0.54"},
       ""},
      {"upper-casing is byte by byte, a to z only",
       "0A1B2C3D4E5F=\xD6\xD0lab\x81\x61-\xE9z",
       {"\xD6\xD0LAB\x81\x41-\xE9Z", "", "255.255.0.0", "10.0.0.1", "10.0.0.53",
        "10.0.0.54"},
       ""},
      {"quoted plain key", "\"0A1B2C3D4E5F\"=LAB-10",
       {"LAB-10", "", "255.255.0.0", "10.0.0.1", "10.0.0.53", "10.0.0.54"}, ""},
      {"dashed key in lower case", "0a-1b-2c-3d-4e-5f=LAB-08",
       {"LAB-08", "", "255.255.0.0", "10.0.0.1", "10.0.0.53", "10.0.0.54"},
       "0A-1B-2C-3D-4E-5F"},
      {"plain entry wins over an earlier dashed one",
       "0A-1B-2C-3D-4E-5F=DASHED\r\n0A1B2C3D4E5F=PLAIN",
       {"PLAIN", "", "255.255.0.0", "10.0.0.1", "10.0.0.53", "10.0.0.54"}, ""},
      {"plain value only a comment: dashed entry used",
       "0A1B2C3D4E5F=;moved to room 2\r\n0A-1B-2C-3D-4E-5F=LAB-09",
       {"LAB-09", "", "255.255.0.0", "10.0.0.1", "10.0.0.53", "10.0.0.54"},
       "0A-1B-2C-3D-4E-5F"},
      {"space before = and colons never found",
       "0A1B2C3D4E5F =LAB-07\r\n0A:1B:2C:3D:4E:5F=LAB-07",
       {"", "", "255.255.0.0", "10.0.0.1", "10.0.0.53", "10.0.0.54"},
       "0A-1B-2C-3D-4E-5F"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    machine_.files[kPath] = c.file;
    EXPECT_EQ(c.fields, Read());
    EXPECT_EQ(c.dashed, DashedLookup());
  }
}

TEST_F(MachineRecordTest, EmptyDefaultsLeaveFieldsEmpty) {
  defaults_ = GlobalDefaults{};
  machine_.files[kPath] = "0A1B2C3D4E5F=LAB-07,192.0.2.10";
  const std::vector<std::string> expected = {"LAB-07", "192.0.2.10", "", "", "", ""};
  EXPECT_EQ(expected, Read());
}

TEST_F(MachineRecordTest, NoFileGivesNoNameAfterBothLookups) {
  const std::vector<std::string> expected = {
      "", "", "255.255.0.0", "10.0.0.1", "10.0.0.53", "10.0.0.54"};
  EXPECT_EQ(expected, Read());
  EXPECT_EQ(2, machine_.find_calls);
  EXPECT_EQ("0A-1B-2C-3D-4E-5F", DashedLookup());
}

TEST_F(MachineRecordTest, LockedFileRaises) {
  machine_.locked_files.insert(kPath);
  EXPECT_THROW(Read(), Failure);
}

TEST(SplitMachineEntry, WithoutDoubleByteSupportEveryCommaPairCounts) {
  const MachineRecordFields fields =
      SplitMachineEntry("a\xB0\xA3\xAC\xA1" "b", LeadBytes{});
  EXPECT_EQ("A\xB0", fields.ComputerName);
  EXPECT_EQ("\xA1" "b", fields.IpAddress);
}

}  // namespace
}  // namespace hostconfig
