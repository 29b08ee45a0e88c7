#include "checker/entry_checks.h"

#include <algorithm>
#include <optional>

#include "checker/ipv4.h"
#include "settings/machine_record.h"
#include "settings/settings_text.h"
#include "util/ascii.h"

namespace hostconfig {

namespace {

// Longest computer name, in bytes of the ANSI code page.
constexpr size_t kMaxNameBytes = 15;
// ASCII characters that a computer name may not hold, besides space and the
// control bytes. "," and ";" cannot reach a name: they end its field.
constexpr std::string_view kBadNameChars = "\\/:*?\"<>|~!@#$%^&'.(){}_=+[]`";

}  // namespace

std::string Quote(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

std::string Trimmed(std::string_view text) {
  std::string out(text);
  TrimControl(out);
  return out;
}

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
    if (IsAsciiAlnum(c)) {
      digits += c;
      if (!IsHexDigit(c)) ++other_letters;
    } else if (c == ':') {
      colons = true;
    } else if (c != '-' && c != '.' && c != ' ' && c != '\t') {
      return {};
    }
  }
  bool any_digit = std::any_of(digits.begin(), digits.end(), IsAsciiDigit);
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
    if (!IsHexDigit(c)) {
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
    if (byte <= 0x20 || byte == 0x7F ||
        kBadNameChars.find(c) != std::string_view::npos) {
      std::string shown = byte == ' ' ? "a space"
                          : byte < 0x20 || byte == 0x7F ? "a control character"
                                                        : Quote(std::string(1, c));
      return "computer name " + Quote(name) + " holds " + shown +
             ", which a computer name may not hold";
    }
  }
  if (std::all_of(name.begin(), name.end(), IsAsciiDigit)) {
    return "computer name " + Quote(name) + " is only digits";
  }
  return {};
}

// The entry's own address fields, before the defaults.
std::string AddressFault(std::string_view label, const std::string& value,
                         bool is_mask) {
  std::optional<uint32_t> parsed = ParseIpv4(value);
  if (!parsed)
    return std::string(label) + " " + Quote(value) + " is not a valid IPv4 address";
  if (is_mask && !IsContiguousMask(*parsed)) {
    return std::string(label) + " " + value +
           " is not a valid mask: its bits are not contiguous";
  }
  if (is_mask && *parsed == 0)
    return std::string(label) + " 0.0.0.0 is not a valid mask";
  return {};
}

void CheckOwnFields(const MachineRecordFields& fields, size_t number,
                    FindingList& findings) {
  struct Field {
    const std::string& value;
    std::string_view label;
  };
  const Field own[] = {{fields.IpAddress, "address"},
                       {fields.SubnetMask, "mask"},
                       {fields.GatewayAddress, "gateway"},
                       {fields.PrimaryDns, "DNS server"},
                       {fields.SecondaryDns, "second DNS server"}};
  for (const Field& field : own) {
    if (field.value.empty()) continue;
    std::string fault = AddressFault(field.label, field.value,
                                     &field.value == &fields.SubnetMask);
    if (!fault.empty()) findings.Error(number, fault);
  }
}

// The address as the address phase sees it, after the defaults.
void CheckAddressAfterDefaults(const MachineRecordFields& filled,
                               size_t number, FindingList& findings) {
  if (!AddressComplete(filled)) {
    bool no_mask = filled.SubnetMask.empty();
    bool no_gateway = filled.GatewayAddress.empty();
    std::string missing =
        no_mask && no_gateway
            ? "no mask and no gateway (and neither \"Mask\" nor \"Gateway\" "
              "gives one)"
        : no_mask ? "no mask (and \"Mask\" gives none)"
                  : "no gateway (and \"Gateway\" gives none)";
    findings.Error(number, "address " + filled.IpAddress + " has " + missing +
                               ": the run sets no address and no DNS "
                               "servers, without a word");
  } else if (filled.PrimaryDns.empty() && !filled.SecondaryDns.empty()) {
    findings.Warning(number, "second DNS server " + filled.SecondaryDns +
                                 " without a first one is never set");
  }
}

// The address against its subnet, and the gateway too.
void CheckSubnet(const MachineRecordFields& filled, size_t number,
                 FindingList& findings) {
  std::optional<uint32_t> ip = ParseIpv4(filled.IpAddress);
  std::optional<uint32_t> bits = ParseIpv4(filled.SubnetMask);
  if (!ip || !bits || *bits == 0 || !IsContiguousMask(*bits)) return;
  uint32_t network = *ip & *bits;
  uint32_t broadcast = network | ~*bits;
  std::string subnet =
      Ipv4Text(network) + "/" + std::to_string(PrefixLength(*bits));
  if (PrefixLength(*bits) <= 30) {
    if (*ip == network) {
      findings.Error(number, "address " + filled.IpAddress +
                                 " is the network address of subnet " + subnet);
    } else if (*ip == broadcast) {
      findings.Error(number, "address " + filled.IpAddress +
                                 " is the broadcast address of subnet " +
                                 subnet);
    }
  }
  std::optional<uint32_t> gateway = ParseIpv4(filled.GatewayAddress);
  if (gateway && (*gateway & *bits) != network) {
    findings.Error(number, "gateway " + filled.GatewayAddress +
                               " is outside subnet " + subnet +
                               " of address " + filled.IpAddress);
  }
}

}  // namespace hostconfig
