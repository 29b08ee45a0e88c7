#include "checker/checker.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <ostream>
#include <unordered_map>

#include "app/run_state.h"
#include "checker/checker_system.h"
#include "settings/machine_record.h"
#include "settings/settings_file.h"
#include "system/address_commands.h"

namespace hostconfig {

namespace {

constexpr std::array<std::string_view, 5> kGlobalKeys = {
    "Mask", "Gateway", "DNS1", "DNS2", "REBOOT"};
constexpr size_t kMask = 0, kGateway = 1, kDns1 = 2, kDns2 = 3, kReboot = 4;

// Longest computer name, in bytes of the ANSI code page.
constexpr size_t kMaxNameBytes = 15;
// ASCII characters that a computer name may not hold, besides space and the
// control bytes. "," and ";" cannot reach a name: they end its field.
constexpr std::string_view kBadNameChars = "\\/:*?\"<>|~!@#$%^&'.(){}_=+[]`";

// Above this many lines, machine entries are no longer cross-checked against
// the tool's own scan, which would cost a scan of the file per entry.
constexpr size_t kCrossCheckLines = 20000;

std::string Quote(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = UpperAscii(c);
  return out;
}

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') ||
         (c >= 'a' && c <= 'f');
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsAlnum(char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string Trimmed(std::string_view text) {
  std::string out(text);
  TrimControl(out);
  return out;
}

// The MAC text of a key written exactly as the tool can find it: 12 hex
// digits or six pairs joined by "-". Empty otherwise.
std::string MacOfKey(std::string_view key) {
  std::string mac;
  if (key.size() == 12) {
    for (char c : key) {
      if (!IsHex(c)) return {};
    }
    return UpperAscii(key);
  }
  if (key.size() == 17) {
    for (size_t i = 0; i < key.size(); ++i) {
      if (i % 3 == 2 ? key[i] != '-' : !IsHex(key[i])) return {};
      if (i % 3 != 2) mac += UpperAscii(key[i]);
    }
    return mac;
  }
  return {};
}

size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t above = row[j];
      size_t cost = UpperAscii(a[i - 1]) == UpperAscii(b[j - 1]) ? 0 : 1;
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + cost});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::optional<uint32_t> ParseIpv4(std::string_view text) {
  uint32_t address = 0;
  size_t pos = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (pos >= text.size() || text[pos] != '.') return std::nullopt;
      ++pos;
    }
    size_t start = pos;
    uint32_t value = 0;
    while (pos < text.size() && IsDigit(text[pos]) && pos - start < 3) {
      value = value * 10 + static_cast<uint32_t>(text[pos] - '0');
      ++pos;
    }
    if (pos == start || value > 255) return std::nullopt;
    address = (address << 8) | value;
  }
  if (pos != text.size()) return std::nullopt;
  return address;
}

bool ParseIpv4(std::string_view text, uint32_t* address) {
  std::optional<uint32_t> parsed = ParseIpv4(text);
  *address = parsed.value_or(0);
  return parsed.has_value();
}

std::string Ipv4Text(uint32_t address) {
  return std::to_string(address >> 24) + "." +
         std::to_string((address >> 16) & 0xFF) + "." +
         std::to_string((address >> 8) & 0xFF) + "." +
         std::to_string(address & 0xFF);
}

int PrefixLength(uint32_t mask) {
  int bits = 0;
  while (bits < 32 && (mask & (0x80000000u >> bits)) != 0) ++bits;
  return bits;
}

bool IsContiguousMask(uint32_t mask) {
  int bits = PrefixLength(mask);
  uint32_t expected = bits == 0 ? 0 : 0xFFFFFFFFu << (32 - bits);
  return mask == expected;
}

struct Line {
  size_t number = 0;
  std::string_view text;
  bool has_equals = false;
  std::string_view key;    // before the first "="
  std::string_view value;  // after it, raw
};

// Where the tool's lookup of one key lands.
struct Located {
  std::optional<size_t> line;  // index into the lines
  std::string raw;
};

