#include "settings/settings_file.h"

#include "app/failure.h"
#include "app/run_state.h"

namespace hostconfig {

namespace {

bool IsLead(const LeadBytes& lead, char byte) {
  return lead[static_cast<unsigned char>(byte)];
}

}  // namespace

bool IsTrailByte(std::string_view text, size_t pos, const LeadBytes& lead) {
  size_t run = 0;
  while (pos > run && IsLead(lead, text[pos - run - 1])) ++run;
  return run % 2 == 1;
}

void ReplaceDoubleByte(std::string& text, std::string_view from, char to,
                       const LeadBytes& lead) {
  // Walks the text character by character, so every position tested is the
  // start of a character; a replaced pair is followed by a character start
  // too, which keeps the walk in step.
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, from.size(), from) == 0) {
      out += to;
      i += from.size();
    } else if (IsLead(lead, text[i]) && i + 1 < text.size()) {
      out.append(text, i, 2);
      i += 2;
    } else {
      out += text[i];
      ++i;
    }
  }
  text = std::move(out);
}

void TrimControl(std::string& text) {
  auto control = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  size_t end = text.size();
  while (end > 0 && control(text[end - 1])) --end;
  size_t begin = 0;
  while (begin < end && control(text[begin])) ++begin;
  text = text.substr(begin, end - begin);
}

void CleanSettingValue(std::string& value, const LeadBytes& lead) {
  ReplaceDoubleByte(value, "\xA3\xBB", ';', lead);
  // The whole comment goes, however long it is.
  size_t comment = value.find(';');
  if (comment != std::string::npos) value.erase(comment);
  TrimControl(value);
}

std::string SettingsPathFor(std::string_view module_path,
                            const LeadBytes& lead) {
  size_t last = std::string_view::npos;
  for (size_t i = 0; i < module_path.size(); ++i) {
    char c = module_path[i];
    if (c == '.' || c == '\\' || c == ':') {
      last = i;
    } else if (IsLead(lead, c)) {
      ++i;  // the second byte of this character is never a separator
    }
  }
  std::string path(module_path);
  if (last != std::string_view::npos && path[last] == '.') path.erase(last);
  return path + ".ini";
}

std::string DecodeSettingsText(SystemInterface& system, std::string bytes) {
  if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    return system.WideCharToMultiByte(
        system.Utf8ToWide(std::string_view(bytes).substr(3)));
  }
  if (bytes.size() >= 2 && bytes.compare(0, 2, "\xFF\xFE") == 0) {
    std::u16string wide;
    wide.reserve(bytes.size() / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      wide += static_cast<char16_t>(
          static_cast<unsigned char>(bytes[i]) |
          (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return system.WideCharToMultiByte(wide);
  }
  return bytes;
}

bool NextSettingsLine(std::string_view text, size_t* pos,
                      std::string_view* line) {
  size_t i = *pos;
  if (i >= text.size() || text[i] == '\0') return false;
  size_t start = i;
  while (i < text.size() && text[i] != '\r' && text[i] != '\n' &&
         text[i] != '\0')
    ++i;
  *line = text.substr(start, i - start);
  if (i < text.size() && text[i] == '\r') ++i;
  if (i < text.size() && text[i] == '\n') ++i;
  *pos = i;
  return true;
}

void FindKeyInText(SystemInterface& system, std::string_view text,
                   std::string_view key, std::string* value) {
  value->clear();
  // The quoted key counts only when the plain key gives no value, but its
  // first line may come before or after the plain key's, so both are
  // watched for in the same pass. Only key texts holding a '"' can equal the
  // quoted key, which spares the second comparison on almost every line.
  std::string quoted_key;
  quoted_key.reserve(key.size() + 2);
  quoted_key += '"';
  quoted_key += key;
  quoted_key += '"';
  bool plain_seen = false;  // matched, with an empty value
  bool quoted_seen = false;
  std::string_view quoted_value;

  size_t pos = 0;
  std::string_view line;
  while (NextSettingsLine(text, &pos, &line)) {
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    std::string_view name = line.substr(0, equals);
    std::string_view line_value = line.substr(equals + 1);
    if (!plain_seen && system.CompareStringIgnoreCase(name, key)) {
      if (!line_value.empty()) {
        value->assign(line_value);
        return;
      }
      plain_seen = true;
    } else if (!quoted_seen && name.find('"') != std::string_view::npos &&
               system.CompareStringIgnoreCase(name, quoted_key)) {
      quoted_seen = true;
      quoted_value = line_value;
    }
    if (plain_seen && quoted_seen) break;
  }
  value->assign(quoted_value);
}

void ReadSetting(SystemInterface& system, const std::string& path,
                 std::string_view key, std::string* value) {
  value->clear();
  FileProbe probe = system.FindFirstFile(path);
  if (!probe.found || probe.directory) return;
  std::string bytes;
  if (!system.ReadWholeFile(path, &bytes)) {
    throw Failure("EFOpenError", "Cannot open file " + path,
                  CodeLocation(reinterpret_cast<const void*>(&ReadSetting)));
  }
  std::string text = DecodeSettingsText(system, std::move(bytes));
  FindKeyInText(system, text, key, value);
}

std::string ReadCleanSetting(SystemInterface& system, const std::string& path,
                             std::string_view key) {
  std::string value;
  ReadSetting(system, path, key, &value);
  CleanSettingValue(value, system.AnsiLeadBytes());
  return value;
}

void ReadGlobalDefaults(Run& run) {
  SystemInterface& system = run.System;
  run.SettingsPath =
      SettingsPathFor(system.GetModuleFileName(), system.AnsiLeadBytes());
  run.DefaultMask = ReadCleanSetting(system, run.SettingsPath, "Mask");
  run.DefaultGateway = ReadCleanSetting(system, run.SettingsPath, "Gateway");
  run.DefaultDns1 = ReadCleanSetting(system, run.SettingsPath, "DNS1");
  run.DefaultDns2 = ReadCleanSetting(system, run.SettingsPath, "DNS2");
}

}  // namespace hostconfig
