#include <gtest/gtest.h>

#include "app/run.h"
#include "tests/fake_machine.h"
#include "tests/test_files.h"

namespace hostconfig {
namespace {

const char kIni[] = "C:\\kits\\hostconfig.ini";
const char kBanner[] = "HostConfig v1.0 (x86)\r\n";
const char kDetecting[] = "Detecting ethernet adapter...\r\n";
const char kRenaming[] = "Modifying ComputerName...\r\n";
const char kConfiguring[] = "Modifying ethernet adapter config...\r\n";
const char kAddressCommand[] =
    "\"C:\\WINDOWS\\system32\\netsh.exe\" interface ipv4 set address "
    "\"Local Area Connection\" static 192.0.2.10 255.255.255.0 192.0.2.1";
const char kNvHostname[] =
    "RegSetValue HKEY_LOCAL_MACHINE\\SYSTEM\\CURRENTCONTROLSET\\SERVICES\\"
    "TCPIP\\PARAMETERS\\NV Hostname=";
const char kRestartRecord[] =
    "RegSetValue HKEY_LOCAL_MACHINE\\SOFTWARE\\HOSTCONFIG\\RestartedFor=";

// A machine with one Ethernet adapter holding a DHCPv6 address, and a
// settings file beside the executable.
class RunTest : public ::testing::Test {
 protected:
  RunTest() {
    FreshMachine();
    machine.version_major = 10;
    machine.version_minor = 0;
  }
  // A new machine with the one adapter, for each row of a table.
  void FreshMachine() {
    machine = FakeMachine();
    machine.AddAdapter(u"Local Area Connection", "0A1B2C3D4E5F", 6,
                       {{23, 3, 3}});
    machine.computer_name = "OLDNAME";
  }
  void Settings(const std::string& text) { machine.files[kIni] = text; }
  FakeMachine machine;
};

TEST_F(RunTest, CompleteRunRenamesConfiguresAndRestarts) {
  Settings(
      "Mask=255.255.255.0\r\nGateway=192.0.2.1\r\nDNS1=192.0.2.53\r\n"
      "DNS2=192.0.2.54\r\nREBOOT=1\r\n"
      "0A1B2C3D4E5F=lab-07,192.0.2.10\r\n");
  EXPECT_EQ(0, RunProgram(machine));
  EXPECT_EQ(std::string(kBanner) + kDetecting + kRenaming + kConfiguring,
            machine.StdoutText());
  EXPECT_TRUE(machine.message_boxes.empty());
  std::vector<std::string> expected = {
      "SetComputerName LAB-07",
      std::string(kNvHostname) + std::string("LAB-07\0", 7),
      std::string("CreateProcess ") + kAddressCommand,
      "CreateProcess \"C:\\WINDOWS\\system32\\netsh.exe\"  interface  ipv4  set  "
      "dns  \"Local Area Connection\"  static  192.0.2.53  primary",
      "CreateProcess \"C:\\WINDOWS\\system32\\netsh.exe\"  interface  ipv4  add  "
      "dns  \"Local Area Connection\"  192.0.2.54",
      std::string(kRestartRecord) + std::string("LAB-07\0", 7),
      "AdjustToken",
      "ExitWindows 6",
  };
  EXPECT_EQ(expected, machine.events);
}

TEST_F(RunTest, NoAdapterStopsBeforeTheSettingsFile) {
  machine.adapters.clear();
  machine.AddAdapter(u"Wi-Fi", "001122334455", 71, {{23, 3, 3}});
  machine.AddAdapter(u"Loopback", "000000000000", 24);
  machine.oem_code_page = 936;
  machine.module_path = "C:\\kits\\HostConfig.exe";
  machine.files["C:\\kits\\HostConfig.ini"] = "0A1B2C3D4E5F=LAB-07\r\n";
  EXPECT_EQ(0, RunProgram(machine));
  ASSERT_EQ(1u, machine.message_boxes.size());
  EXPECT_EQ("Hostconfig", machine.message_boxes[0].caption);
  EXPECT_EQ("\xCE\xB4\xD5\xD2\xB5\xBD\xCD\xF8\xC2\xE7\xCA\xCA\xC5\xE4\xC6\xF7\xA3\xA1",
            machine.message_boxes[0].text);
  EXPECT_EQ(std::string(kBanner) +
                "\xD5\xFD\xD4\xDA\xBC\xEC\xB2\xE2\xCD\xF8\xC2\xE7\xCA\xCA\xC5\xE4\xC6\xF7...\r\n",
            machine.StdoutText());
  EXPECT_EQ(0, machine.find_calls);
  EXPECT_EQ(0, machine.file_reads);
  EXPECT_TRUE(machine.events.empty());
}

// A machine with an adapter and an entry for it, whose adapter query fails:
// the run stops as on a machine without an adapter, before the settings
// file, and changes nothing. 126 and 127 are what the Windows build answers
// when the IP helper library or its GetAdaptersAddresses cannot be had.
TEST_F(RunTest, FailedAdapterQueryStopsAsWithoutAnAdapter) {
  struct Case {
    const char* name;
    uint32_t size_query_result;
    uint32_t fill_result;
  } cases[] = {
      {"IP helper library not loaded", 126, 0},
      {"GetAdaptersAddresses not in the library", 127, 0},
      {"size query finds no data", 232, 0},
      {"fill call fails", 111, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FreshMachine();
    machine.size_query_result = c.size_query_result;
    machine.fill_result = c.fill_result;
    Settings(
        "REBOOT=1\r\n"
        "0A1B2C3D4E5F=LAB-07,192.0.2.10,255.255.255.0,192.0.2.1\r\n");
    EXPECT_EQ(0, RunProgram(machine));
    ASSERT_EQ(1u, machine.message_boxes.size());
    EXPECT_EQ("hostconfig", machine.message_boxes[0].caption);
    EXPECT_EQ("No ethernet adapter!", machine.message_boxes[0].text);
    EXPECT_EQ(std::string(kBanner) + kDetecting, machine.StdoutText());
    EXPECT_EQ(0, machine.find_calls);
    EXPECT_EQ(0, machine.file_reads);
    EXPECT_TRUE(machine.events.empty());
  }
}

TEST_F(RunTest, PathsThroughTheRun) {
  struct Case {
    const char* name;
    const char* settings;
    bool set_name_ok;
    std::string stdout_after_detecting;
    bool no_setting_box;
    std::vector<std::string> events;
  } cases[] = {
      {"no entry: the box, nothing changed", "Mask=255.255.255.0\r\n", true, "",
       true, {}},
      {"entry without a name: the box", "0A1B2C3D4E5F=,192.0.2.10\r\n", true,
       "", true, {}},
      {"name already in force: no rename, no restart",
       "REBOOT=1\r\n0A1B2C3D4E5F=OldName\r\n", true, kRenaming, false, {}},
      {"rename without an address, no REBOOT",
       "0A1B2C3D4E5F=LAB-07,192.0.2.10,255.255.255.0\r\n", true, kRenaming,
       false,
       {"SetComputerName LAB-07",
        std::string(kNvHostname) + std::string("LAB-07\0", 7)}},
      {"address without rename, REBOOT ignored",
       "REBOOT=1\r\n0A1B2C3D4E5F=oldname,192.0.2.10,255.255.255.0,192.0.2.1\r\n",
       true, std::string(kRenaming) + kConfiguring, false,
       {std::string("CreateProcess ") + kAddressCommand}},
      {"rename refused: no restart even with REBOOT=1",
       "REBOOT=1\r\n0A1B2C3D4E5F=LAB-07\r\n", false, kRenaming, false,
       {"SetComputerName LAB-07",
        std::string(kNvHostname) + std::string("LAB-07\0", 7)}},
      {"REBOOT=0 after a rename: no restart",
       "REBOOT=0\r\n0A1B2C3D4E5F=LAB-07\r\n", true, kRenaming, false,
       {"SetComputerName LAB-07",
        std::string(kNvHostname) + std::string("LAB-07\0", 7)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FreshMachine();
    machine.set_name_ok = c.set_name_ok;
    Settings(c.settings);
    EXPECT_EQ(0, RunProgram(machine));
    EXPECT_EQ(std::string(kBanner) + kDetecting + c.stdout_after_detecting,
              machine.StdoutText());
    ASSERT_EQ(c.no_setting_box ? 1u : 0u, machine.message_boxes.size());
    if (c.no_setting_box) {
      EXPECT_EQ("No valid setting!", machine.message_boxes[0].text);
    }
    EXPECT_EQ(c.events, machine.events);
  }
}

// A name that the ANSI code page cannot hold ("?" or a look-alike after the
// conversion) is never passed to the system: no rename, no "NV Hostname",
// no restart; the address phase runs as always.
TEST_F(RunTest, NameTheCodePageCannotHoldIsNeverPassedOn) {
  const std::string address =
      ",192.0.2.10,255.255.255.0,192.0.2.1 ; \xE0\xB8\x81\r\n";
  const std::string command = std::string("CreateProcess ") + kAddressCommand;
  const std::string renamed_to_cafe = "SetComputerName CAF\xE9-01";
  struct Case {
    const char* name;
    std::string settings;
    std::string stdout_after_detecting;
    std::vector<std::string> events;
  } cases[] = {
      {"Thai name in UTF-8 without a mark",
       "REBOOT=1\r\n0A1B2C3D4E5F=\xE0\xB8\x81\xE0\xB8\x82-01" + address,
       std::string(kRenaming) + kConfiguring, {command}},
      {"Thai name in UTF-16LE, no address",
       Utf16LeFile(u"REBOOT=1\r\n0A1B2C3D4E5F=\x0E01\x0E02"), kRenaming, {}},
      {"look-alike for a letter the code page lacks",
       "REBOOT=1\r\n0A1B2C3D4E5F=c\xC3\xA1" "fe-01" + address,
       std::string(kRenaming) + kConfiguring, {command}},
      {"letter the code page holds: renamed and restarted",
       "REBOOT=1\r\n0A1B2C3D4E5F=caf\xC3\xA9-01" + address,
       std::string(kRenaming) + kConfiguring,
       {renamed_to_cafe, std::string(kNvHostname) + "CAF\xE9-01" + '\0', command,
        std::string(kRestartRecord) + "CAF\xE9-01" + '\0', "AdjustToken",
        "ExitWindows 6"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FreshMachine();
    machine.version_major = 10;
    machine.version_minor = 0;
    machine.ansi_extra[u'\x00E9'] = "\xE9";
    machine.ansi_best_fit[u'\x00E1'] = "a";
    Settings(c.settings);
    EXPECT_EQ(0, RunProgram(machine));
    EXPECT_EQ(std::string(kBanner) + kDetecting + c.stdout_after_detecting,
              machine.StdoutText());
    EXPECT_TRUE(machine.message_boxes.empty());
    EXPECT_EQ(c.events, machine.events);
  }
}

// Runs one after another on one machine, as at successive starts, with
// REBOOT=1. Each step gives the name in force at that start and the entry's
// name, and what the run must do: set the name, request the restart, and
// which name the restart record holds afterwards. The console and the exit
// code are those of every rename.
TEST_F(RunTest, RestartsOnceForANameThatIsNotPutInForce) {
  struct Step {
    const char* in_force;
    const char* entry_name;
    bool sets_name;
    bool restarts;
    const char* record_after;  // nullptr: no record
  };
  struct Case {
    const char* name;
    bool upper_e_acute;  // the system upper-cases \xE9 to \xC9
    std::vector<Step> steps;
  } cases[] = {
      {"name never put in force: one restart, then none",
       false,
       {{"OLDNAME", "lab-07", true, true, "LAB-07"},
        {"OLDNAME", "lab-07", true, false, "LAB-07"},
        {"OLDNAME", "lab-07", true, false, "LAB-07"}}},
      {"name in force after the restart: the record goes",
       false,
       {{"OLDNAME", "lab-07", true, true, "LAB-07"},
        {"LAB-07", "lab-07", false, false, nullptr},
        {"LAB-07", "lab-07", false, false, nullptr}}},
      {"entry changed: one more restart, then none",
       false,
       {{"OLDNAME", "lab-07", true, true, "LAB-07"},
        {"OLDNAME", "lab-07", true, false, "LAB-07"},
        {"OLDNAME", "lab-08", true, true, "LAB-08"},
        {"OLDNAME", "lab-08", true, false, "LAB-08"}}},
      {"name in force in another case, beyond ASCII",
       true,
       {{"LAB-\xC9", "lab-\xE9", false, false, nullptr}}},
      {"the same names where the system keeps the case of \xE9",
       false,
       {{"LAB-\xC9", "lab-\xE9", true, true, "LAB-\xE9"},
        {"LAB-\xC9", "lab-\xE9", true, false, "LAB-\xE9"}}},
      {"name put in force in upper case after the restart",
       true,
       {{"OLDNAME", "lab-\xE9", true, true, "LAB-\xE9"},
        {"LAB-\xC9", "lab-\xE9", false, false, nullptr}}},
  };
  for (const Case& c : cases) {
    FreshMachine();
    if (c.upper_e_acute) machine.upper_extra = {{"\xE9", "\xC9"}};
    int number = 0;
    for (const Step& step : c.steps) {
      SCOPED_TRACE(std::string(c.name) + ", run " + std::to_string(++number));
      machine.computer_name = step.in_force;
      Settings("REBOOT=1\r\n0A1B2C3D4E5F=" + std::string(step.entry_name) +
               "\r\n");
      machine.events.clear();
      machine.stdout_writes.clear();
      EXPECT_EQ(0, RunProgram(machine));
      EXPECT_EQ(std::string(kBanner) + kDetecting + kRenaming,
                machine.StdoutText());
      bool set_name = false, restarted = false;
      for (const std::string& event : machine.events) {
        if (event.starts_with("SetComputerName ")) set_name = true;
        if (event.starts_with("ExitWindows ")) restarted = true;
      }
      EXPECT_EQ(step.sets_name, set_name);
      EXPECT_EQ(step.restarts, restarted);
      const FakeMachine::RegValue* record = machine.FindRegistryValue(
          "HKEY_LOCAL_MACHINE\\SOFTWARE\\hostconfig", "RestartedFor");
      if (step.record_after == nullptr) {
        EXPECT_EQ(nullptr, record);
      } else {
        ASSERT_NE(nullptr, record);
        EXPECT_EQ(kRegSz, record->type);
        EXPECT_EQ(std::string(step.record_after) + std::string(1, '\0'),
                  record->data);
      }
    }
  }
}

// An adapter whose name the ANSI code page cannot hold: from Windows 6.0 on
// the commands name it by its interface index; the console is unchanged.
TEST_F(RunTest, AdapterNameTheCodePageLacksIsNamedByItsIndex) {
  struct Case {
    const char* name;
    std::u16string adapter;
    uint32_t major, minor;
    std::string context;
    std::string named;  // what the commands name the adapter by
  } cases[] = {
      {"Thai name on 10.0", u"lan-\x0E01", 10, 0, "ipv4", "17"},
      {"Thai name on 6.0", u"lan-\x0E01", 6, 0, "ipv4", "17"},
      {"Thai name on 5.2: as before", u"lan-\x0E01", 5, 2, "ip", "lan-?"},
      {"name the code page holds", u"lan-\x4E2D", 10, 0, "ipv4",
       "lan-\xD6\xD0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine fresh;
    machine = fresh;
    machine.ansi_extra[u'\x4E2D'] = "\xD6\xD0";
    machine.AddAdapter(c.adapter, "0A1B2C3D4E5F", 6, {{23, 3, 3}});
    machine.adapters.back().if_index = 17;
    machine.computer_name = "LAB-07";
    machine.version_major = c.major;
    machine.version_minor = c.minor;
    Settings("DNS1=192.0.2.53\r\nDNS2=192.0.2.54\r\n"
             "0A1B2C3D4E5F=LAB-07,192.0.2.10,255.255.255.0,192.0.2.1\r\n");
    EXPECT_EQ(0, RunProgram(machine));
    EXPECT_EQ(std::string(kBanner) + kDetecting + kRenaming + kConfiguring,
              machine.StdoutText());
    EXPECT_TRUE(machine.message_boxes.empty());
    const std::string netsh = "CreateProcess \"C:\\WINDOWS\\system32\\netsh.exe\"";
    std::vector<std::string> expected = {
        netsh + " interface " + c.context + " set address \"" + c.named +
            "\" static 192.0.2.10 255.255.255.0 192.0.2.1",
        netsh + "  interface  " + c.context + "  set  dns  \"" + c.named +
            "\"  static  192.0.2.53  primary",
        netsh + "  interface  " + c.context + "  add  dns  \"" + c.named +
            "\"  192.0.2.54",
    };
    EXPECT_EQ(expected, machine.events);
  }
}

TEST_F(RunTest, SettingsFileThatCannotBeOpenedEndsWithTheFailureReport) {
  machine.locked_files.insert(kIni);
  EXPECT_EQ(1, RunProgram(machine));
  std::string out = machine.StdoutText();
  std::string head = std::string(kBanner) + kDetecting +
                     "Exception EFOpenError in module hostconfig.exe at ";
  ASSERT_EQ(head, out.substr(0, head.size()));
  std::string tail = ".\nCannot open file C:\\kits\\hostconfig.ini.\r\n";
  ASSERT_EQ(head.size() + 8 + tail.size(), out.size());
  EXPECT_EQ(tail, out.substr(head.size() + 8));
  for (char c : out.substr(head.size(), 8))
    EXPECT_TRUE(isxdigit(static_cast<unsigned char>(c)) && !islower(c)) << out;
  EXPECT_TRUE(machine.message_boxes.empty());
  EXPECT_TRUE(machine.events.empty());
}

TEST_F(RunTest, UnusableStandardOutputEndsAtTheBanner) {
  struct Case {
    const char* name;
    StdoutKind kind;
    uint32_t write_error;
  } cases[] = {
      {"no standard output", StdoutKind::kNone, 0},
      {"unknown kind", StdoutKind::kUnknown, 0},
      {"console that refuses writes", StdoutKind::kCharacterDevice, 112},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine fresh;
    fresh.AddAdapter(u"LAN", "0A1B2C3D4E5F", 6);
    fresh.stdout_kind = c.kind;
    fresh.write_error = c.write_error;
    fresh.files[kIni] = "0A1B2C3D4E5F=LAB-07\r\n";
    EXPECT_EQ(1, RunProgram(fresh));
    EXPECT_EQ(0, fresh.adapter_calls);
    EXPECT_TRUE(fresh.message_boxes.empty());
    EXPECT_TRUE(fresh.stdout_writes.empty());
  }
}

TEST_F(RunTest, RedirectedRunWritesItsLinesAtTheEnd) {
  Settings("0A1B2C3D4E5F=LAB-07,192.0.2.10,255.255.255.0,192.0.2.1\r\n");
  machine.stdout_kind = StdoutKind::kPipe;
  EXPECT_EQ(0, RunProgram(machine));
  ASSERT_EQ(1u, machine.stdout_writes.size());
  EXPECT_EQ(119u, machine.stdout_writes[0].size());
}

}  // namespace
}  // namespace hostconfig