class SettingsView {
 public:
  SettingsView(SystemInterface& system, std::string_view text)
      : system_(system), text_(text), lead_(system.AnsiLeadBytes()) {
    std::vector<std::string_view> split = SplitSettingsLines(text);
    lines_.reserve(split.size());
    for (size_t i = 0; i < split.size(); ++i) {
      Line line;
      line.number = i + 1;
      line.text = split[i];
      size_t equals = split[i].find('=');
      if (equals != std::string_view::npos) {
        line.has_equals = true;
        line.key = split[i].substr(0, equals);
        line.value = split[i].substr(equals + 1);
        by_key_[UpperAscii(line.key)].push_back(i);
      }
      lines_.push_back(line);
    }
  }

  const std::vector<Line>& lines() const { return lines_; }
  const LeadBytes& lead() const { return lead_; }
  SystemInterface& system() { return system_; }

  // The line that the tool's lookup of `key` takes its raw value from: the
  // first line with the plain key and a value, else the first with the key in
  // double quotes, else the first plain line with an empty value.
  Located Locate(std::string_view key, bool cross_check) {
    std::optional<size_t> plain_empty;
    std::optional<size_t> plain = First(key, /*need_value=*/true, &plain_empty);
    Located found;
    if (plain) {
      found.line = plain;
    } else {
      std::optional<size_t> unused;
      found.line = First(Quote(key), /*need_value=*/false, &unused);
      if (!found.line) found.line = plain_empty;
    }
    if (found.line) found.raw = lines_[*found.line].value;
    if (cross_check) {
      // The tool's own scan must give the same value.
      std::string tool_raw;
      FindKeyInText(system_, text_, key, &tool_raw);
      if (tool_raw != found.raw) mismatches_.push_back(std::string(key));
    }
    return found;
  }

  std::string Clean(std::string_view raw) const {
    std::string value(raw);
    CleanSettingValue(value, lead_);
    return value;
  }

  // Keys whose located value differed from the tool's scan.
  const std::vector<std::string>& mismatches() const { return mismatches_; }

 private:
  std::optional<size_t> First(std::string_view key, bool need_value,
                              std::optional<size_t>* first_empty) {
    auto it = by_key_.find(UpperAscii(key));
    if (it == by_key_.end()) return std::nullopt;
    for (size_t index : it->second) {
      if (!system_.CompareStringIgnoreCase(lines_[index].key, key)) continue;
      if (!need_value || !lines_[index].value.empty()) return index;
      if (!*first_empty) *first_empty = index;
    }
    return std::nullopt;
  }

  SystemInterface& system_;
  std::string_view text_;
  LeadBytes lead_;
  std::vector<Line> lines_;
  std::unordered_map<std::string, std::vector<size_t>> by_key_;
  std::vector<std::string> mismatches_;
};

// The lookup of ReadMachineRecord: the plain MAC, then the dashed one when the
// plain value cleans to nothing.
struct MachineLookup {
  std::optional<size_t> used;     // the line whose value the run takes
  std::optional<size_t> landing;  // where the lookup stopped, used or not
  std::string cleaned;
};

MachineLookup LookUpMachine(SettingsView& view, std::string_view mac,
                            bool cross_check) {
  MachineLookup result;
  Located plain = view.Locate(mac, cross_check);
  result.landing = plain.line;
  result.cleaned = view.Clean(plain.raw);
  if (!result.cleaned.empty()) {
    result.used = plain.line;
    return result;
  }
  Located dashed = view.Locate(DashedMacFor(mac), cross_check);
  if (!result.landing) result.landing = dashed.line;
  result.cleaned = view.Clean(dashed.raw);
  if (!result.cleaned.empty()) result.used = dashed.line;
  return result;
}

class Findings {
 public:
  void Error(size_t line, std::string text) {
    items_.push_back({line, true, std::move(text)});
  }
  void Warning(size_t line, std::string text) {
    items_.push_back({line, false, std::move(text)});
  }
  std::vector<Finding> Sorted() {
    std::stable_sort(items_.begin(), items_.end(),
                     [](const Finding& a, const Finding& b) {
                       return a.line < b.line;
                     });
    return std::move(items_);
  }

