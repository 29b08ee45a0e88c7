#include "system/computer_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/fake_machine.h"

namespace hostconfig {
namespace {

constexpr char kParameters[] =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\services\\Tcpip\\Parameters";

TEST(ApplyComputerName, RenamesOnlyWhenTheNamesDiffer) {
  struct Case {
    const char* name;
    const char* in_force;
    bool get_ok;
    bool set_ok;
    std::string wanted;
    bool renames;       // SetComputerName and "NV Hostname" take place
    bool name_changed;  // a restart may follow
  } cases[] = {
      {"same name", "PC-042", true, true, "PC-042", false, false},
      {"other name", "OLDNAME", true, true, "PC-042", true, true},
      {"differs in letter case only", "pc-042", true, true, "PC-042", true, true},
      {"name in force has a trailing space", "PC-042 ", true, true, "PC-042", true, true},
      {"wanted name is a prefix", "PC-0421", true, true, "PC-042", true, true},
      {"name in force unreadable", "PC-042", false, true, "PC-042", true, true},
      // A refused rename still records the name, but asks for no restart.
      {"rename refused", "OLDNAME", true, false, "PC-042", true, false},
      {"name too long for the system", "OLDNAME", true, false,
       "A-NAME-LONGER-THAN-FIFTEEN", true, false},
      {"double-byte name", "OLDNAME", true, true, "\xB2\xE2\xCA\xD4", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m;
    m.computer_name = c.in_force;
    m.get_name_ok = c.get_ok;
    m.set_name_ok = c.set_ok;
    const bool name_changed = ApplyComputerName(m, c.wanted).NameChanged();

    EXPECT_EQ(90u, m.last_name_size);
    EXPECT_EQ(c.name_changed, name_changed);
    std::vector<std::string> events;
    if (c.renames) {
      // The system call first, then the registry value.
      events = {"SetComputerName " + c.wanted,
                "RegSetValue HKEY_LOCAL_MACHINE\\SYSTEM\\CURRENTCONTROLSET\\"
                "SERVICES\\TCPIP\\PARAMETERS\\NV Hostname=" +
                    c.wanted + std::string(1, '\0')};
      const FakeMachine::RegValue* value = m.FindRegistryValue(kParameters, "NV Hostname");
      ASSERT_NE(nullptr, value);
      EXPECT_EQ(kRegSz, value->type);
      EXPECT_EQ(c.wanted + std::string(1, '\0'), value->data);
    }
    EXPECT_EQ(events, m.events);
    EXPECT_EQ(0, m.open_keys);
  }
}

}  // namespace
}  // namespace hostconfig
