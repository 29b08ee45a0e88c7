#include "system/computer_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "system/restart_guard.h"
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
      // Windows ignores letter case in computer names.
      {"differs in letter case only", "pc-042", true, true, "PC-042", false, false},
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

// Names compare after upper-casing by the given rules: the fake system
// upper-cases ASCII and its upper_extra bytes, as CharUpperBuffA does the
// letters of its code page.
TEST(NameInForceMatches, IgnoresLetterCaseByTheSystemsRules) {
  struct Case {
    const char* name;
    std::string in_force;
    std::string wanted;
    bool with_upper_extra;  // the system upper-cases \xE9 to \xC9
    bool matches;
  } cases[] = {
      {"same bytes", "PC-042", "PC-042", false, true},
      {"ASCII case", "pc-042", "PC-042", false, true},
      {"ASCII case, mixed", "Pc-042", "pC-042", false, true},
      {"other name", "PC-043", "PC-042", false, false},
      {"trailing space", "PC-042 ", "PC-042", false, false},
      {"prefix", "PC-0421", "PC-042", false, false},
      {"e acute in either case", "PC-\xE9", "PC-\xC9", true, true},
      {"e acute, wanted lower", "PC-\xC9", "pc-\xE9", true, true},
      {"e acute where the system does not upper-case it", "PC-\xE9",
       "PC-\xC9", false, false},
      {"other letter beyond ASCII", "PC-\xE8", "PC-\xC9", true, false},
      {"empty in force", "", "PC-042", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m;
    if (c.with_upper_extra) m.upper_extra = {{"\xE9", "\xC9"}};
    const NameUpperCase upper = [&m](std::string_view text) {
      return m.CharUpper(text);
    };
    EXPECT_EQ(c.matches, NameInForceMatches(c.in_force, c.wanted, upper));
    EXPECT_EQ(c.matches, NameInForceMatches(c.wanted, c.in_force, upper));
  }
}

// With a restart record: a name that a restart was already requested for
// and that is still not in force is set again without asking for another
// restart; a name in force removes the record.
TEST(ApplyComputerName, HonoursTheRestartRecord) {
  const std::string kSet = "SetComputerName PC-\xC9";
  const std::string kNv =
      "RegSetValue HKEY_LOCAL_MACHINE\\SYSTEM\\CURRENTCONTROLSET\\"
      "SERVICES\\TCPIP\\PARAMETERS\\NV Hostname=PC-\xC9" + std::string(1, '\0');
  const std::string kDelete =
      "RegDeleteValue HKEY_LOCAL_MACHINE\\SOFTWARE\\HOSTCONFIG\\RestartedFor";
  struct Case {
    const char* name;
    const char* in_force;
    const char* record;  // nullptr: no record
    bool set_ok;
    RenameOutcome outcome;
    std::vector<std::string> events;
    bool record_stays;
  } cases[] = {
      {"no record: renamed", "OLDNAME", nullptr, true, RenameOutcome::kRenamed,
       {kSet, kNv}, false},
      {"record for this name: set again, not applied", "OLDNAME", "PC-\xC9",
       true, RenameOutcome::kNotApplied, {kSet, kNv}, true},
      {"record for this name in another case", "OLDNAME", "pc-\xE9", true,
       RenameOutcome::kNotApplied, {kSet, kNv}, true},
      {"record for another name: renamed", "OLDNAME", "PC-OTHER", true,
       RenameOutcome::kRenamed, {kSet, kNv}, true},
      {"empty record: renamed", "OLDNAME", "", true, RenameOutcome::kRenamed,
       {kSet, kNv}, true},
      {"record for this name, rename refused", "OLDNAME", "PC-\xC9", false,
       RenameOutcome::kRefused, {kSet, kNv}, true},
      {"name in force: the record goes", "PC-\xC9", "PC-\xC9", true,
       RenameOutcome::kUnchanged, {kDelete}, false},
      {"name in force in another case: the record goes", "pc-\xE9",
       "PC-\xC9", true, RenameOutcome::kUnchanged, {kDelete}, false},
      {"name in force, record for another name: it goes too", "PC-\xC9",
       "PC-OTHER", true, RenameOutcome::kUnchanged, {kDelete}, false},
      {"name in force, no record: nothing changes", "PC-\xC9", nullptr, true,
       RenameOutcome::kUnchanged, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine m;
    m.upper_extra = {{"\xE9", "\xC9"}};
    m.computer_name = c.in_force;
    m.set_name_ok = c.set_ok;
    if (c.record != nullptr)
      m.SetRegistryValue(kRestartGuardKey, kRestartGuardValue, kRegSz,
                         std::string(c.record) + std::string(1, '\0'));
    const RenameResult result = ApplyComputerName(m, "PC-\xC9");
    EXPECT_EQ(static_cast<int>(c.outcome), static_cast<int>(result.outcome));
    EXPECT_EQ(c.outcome == RenameOutcome::kRenamed, result.NameChanged());
    EXPECT_EQ(c.events, m.events);
    EXPECT_EQ(c.record_stays,
              m.FindRegistryValue(kRestartGuardKey, kRestartGuardValue) != nullptr);
    EXPECT_EQ(0, m.open_keys);
  }
}

}  // namespace
}  // namespace hostconfig