 private:
  std::vector<Finding> items_;
};

// Why a key that looks like a MAC address is not one the tool can find, or
// empty when it does not look like one.
std::string WhyNeverMatches(std::string_view key) {
  std::string trimmed = Trimmed(key);
  bool spaced = trimmed.size() != key.size();
  std::string_view inner = trimmed;
  bool open = inner.starts_with('"');
  if (open) inner.remove_prefix(1);
  bool close = inner.ends_with('"');
  if (close) inner.remove_suffix(1);
  std::string digits;
  int other_letters = 0;
  bool colons = false;
  for (char c : inner) {
    if (IsAlnum(c)) {
      digits += c;
      if (!IsHex(c)) ++other_letters;
    } else if (c == ':') {
      colons = true;
    } else if (c != '-' && c != '.' && c != ' ' && c != '\t') {
      return {};
    }
  }
  bool any_digit = std::any_of(digits.begin(), digits.end(), IsDigit);
  if (digits.size() < 10 || digits.size() > 14 || !any_digit ||
      other_letters > 2) {
    return {};
  }
  if (spaced) {
    return "space before \"=\" or at the start of the line: this entry never "
           "matches";
  }
  if (open != close) return "unbalanced double quote: this entry never matches";
  if (colons) {
    return "colons in the MAC address: this entry never matches (write "
           "0A1B2C3D4E5F or 0A-1B-2C-3D-4E-5F)";
  }
  if (digits.size() != 12) {
    return "the MAC address has " + std::to_string(digits.size()) +
           " digits, not 12: this entry never matches";
  }
  for (char c : digits) {
    if (!IsHex(c)) {
      return Quote(std::string(1, c)) +
             " is not a hexadecimal digit: this entry never matches";
    }
  }
  return "write the MAC address as 12 digits or as six pairs joined by "
         "\"-\": this entry never matches";
}

// A computer name's first fault, or empty.
std::string NameFault(std::string_view name) {
  if (name.size() > kMaxNameBytes) {
    return "computer name " + Quote(name) + " is " +
           std::to_string(name.size()) + " bytes long; at most 15 are allowed";
  }
  for (char c : name) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F || kBadNameChars.find(c) != std::string_view::npos) {
      std::string shown = byte == ' ' ? "a space"
                          : byte < 0x20 || byte == 0x7F ? "a control character"
                                                        : Quote(std::string(1, c));
      return "computer name " + Quote(name) + " holds " + shown +
             ", which a computer name may not hold";
    }
  }
  if (std::all_of(name.begin(), name.end(), IsDigit)) {
    return "computer name " + Quote(name) + " is only digits";
  }
  return {};
}

struct GlobalValue {
  std::optional<size_t> line;  // the line used
  std::string value;           // cleaned
  bool valid = true;           // an address that parses (when not empty)
};

struct Machine {
  std::string mac;
  std::vector<size_t> lines;  // every line with this MAC as its key
};

}  // namespace

std::vector<std::string_view> SplitSettingsLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t pos = 0;
  std::string_view line;
  while (NextSettingsLine(text, &pos, &line)) lines.push_back(line);
  return lines;
}

