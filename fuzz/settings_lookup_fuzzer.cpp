// Settings bytes in, then every lookup a run makes: the four global keys,
// this machine's entry by plain and dashed MAC, "REBOOT"; then the whole run
// over the same file. Each lookup is compared with a plain model of the file
// format written line by line, and the run with what that model says the
// run must change.
//
// Every lookup also gives the same line with and without the pre-check that
// passes over lines which cannot match, under two comparisons: ASCII case
// folding, and one that also ignores "-" and "'" as the locale comparison's
// word sort weighs them lightly (digits count in both).
//
// Input: byte 0 chooses the lead-byte table (none, GBK, Big5) and whether
// the name in force already equals the entry's; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/run.h"
#include "fuzz/fuzz_check.h"
#include "settings/machine_record.h"
#include "settings/settings_file.h"
#include "settings/settings_text.h"
#include "tests/fake_machine.h"
#include "util/ascii.h"

namespace hostconfig {
namespace {

constexpr char kModulePath[] = "C:\\kits\\hostconfig.exe";
constexpr char kSettingsPath[] = "C:\\kits\\hostconfig.ini";
constexpr char kMac[] = "0A1B2C3D4E5F";

// The lines of the text: split at CR, LF or CR LF, ending at a zero byte.
// With starts, the offset of each line in the text.
std::vector<std::string> ModelLines(std::string_view text,
                                    std::vector<size_t>* starts = nullptr) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < text.size()) {
    size_t end = text.find_first_of("\r\n", i);
    if (end == std::string_view::npos) end = text.size();
    if (starts != nullptr) starts->push_back(i);
    lines.emplace_back(text.substr(i, end - i));
    i = end;
    if (i < text.size() && text[i] == '\r') ++i;
    if (i < text.size() && text[i] == '\n') ++i;
  }
  return lines;
}

std::string ModelFirstValue(const std::vector<std::string>& lines,
                            std::string_view key) {
  for (const std::string& line : lines) {
    size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    if (EqualIgnoringAsciiCase(std::string_view(line).substr(0, equals), key))
      return line.substr(equals + 1);
  }
  return std::string();
}

std::string ModelRead(const std::vector<std::string>& lines,
                      std::string_view key) {
  std::string value = ModelFirstValue(lines, key);
  if (value.empty()) value = ModelFirstValue(lines, "\"" + std::string(key) + "\"");
  return value;
}

// The offset in the text of the value ModelRead gives (found the same way).
size_t ModelReadOffset(const std::vector<std::string>& lines,
                       const std::vector<size_t>& starts, std::string_view key) {
  const std::string quoted = "\"" + std::string(key) + "\"";
  for (std::string_view wanted : {key, std::string_view(quoted)}) {
    for (size_t i = 0; i < lines.size(); ++i) {
      size_t equals = lines[i].find('=');
      if (equals == std::string::npos) continue;
      if (!EqualIgnoringAsciiCase(std::string_view(lines[i]).substr(0, equals),
                                  wanted))
        continue;
      if (lines[i].size() > equals + 1 || wanted != key)
        return starts[i] + equals + 1;
      break;  // the first plain line is empty: the quoted key's turn
    }
  }
  return 0;
}

// Whether a character that the conversion lost stands in the name, which
// starts after the value's leading bytes <= 0x20.
bool ModelNameLossy(const DecodedText& decoded, std::string_view value,
                    size_t value_offset, size_t name_length) {
  size_t begin = value_offset;
  for (char c : value) {
    if (static_cast<unsigned char>(c) > 0x20) break;
    ++begin;
  }
  for (const LossyChar& c : decoded.lossy) {
    if (name_length > 0 && c.offset < begin + name_length &&
        begin < c.offset + c.length)
      return true;
  }
  return false;
}

// A position holds a second byte when the lead bytes directly before it are
// odd in number.
bool ModelIsTrail(std::string_view text, size_t pos, const LeadBytes& lead) {
  size_t run = 0;
  while (run < pos && lead[static_cast<unsigned char>(text[pos - run - 1])]) ++run;
  return run % 2 == 1;
}

