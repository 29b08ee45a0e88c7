#include "checker/settings_view.h"

#include <algorithm>
#include <cstdio>

#include "settings/machine_record.h"
#include "util/ascii.h"

namespace hostconfig {

std::vector<std::string_view> SplitSettingsLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t pos = 0;
  std::string_view line;
  while (NextSettingsLine(text, &pos, &line)) lines.push_back(line);
  return lines;
}

std::string MacOfKey(std::string_view key) {
  std::string mac;
  if (key.size() == 12) {
    if (!std::all_of(key.begin(), key.end(), IsHexDigit)) return {};
    return UpperAscii(key);
  }
  if (key.size() == 17) {
    for (size_t i = 0; i < key.size(); ++i) {
      if (i % 3 == 2 ? key[i] != '-' : !IsHexDigit(key[i])) return {};
      if (i % 3 != 2) mac += UpperAscii(key[i]);
    }
    return mac;
  }
  return {};
}

SettingsView::SettingsView(const TextRules& rules, std::string_view text)
    : rules_(rules), text_(text) {
  size_t pos = 0;
  std::string_view text_line;
  while (true) {
    Line line;
    line.start = pos;
    if (!NextSettingsLine(text, &pos, &text_line)) break;
    line.number = lines_.size() + 1;
    line.text = text_line;
    size_t equals = text_line.find('=');
    if (equals != std::string_view::npos) {
      line.has_equals = true;
      line.key = text_line.substr(0, equals);
      line.value = text_line.substr(equals + 1);
    }
    lines_.push_back(line);
  }
}

void SettingsView::Prefetch(const std::vector<std::string>& keys) {
  std::vector<std::string_view> views(keys.begin(), keys.end());
  std::vector<KeyMatch> matches =
      FindKeysInText(rules_.keys_equal, text_, views, /*precheck=*/true);
  for (size_t i = 0; i < keys.size(); ++i) found_[keys[i]] = matches[i];
}

Located SettingsView::Locate(std::string_view key) {
  auto known = found_.find(std::string(key));
  if (known != found_.end()) return ToLocated(known->second);
  KeyMatch match = FindKeyInText(rules_.keys_equal, text_, key);
  found_[std::string(key)] = match;
  return ToLocated(match);
}

Located SettingsView::ToLocated(const KeyMatch& match) const {
  Located located;
  if (!match.found) return located;
  auto at = std::lower_bound(
      lines_.begin(), lines_.end(), match.line_start,
      [](const Line& line, size_t start) { return line.start < start; });
  located.line = static_cast<size_t>(at - lines_.begin());
  located.raw = std::string(match.value);
  return located;
}

std::string SettingsView::Clean(std::string_view raw) const {
  std::string value(raw);
  CleanSettingValue(value, rules_.lead);
  return value;
}

MachineLookup LookUpMachine(SettingsView& view, std::string_view mac) {
  MachineLookup result;
  result.cleaned = LookUpMachineEntry(mac, [&](std::string_view key) {
    Located located = view.Locate(key);
    std::string cleaned = view.Clean(located.raw);
    if (!result.landing) result.landing = located.line;
    if (!cleaned.empty()) result.used = located.line;
    return cleaned;
  });
  return result;
}

GlobalDefaults ViewDefaults(SettingsView& view) {
  GlobalDefaults defaults;
  defaults.DefaultMask = view.Clean(view.Locate(kMaskKey).raw);
  defaults.DefaultGateway = view.Clean(view.Locate(kGatewayKey).raw);
  defaults.DefaultDns1 = view.Clean(view.Locate(kDns1Key).raw);
  defaults.DefaultDns2 = view.Clean(view.Locate(kDns2Key).raw);
  return defaults;
}

std::vector<LossyChar> LossyCharsOfEntryName(const SettingsView& view,
                                             const MachineLookup& lookup,
                                             size_t name_length,
                                             const Conversion& conversion) {
  if (!lookup.used || conversion.lossy.empty()) return {};
  const std::string_view value = view.lines()[*lookup.used].value;
  const size_t start = static_cast<size_t>(value.data() - view.text().data());
  return LossyCharsIn(conversion.lossy, start + NameOffsetInEntry(value),
                      name_length);
}

std::string CodePointList(const std::vector<LossyChar>& chars) {
  std::string list;
  std::vector<char32_t> shown;
  for (const LossyChar& c : chars) {
    if (std::find(shown.begin(), shown.end(), c.code) != shown.end()) continue;
    shown.push_back(c.code);
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c.code));
    list += (list.empty() ? "" : " ") + std::string(text);
  }
  return list;
}

}  // namespace hostconfig