std::vector<Finding> CheckSettingsText(SystemInterface& system,
                                       std::string_view text) {
  Findings findings;
  SettingsView view(system, text);
  const std::vector<Line>& lines = view.lines();
  bool cross_check_machines = lines.size() <= kCrossCheckLines;

  // A zero byte hides the rest of the file from the tool.
  size_t zero = text.find('\0');
  if (zero != std::string_view::npos &&
      text.find_first_not_of(std::string_view("\0\r\n \t", 5), zero) !=
          std::string_view::npos) {
    bool line_start = zero == 0 || text[zero - 1] == '\r' || text[zero - 1] == '\n';
    findings.Warning(lines.size() + (line_start ? 1 : 0),
                     "a zero byte: the tool reads nothing after it");
  }

  // Each line by itself.
  std::vector<std::vector<size_t>> global_lines(kGlobalKeys.size());
  std::vector<Machine> machines;
  std::map<std::string, size_t> machine_index;
  for (size_t i = 0; i < lines.size(); ++i) {
    const Line& line = lines[i];
    std::string trimmed = Trimmed(line.text);
    if (trimmed.empty() || trimmed.starts_with(';') ||
        trimmed.starts_with("\xA3\xBB")) {
      continue;  // blank or a comment
    }
    if (!line.has_equals) {
      if (!(trimmed.starts_with('[') && trimmed.ends_with(']'))) {
        findings.Warning(line.number,
                         "line without \"=\" is ignored (not a [header] or a "
                         "; comment)");
      }
      continue;
    }
    bool global = false;
    for (size_t k = 0; k < kGlobalKeys.size() && !global; ++k) {
      if (system.CompareStringIgnoreCase(line.key, kGlobalKeys[k]) ||
          system.CompareStringIgnoreCase(line.key, Quote(kGlobalKeys[k]))) {
        global_lines[k].push_back(i);
        global = true;
      }
    }
    if (global) continue;
    std::string_view key = line.key;
    if (key.size() >= 2 && key.starts_with('"') && key.ends_with('"')) {
      key = key.substr(1, key.size() - 2);
    }
    std::string mac = MacOfKey(key);
    if (!mac.empty()) {
      auto [it, added] = machine_index.emplace(mac, machines.size());
      if (added) machines.push_back({mac, {}});
      machines[it->second].lines.push_back(i);
      continue;
    }
    std::string why = WhyNeverMatches(line.key);
    if (!why.empty()) {
      findings.Error(line.number, Quote(line.key) + ": " + why);
      continue;
    }
    std::string bare = Trimmed(line.key);
    std::string_view spaced, closest;
    size_t best = 3;
    for (std::string_view known : kGlobalKeys) {
      if (bare != line.key && system.CompareStringIgnoreCase(bare, known)) {
        spaced = known;
      }
      size_t distance = line.key.size() <= known.size() + 2
                            ? EditDistance(line.key, known)
                            : best;
      if (distance < best) {
        best = distance;
        closest = known;
      }
    }
    if (!spaced.empty()) {
      findings.Warning(line.number,
                       "key " + Quote(line.key) + " is ignored: a space "
                       "before \"=\" or at the start of the line is part of "
                       "the key (did you mean " + Quote(spaced) + "?)");
    } else if (!closest.empty()) {
      findings.Warning(line.number, "unknown key " + Quote(line.key) +
                                        " is ignored; did you mean " +
                                        Quote(closest) + "?");
    }
  }

  // The global keys, as the run reads them.
  std::array<GlobalValue, kGlobalKeys.size()> globals;
  for (size_t k = 0; k < kGlobalKeys.size(); ++k) {
    Located located = view.Locate(kGlobalKeys[k], /*cross_check=*/true);
    GlobalValue& global = globals[k];
    global.line = located.line;
    global.value = view.Clean(located.raw);
    for (size_t index : global_lines[k]) {
      if (located.line && index != *located.line) {
        findings.Warning(lines[index].number,
                         Quote(kGlobalKeys[k]) + " is given more than once: "
                         "line " + std::to_string(lines[*located.line].number) +
                         " is the one used");
      }
    }
    if (global.value.empty() || !global.line) continue;
    size_t number = lines[*global.line].number;
    if (k == kReboot) {
      if (global.value[0] != '0' && global.value[0] != '1') {
        findings.Warning(number, "\"REBOOT\" is " + Quote(global.value) +
                                     ": only a value that begins with 1 "
                                     "restarts, so this one never does");
      }
      continue;
    }
    std::optional<uint32_t> address = ParseIpv4(global.value);
    global.valid = address.has_value();
    if (!address) {
      findings.Error(number, Quote(kGlobalKeys[k]) + " " +
                                 Quote(global.value) +
                                 " is not a valid IPv4 address");
    } else if (k == kMask && !IsContiguousMask(*address)) {
      findings.Error(number, "\"Mask\" " + global.value +
                                 " is not a valid mask: its bits are not "
                                 "contiguous");
      global.valid = false;
    } else if (k == kMask && *address == 0) {
      findings.Error(number, "\"Mask\" 0.0.0.0 is not a valid mask");
      global.valid = false;
    }
  }

  // The machine entries, each as the run on that machine would find it.
  std::map<std::string, size_t> names;      // computer name -> line number
  std::map<std::string, size_t> addresses;  // address -> line number
  for (const Machine& machine : machines) {
    MachineLookup lookup = LookUpMachine(view, machine.mac, cross_check_machines);
    for (size_t index : machine.lines) {
      if (lookup.used == index) continue;
      if (view.Clean(lines[index].value).empty()) continue;  // nothing lost
      size_t first = lines[lookup.used      ? *lookup.used
                           : lookup.landing ? *lookup.landing
                                            : machine.lines.front()]
                         .number;
      findings.Error(lines[index].number,
                     "another entry for MAC " + machine.mac + " (line " +
                         std::to_string(first) +
                         ") comes first: this one is never used");
    }
    std::optional<size_t> at = lookup.used ? lookup.used : lookup.landing;
    if (!at) at = machine.lines.front();
    size_t number = lines[*at].number;
    MachineRecordFields fields = SplitMachineEntry(lookup.cleaned, view.lead());
    if (fields.ComputerName.empty()) {
      findings.Error(number, "the entry for MAC " + machine.mac +
                                 " gives no computer name: the run stops with "
                                 "\"No valid setting!\"");
      continue;
    }
    std::string fault = NameFault(fields.ComputerName);
    if (!fault.empty()) findings.Error(number, fault);
    auto [name_it, new_name] = names.emplace(fields.ComputerName, number);
    if (!new_name) {
      findings.Error(number, "computer name " + Quote(fields.ComputerName) +
                                 " is also given on line " +
                                 std::to_string(name_it->second));
    }

    // The entry's own values.
    struct Field {
      const std::string& value;
      std::string_view label;
    };
    const Field own[] = {{fields.IpAddress, "address"},
                         {fields.SubnetMask, "mask"},
                         {fields.GatewayAddress, "gateway"},
                         {fields.PrimaryDns, "DNS server"},
                         {fields.SecondaryDns, "second DNS server"}};
    bool own_valid[5] = {true, true, true, true, true};
    for (size_t f = 0; f < 5; ++f) {
      if (own[f].value.empty()) continue;
      std::optional<uint32_t> parsed = ParseIpv4(own[f].value);
      if (!parsed) {
        findings.Error(number, std::string(own[f].label) + " " +
                                   Quote(own[f].value) +
                                   " is not a valid IPv4 address");
        own_valid[f] = false;
      } else if (f == 1 && !IsContiguousMask(*parsed)) {
        findings.Error(number, "mask " + own[f].value +
                                   " is not a valid mask: its bits are not "
                                   "contiguous");
        own_valid[f] = false;
      } else if (f == 1 && *parsed == 0) {
        findings.Error(number, "mask 0.0.0.0 is not a valid mask");
        own_valid[f] = false;
      }
    }
    if (fields.IpAddress.empty()) {
      if (!fields.SubnetMask.empty() || !fields.GatewayAddress.empty() ||
          !fields.PrimaryDns.empty() || !fields.SecondaryDns.empty()) {
        findings.Warning(number,
                         "no address is given, so this entry's mask, gateway "
                         "and DNS servers are never set");
      }
      continue;
    }

    // After the defaults, as the address phase sees them.
    auto after_default = [&](const std::string& value, size_t key,
                             bool valid) -> std::pair<std::string, bool> {
      if (!value.empty()) return {value, valid};
      return {globals[key].value, globals[key].valid};
    };
    auto [mask, mask_ok] = after_default(fields.SubnetMask, kMask, own_valid[1]);
    auto [gateway, gateway_ok] =
        after_default(fields.GatewayAddress, kGateway, own_valid[2]);
    std::string dns1 = fields.PrimaryDns.empty() ? globals[kDns1].value
                                                 : fields.PrimaryDns;
    std::string dns2 = fields.SecondaryDns.empty() ? globals[kDns2].value
                                                   : fields.SecondaryDns;
    if (mask.empty() || gateway.empty()) {
      std::string missing = mask.empty() && gateway.empty()
                                ? "no mask and no gateway (and neither \"Mask\" "
                                  "nor \"Gateway\" gives one)"
                            : mask.empty() ? "no mask (and \"Mask\" gives none)"
                                           : "no gateway (and \"Gateway\" gives "
                                             "none)";
      findings.Error(number, "address " + fields.IpAddress + " has " + missing +
                                 ": the run sets no address and no DNS "
                                 "servers, without a word");
    } else if (dns1.empty() && !dns2.empty()) {
      findings.Warning(number, "second DNS server " + dns2 +
                                   " without a first one is never set");
    }
    auto [address_it, new_address] = addresses.emplace(fields.IpAddress, number);
    if (!new_address) {
      findings.Error(number, "address " + fields.IpAddress +
                                 " is also given on line " +
                                 std::to_string(address_it->second));
    }
    uint32_t ip = 0, bits = 0, gw = 0;
    if (!ParseIpv4(fields.IpAddress, &ip) || !mask_ok ||
        !ParseIpv4(mask, &bits) || bits == 0) {
      continue;
    }
    uint32_t network = ip & bits;
    uint32_t broadcast = network | ~bits;
    std::string subnet = Ipv4Text(network) + "/" +
                         std::to_string(PrefixLength(bits));
    if (PrefixLength(bits) <= 30) {
      if (ip == network) {
        findings.Error(number, "address " + fields.IpAddress +
                                   " is the network address of subnet " + subnet);
      } else if (ip == broadcast) {
        findings.Error(number, "address " + fields.IpAddress +
                                   " is the broadcast address of subnet " +
                                   subnet);
      }
    }
    if (gateway_ok && ParseIpv4(gateway, &gw) && (gw & bits) != network) {
      findings.Error(number, "gateway " + gateway + " is outside subnet " +
                                 subnet + " of address " + fields.IpAddress);
    }
  }

  for (const std::string& key : view.mismatches()) {
    findings.Error(0, "internal: the checker and the tool disagree on key " +
                          Quote(key) + "; please report this file");
  }
  return findings.Sorted();
}