std::string ModelReplacePair(std::string_view text, char first, char second,
                             char to, const LeadBytes& lead) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == first && i + 1 < text.size() && text[i + 1] == second &&
        !ModelIsTrail(text, i, lead)) {
      out += to;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string ModelTrim(std::string_view text) {
  auto control = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!text.empty() && control(text.front())) text.remove_prefix(1);
  while (!text.empty() && control(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string ModelClean(std::string_view raw, const LeadBytes& lead) {
  std::string value = ModelReplacePair(raw, '\xA3', '\xBB', ';', lead);
  value = value.substr(0, value.find(';'));
  return ModelTrim(value);
}

MachineRecordFields ModelSplit(std::string_view entry, const LeadBytes& lead) {
  std::string text = ModelReplacePair(entry, '\xA3', '\xAC', ',', lead);
  std::string fields[6];
  size_t start = 0;
  for (int i = 0; i < 6; ++i) {
    size_t comma = text.find(',', start);
    fields[i] = ModelTrim(std::string_view(text).substr(
        start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  for (char& c : fields[0]) c = UpperAscii(c);
  return MachineRecordFields{fields[0], fields[1], fields[2],
                             fields[3], fields[4], fields[5]};
}

void CheckRecord(const MachineRecordFields& actual,
                 const MachineRecordFields& expected) {
  FUZZ_CHECK_EQ(actual.ComputerName, expected.ComputerName);
  FUZZ_CHECK_EQ(actual.IpAddress, expected.IpAddress);
  FUZZ_CHECK_EQ(actual.SubnetMask, expected.SubnetMask);
  FUZZ_CHECK_EQ(actual.GatewayAddress, expected.GatewayAddress);
  FUZZ_CHECK_EQ(actual.PrimaryDns, expected.PrimaryDns);
  FUZZ_CHECK_EQ(actual.SecondaryDns, expected.SecondaryDns);
}

void UseLeadTable(FakeMachine& machine, int table) {
  if (table == 1) machine.UseGbkLeadBytes();
  if (table == 2) machine.UseBig5LeadBytes();
}

// Without "-" and "'", ASCII letters folded.
std::string WordSortKey(std::string_view text) {
  std::string key;
  for (char c : text)
    if (c != '-' && c != '\'') key += UpperAscii(c);
  return key;
}

bool SameInWordSort(std::string_view a, std::string_view b) {
  return WordSortKey(a) == WordSortKey(b);
}

void CheckPrecheck(std::string_view text) {
  std::vector<std::string> keys = {"Mask", "Gateway", "DNS1", "DNS2", "REBOOT",
                                   "LogFile", kMac, DashedMacFor(kMac)};
  // The key texts of the first lines, whatever their bytes.
  const std::vector<std::string> lines = ModelLines(text);
  for (size_t i = 0; i < lines.size() && i < 3; ++i)
    keys.push_back(lines[i].substr(0, lines[i].find('=')));
  for (const KeyComparison& equal :
       {KeyComparison(EqualIgnoringAsciiCase), KeyComparison(SameInWordSort)}) {
    for (const std::string& key : keys) {
      const KeyMatch with = FindKeyInText(equal, text, key, true);
      const KeyMatch without = FindKeyInText(equal, text, key, false);
      FUZZ_CHECK_EQ(with.found, without.found);
      FUZZ_CHECK_EQ(with.line_start, without.line_start);
      FUZZ_CHECK(with.value == without.value);
    }
  }
}

}  // namespace
}  // namespace hostconfig

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace hostconfig;
  if (size < 1) return 0;
  const int table = data[0] % 3;
  const bool name_in_force = (data[0] / 3) % 2 == 1;
  const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);

  // The lookups, one by one, against the model.
  FakeMachine machine;
  UseLeadTable(machine, table);
  machine.module_path = kModulePath;
  machine.files[kSettingsPath] = file;
  const LeadBytes lead = machine.lead_bytes;
  const DecodedText decoded = DecodeSettingsFile(SystemTextRules(machine), file);
  std::vector<size_t> starts;
  const std::vector<std::string> lines = ModelLines(decoded.text, &starts);
  CheckPrecheck(decoded.text);

  const std::string settings_path = SettingsPathOf(machine);
  FUZZ_CHECK_EQ(settings_path, std::string(kSettingsPath));
  const GlobalDefaults defaults = ReadGlobalDefaults(machine, settings_path);
  FUZZ_CHECK_EQ(defaults.DefaultMask, ModelClean(ModelRead(lines, "Mask"), lead));
  FUZZ_CHECK_EQ(defaults.DefaultGateway, ModelClean(ModelRead(lines, "Gateway"), lead));
  FUZZ_CHECK_EQ(defaults.DefaultDns1, ModelClean(ModelRead(lines, "DNS1"), lead));
  FUZZ_CHECK_EQ(defaults.DefaultDns2, ModelClean(ModelRead(lines, "DNS2"), lead));

  std::string entry_key = kMac;
  std::string entry = ModelClean(ModelRead(lines, entry_key), lead);
  if (entry.empty()) {
    entry_key = "0A-1B-2C-3D-4E-5F";
    entry = ModelClean(ModelRead(lines, entry_key), lead);
  }
  MachineRecordFields expected = ModelSplit(entry, lead);
  const bool name_lossy = ModelNameLossy(
      decoded, ModelRead(lines, entry_key),
      ModelReadOffset(lines, starts, entry_key), expected.ComputerName.size());
  bool record_name_lossy = !name_lossy;
  const MachineRecordFields record = ReadMachineRecord(
      machine, settings_path, kMac, defaults, &record_name_lossy);
  if (expected.SubnetMask.empty()) expected.SubnetMask = defaults.DefaultMask;
  if (expected.GatewayAddress.empty()) expected.GatewayAddress = defaults.DefaultGateway;
  if (expected.PrimaryDns.empty()) expected.PrimaryDns = defaults.DefaultDns1;
  if (expected.SecondaryDns.empty()) expected.SecondaryDns = defaults.DefaultDns2;
  CheckRecord(record, expected);
  FUZZ_CHECK_EQ(record_name_lossy, name_lossy);

  const std::string reboot = ModelClean(ModelRead(lines, "REBOOT"), lead);
  FUZZ_CHECK_EQ(ReadCleanSetting(machine, kSettingsPath, "REBOOT"), reboot);
  FUZZ_CHECK(machine.events.empty());
  FUZZ_CHECK_EQ(machine.files[kSettingsPath], file);

  // The whole run over the same file: it never fails, and it changes the
  // machine exactly as the entry says.
  FakeMachine whole;
  UseLeadTable(whole, table);
  whole.module_path = kModulePath;
  whole.files[kSettingsPath] = file;
  whole.AddAdapter(u"Local Area Connection", kMac);
  if (name_in_force) whole.computer_name = expected.ComputerName;
  FUZZ_CHECK_EQ(RunProgram(whole), 0);
  FUZZ_CHECK_EQ(whole.files[kSettingsPath], file);
  if (expected.ComputerName.empty()) {
    FUZZ_CHECK(whole.events.empty());
    FUZZ_CHECK_EQ(whole.message_boxes.size(), 1ul);
    return 0;
  }
  FUZZ_CHECK(whole.message_boxes.empty());
  // A name in force that equals the entry's is kept (names too long for the
  // system's query are renamed all the same); a name that the conversion
  // changed is never passed on, and every other name is.
  const bool renamed = !whole.events.empty() &&
                       whole.events.front().rfind("SetComputerName ", 0) == 0;
  if (name_lossy || (name_in_force && expected.ComputerName.size() < 64))
    FUZZ_CHECK(!renamed);
  if (!name_lossy && !name_in_force && expected.ComputerName != "OLDNAME")
    FUZZ_CHECK(renamed);
  size_t commands = 0;
  if (!expected.IpAddress.empty() && !expected.SubnetMask.empty() &&
      !expected.GatewayAddress.empty()) {
    commands = 1;
    if (!expected.PrimaryDns.empty()) commands += expected.SecondaryDns.empty() ? 1 : 2;
  }
  FUZZ_CHECK_EQ(whole.launches.size(), commands);
  const bool restart = renamed && !reboot.empty() && reboot[0] == '1';
  FUZZ_CHECK_EQ(whole.exit_windows_flags.size(), restart ? 1ul : 0ul);
  if (renamed) {
    FUZZ_CHECK_EQ(whole.events.front(), "SetComputerName " + expected.ComputerName);
  } else {
    FUZZ_CHECK_EQ(whole.events.size(), commands);
  }
  return 0;
}
