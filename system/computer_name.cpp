#include "system/computer_name.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "system/registry_path.h"
#include "system/restart_guard.h"

namespace hostconfig {

namespace {

constexpr uint32_t kNameSize = 90;
constexpr char kTcpipParameters[] =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\services\\Tcpip\\Parameters";

}  // namespace

bool ReadNameInForce(SystemInterface& system, std::string* name) {
  std::string received;
  if (!system.GetComputerName(kNameSize, &received)) return false;
  // Received into a buffer of 100 bytes: the text up to its first NUL.
  std::array<char, 100> buffer{};
  std::memcpy(buffer.data(), received.data(),
              std::min(received.size(), buffer.size() - 1));
  *name = buffer.data();
  return true;
}

bool NameInForceMatches(std::string_view in_force, std::string_view wanted,
                        const NameUpperCase& upper) {
  return upper(in_force) == upper(wanted);
}

RenameResult ApplyComputerName(SystemInterface& system,
                               const std::string& computer_name) {
  const NameUpperCase upper = [&system](std::string_view text) {
    return system.CharUpper(text);
  };
  RenameResult result;
  if (ReadNameInForce(system, &result.old_name) &&
      NameInForceMatches(result.old_name, computer_name, upper)) {
    ClearRestartRecord(system);
    return result;
  }
  bool renamed = system.SetComputerName(computer_name);
  if (!renamed) result.error = system.GetLastError();
  // Written whatever the rename gave, so the name is on record for the next
  // start even where the rename call is refused.
  WriteRegistryString(system, kTcpipParameters, "NV Hostname", computer_name);
  // Only a rename that took effect is worth a restart: a refused one would
  // restart the machine for nothing, at every run.
  if (!renamed) {
    result.outcome = RenameOutcome::kRefused;
    return result;
  }
  // Nor is one for a name that a restart already failed to put in force.
  const std::string restarted_for = ReadRestartRecord(system);
  result.outcome =
      !restarted_for.empty() &&
              NameInForceMatches(restarted_for, computer_name, upper)
          ? RenameOutcome::kNotApplied
          : RenameOutcome::kRenamed;
  return result;
}

RenameResult KeepNameNotConvertible(SystemInterface& system) {
  RenameResult result;
  ReadNameInForce(system, &result.old_name);
  result.outcome = RenameOutcome::kNotConvertible;
  return result;
}

}  // namespace hostconfig