std::string NormalizeMacArgument(std::string_view text) {
  std::string mac = MacOfKey(text);
  if (!mac.empty() || text.size() != 17) return mac;
  std::string dashed(text);
  std::replace(dashed.begin(), dashed.end(), ':', '-');
  return MacOfKey(dashed);
}

int WritePreview(SystemInterface& system, std::string_view text,
                 const PreviewRequest& request, std::ostream& out) {
  SettingsView view(system, text);
  const std::vector<Line>& lines = view.lines();
  out << "Preview for MAC " << request.mac << ", adapter \"" << request.adapter
      << "\", Windows " << request.windows_version_text
      << " (nothing is changed)\n";

  MachineLookup lookup = LookUpMachine(view, request.mac, /*cross_check=*/true);
  MachineRecordFields fields = SplitMachineEntry(lookup.cleaned, view.lead());
  if (lookup.used) {
    out << "Entry: line " << lines[*lookup.used].number << ": "
        << lines[*lookup.used].text << "\n";
  } else if (lookup.landing) {
    out << "Entry: line " << lines[*lookup.landing].number << ": "
        << lines[*lookup.landing].text << " (gives nothing)\n";
  } else {
    out << "Entry: none for " << request.mac << " or "
        << DashedMacFor(request.mac) << "\n";
  }
  if (fields.ComputerName.empty()) {
    out << "The run stops with \"No valid setting!\": it changes nothing.\n";
    return 1;
  }

  // The defaults, as ReadGlobalDefaults and ReadMachineRecord apply them.
  struct Slot {
    std::string_view name;
    std::string* field;
    std::optional<size_t> key;
  };
  Slot slots[] = {{"ComputerName", &fields.ComputerName, std::nullopt},
                  {"IpAddress", &fields.IpAddress, std::nullopt},
                  {"SubnetMask", &fields.SubnetMask, kMask},
                  {"GatewayAddress", &fields.GatewayAddress, kGateway},
                  {"PrimaryDns", &fields.PrimaryDns, kDns1},
                  {"SecondaryDns", &fields.SecondaryDns, kDns2}};
  for (Slot& slot : slots) {
    std::string note;
    if (slot.field->empty() && slot.key) {
      Located global = view.Locate(kGlobalKeys[*slot.key], true);
      *slot.field = view.Clean(global.raw);
      if (!slot.field->empty()) {
        note = " (default \"" + std::string(kGlobalKeys[*slot.key]) +
               "\", line " + std::to_string(lines[*global.line].number) + ")";
      }
    }
    out << "  " << slot.name << ":" << std::string(16 - slot.name.size(), ' ')
        << (slot.field->empty() ? "(empty)" : *slot.field) << note << "\n";
  }

  bool renames = !request.current_name || *request.current_name != fields.ComputerName;
  if (!request.current_name) {
    out << "Rename: to " << fields.ComputerName << ", unless already named "
        << fields.ComputerName << " (exact bytes, case counts)\n";
  } else if (renames) {
    out << "Rename: yes, from " << *request.current_name << " to "
        << fields.ComputerName << "\n";
  } else {
    out << "Rename: no, already named " << fields.ComputerName << "\n";
  }
  Located reboot = view.Locate("REBOOT", true);
  std::string reboot_value = view.Clean(reboot.raw);
  std::string reboot_note =
      reboot.line ? "\"REBOOT\" is \"" + reboot_value + "\", line " +
                        std::to_string(lines[*reboot.line].number)
                  : "no \"REBOOT\"";
  bool restarts = !reboot_value.empty() && reboot_value[0] == '1';
  if (!renames) {
    out << "Restart: no (nothing renamed)\n";
  } else if (!restarts) {
    out << "Restart: no (" << reboot_note << ")\n";
  } else {
    out << "Restart: yes, forced" << (request.current_name ? "" : ", if renamed")
        << " (" << reboot_note << ")\n";
  }

  if (fields.IpAddress.empty() || fields.SubnetMask.empty() ||
      fields.GatewayAddress.empty()) {
    out << "Commands: none (IpAddress, SubnetMask and GatewayAddress must all "
           "be set)\n";
    return 0;
  }
  out << "Commands, in order, as passed before %WinDir% is expanded:\n";
  for (const std::string& command :
       BuildAddressCommands(fields, request.adapter, request.windows_version)) {
    out << "  " << command << "\n";
  }
  return 0;
}

