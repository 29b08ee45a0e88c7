// The values a run passes from phase to phase.
//
// Each starts empty, is written by one phase and read by that phase or later
// ones. The run owns them all; nothing is released before the run ends.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/console.h"
#include "app/messages.h"
#include "os/system_interface.h"

namespace hostconfig {

// The six fields of this machine's entry, after the defaults.
struct MachineRecordFields {
  std::string ComputerName;
  std::string IpAddress;
  std::string SubnetMask;
  std::string GatewayAddress;
  std::string PrimaryDns;
  std::string SecondaryDns;
};

struct Run {
  explicit Run(SystemInterface& system) : System(system) {}

  SystemInterface& System;

  // Standard output, taken into use by the first console line.
  ConsoleOutput Console;

  // Start-up.
  const MessageTableTexts* MessageTable = nullptr;
  std::string DecimalChar;
  double WindowsVersion = 0.0;
  std::array<char, 100> TextBuffer{};

  // Discovery.
  std::vector<std::string> AdapterNames;
  std::vector<std::string> AdapterMacs;
  std::string PrimaryAdapterName;
  std::string PrimaryMac;

  // Global defaults.
  std::string SettingsPath;
  std::string DefaultMask;
  std::string DefaultGateway;
  std::string DefaultDns1;
  std::string DefaultDns2;

  // Record.
  std::string DashedMac;
  MachineRecordFields MachineRecord;

  // Rename, address, restart.
  bool NameChanged = false;
  std::string CommandText;
  std::string RestartSetting;
};

}  // namespace hostconfig