namespace {

constexpr std::string_view kUsage =
    "usage: hostconfig-check [--code-page N] FILE\n"
    "       hostconfig-check [--code-page N] FILE --mac XXXXXXXXXXXX\n"
    "                        [--adapter NAME] [--version N.N] [--name CURRENT]\n"
    "\n"
    "Checks a hostconfig settings file as the tool reads it and lists\n"
    "findings as FILE:LINE: error|warning: text, then a summary.\n"
    "With --mac, previews that machine's run instead: its entry, its six\n"
    "fields after the defaults, the rename, the restart and the network\n"
    "shell command lines (adapter default \"Local Area Connection\", Windows\n"
    "version default 10.0; without --name the rename is conditional).\n"
    "Nothing is ever changed.\n"
    "\n"
    "--code-page: the code page of the file's bytes (936, 950, 1252, ...);\n"
    "default: the system's ANSI code page on Windows, 936 elsewhere. A file\n"
    "with a UTF-8 or UTF-16 mark is converted to it; outside Windows only\n"
    "ASCII converts, every other character becomes \"?\".\n"
    "\n"
    "Exit code: 0 no error, 1 errors (or, with --mac, a run that would stop),\n"
    "2 the file cannot be read or the arguments are wrong.\n";

bool ParseVersion(std::string_view text, double* version) {
  // N or N.N..., decimal digits only.
  size_t dot = text.find('.');
  std::string_view whole = text.substr(0, dot);
  std::string_view part =
      dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
  if (whole.empty() || (dot != std::string_view::npos && part.empty()))
    return false;
  double value = 0, scale = 1;
  for (char c : whole) {
    if (!IsDigit(c)) return false;
    value = value * 10 + (c - '0');
  }
  for (char c : part) {
    if (!IsDigit(c)) return false;
    scale /= 10;
    value += (c - '0') * scale;
  }
  *version = value;
  return true;
}

int Usage(std::ostream& err, std::string_view problem) {
  err << "hostconfig-check: " << problem << "\n" << kUsage;
  return 2;
}

}  // namespace

int RunChecker(const std::vector<std::string>& args, std::ostream& out,
               std::ostream& err) {
  std::optional<std::string> file, mac, adapter, version, name, code_page;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-h" || arg == "--help" || arg == "/?") {
      out << kUsage;
      return 0;
    }
    std::optional<std::string>* option = arg == "--mac"         ? &mac
                                         : arg == "--adapter"   ? &adapter
                                         : arg == "--version"   ? &version
                                         : arg == "--name"      ? &name
                                         : arg == "--code-page" ? &code_page
                                                                : nullptr;
    if (option) {
      if (i + 1 >= args.size()) return Usage(err, arg + " needs a value");
      if (option->has_value()) return Usage(err, arg + " is given twice");
      *option = args[++i];
    } else if (arg.starts_with("--")) {
      return Usage(err, "unknown option " + arg);
    } else if (file) {
      return Usage(err, "more than one file: " + arg);
    } else {
      file = arg;
    }
  }
  if (!file) return Usage(err, "no settings file given");
  if (!mac && (adapter || version || name)) {
    return Usage(err, "--adapter, --version and --name need --mac");
  }
  uint32_t cp = DefaultCodePage();
  if (code_page) {
    char* end = nullptr;
    unsigned long parsed = std::strtoul(code_page->c_str(), &end, 10);
    if (code_page->empty() || *end != '\0' ||
        !IsKnownCodePage(static_cast<uint32_t>(parsed))) {
      return Usage(err, "unknown code page " + *code_page);
    }
    cp = static_cast<uint32_t>(parsed);
  }
  PreviewRequest request;
  if (mac) {
    request.mac = NormalizeMacArgument(*mac);
    if (request.mac.empty()) {
      return Usage(err, "--mac " + *mac + " is not 12 hexadecimal digits");
    }
    if (adapter) request.adapter = *adapter;
    if (version) {
      if (!ParseVersion(*version, &request.windows_version)) {
        return Usage(err, "--version " + *version + " is not a number N.N");
      }
      request.windows_version_text = *version;
    }
    request.current_name = name;
  }

  CheckerSystem system(cp);
  FileProbe probe = system.FindFirstFile(*file);
  std::string bytes;
  if (!probe.found || probe.directory || !system.ReadWholeFile(*file, &bytes)) {
    err << "hostconfig-check: " << *file << ": "
        << (!probe.found ? "no such file"
            : probe.directory ? "is a directory"
                              : "cannot be read")
        << "\n";
    return 2;
  }
  std::string text = DecodeSettingsText(system, std::move(bytes));

  if (mac) return WritePreview(system, text, request, out);

  std::vector<Finding> findings = CheckSettingsText(system, text);
  if (system.unconverted_characters() > 0) {
    findings.insert(findings.begin(),
                    Finding{1, false,
                            "characters of this marked file that code page " +
                                std::to_string(cp) +
                                " lacks in this checker became \"?\"; names "
                                "holding them are not checked reliably"});
  }
  int errors = 0, warnings = 0;
  for (const Finding& finding : findings) {
    out << *file << ":" << finding.line << ": "
        << (finding.error ? "error" : "warning") << ": " << finding.text << "\n";
    ++(finding.error ? errors : warnings);
  }
  out << errors << (errors == 1 ? " error, " : " errors, ") << warnings
      << (warnings == 1 ? " warning\n" : " warnings\n");
  return errors > 0 ? 1 : 0;
}

}  // namespace hostconfig
