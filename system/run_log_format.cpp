#include <array>
#include <cstdio>

#include "system/run_log.h"
#include "util/ascii.h"

namespace hostconfig {

namespace {

constexpr std::array<std::pair<RunOutcome, std::string_view>, 7> kOutcomeWords = {{
    {RunOutcome::kRenamed, "renamed"},
    {RunOutcome::kUnchanged, "unchanged"},
    {RunOutcome::kNoEntry, "no-entry"},
    {RunOutcome::kRenameFailed, "rename-failed"},
    {RunOutcome::kCommandFailed, "command-failed"},
    {RunOutcome::kFailed, "failed"},
    {RunOutcome::kRenameNotApplied, "rename-not-applied"},
}};

// Digits only, as a number; nullopt for anything else or an empty text.
std::optional<uint32_t> Number(std::string_view text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    if (!IsAsciiDigit(c)) return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<uint32_t>(value);
}

bool IsMacText(std::string_view text) {
  if (text.size() != 12) return false;
  for (char c : text)
    if (!IsAsciiDigit(c) && !(c >= 'A' && c <= 'F')) return false;
  return true;
}

// "0 0 1": numbers joined by single spaces; empty for none.
std::optional<std::vector<uint32_t>> ExitCodes(std::string_view text) {
  std::vector<uint32_t> codes;
  while (!text.empty()) {
    size_t space = text.find(' ');
    std::optional<uint32_t> code = Number(text.substr(0, space));
    if (!code) return std::nullopt;
    codes.push_back(*code);
    if (space == std::string_view::npos) break;
    text.remove_prefix(space + 1);
    if (text.empty()) return std::nullopt;
  }
  return codes;
}

}  // namespace

std::string_view OutcomeWord(RunOutcome outcome) {
  for (const auto& [value, word] : kOutcomeWords)
    if (value == outcome) return word;
  return "failed";
}

std::optional<RunOutcome> OutcomeFromWord(std::string_view word) {
  for (const auto& [value, known] : kOutcomeWords)
    if (known == word) return value;
  return std::nullopt;
}

std::string FormatLogTime(const LocalTime& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u",
                unsigned{time.year}, unsigned{time.month}, unsigned{time.day},
                unsigned{time.hour}, unsigned{time.minute},
                unsigned{time.second});
  return text;
}

std::optional<LocalTime> ParseLogTime(std::string_view text) {
  // Digits where the pattern has 9, the separators exactly.
  constexpr std::string_view kPattern = "9999-99-99 99:99:99";
  if (text.size() != kPattern.size()) return std::nullopt;
  for (size_t i = 0; i < text.size(); ++i) {
    if (kPattern[i] == '9' ? !IsAsciiDigit(text[i]) : text[i] != kPattern[i])
      return std::nullopt;
  }
  auto part = [&](size_t at, size_t length) {
    return static_cast<uint16_t>(*Number(text.substr(at, length)));
  };
  return LocalTime{part(0, 4), part(5, 2),  part(8, 2),
                   part(11, 2), part(14, 2), part(17, 2)};
}

std::string QuoteCsvField(std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos)
    return std::string(field);
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string FormatRunLogLine(const RunLogLine& line) {
  std::string exits;
  for (uint32_t code : line.netsh_exit) {
    if (!exits.empty()) exits += ' ';
    exits += std::to_string(code);
  }
  const std::string fields[kRunLogFields] = {
      FormatLogTime(line.time), line.mac, line.adapter, line.old_name,
      line.new_name, line.address, line.mask, line.gateway, line.dns1,
      line.dns2, exits, line.restart ? "yes" : "no",
      std::string(OutcomeWord(line.outcome)), line.detail};
  std::string text;
  for (const std::string& field : fields) {
    if (!text.empty()) text += ',';
    text += QuoteCsvField(field);
  }
  return text + "\r\n";
}

bool NextCsvRecord(std::string_view text, size_t* pos,
                   std::vector<std::string>* fields) {
  fields->clear();
  size_t i = *pos;
  if (i >= text.size()) return false;
  std::string field;
  bool quoted = false;
  while (i < text.size()) {
    char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        i += 2;
        continue;
      }
      if (c == '"') quoted = false; else field += c;
      ++i;
      continue;
    }
    if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields->push_back(std::move(field));
      field.clear();
    } else if (c == '\r' || c == '\n') {
      break;
    } else {
      field += c;
    }
    ++i;
  }
  fields->push_back(std::move(field));
  if (i < text.size() && text[i] == '\r') ++i;
  if (i < text.size() && text[i] == '\n') ++i;
  *pos = i;
  return !quoted;
}

std::optional<RunLogLine> ParseRunLogRecord(
    const std::vector<std::string>& fields, std::string* problem) {
  if (fields.size() != kRunLogFields) {
    *problem = std::to_string(fields.size()) + " fields, not " +
               std::to_string(kRunLogFields);
    return std::nullopt;
  }
  RunLogLine line;
  std::optional<LocalTime> time = ParseLogTime(fields[0]);
  std::optional<std::vector<uint32_t>> exits = ExitCodes(fields[10]);
  std::optional<RunOutcome> outcome = OutcomeFromWord(fields[12]);
  if (!time) *problem = "time \"" + fields[0] + "\" is not YYYY-MM-DD HH:MM:SS";
  else if (!IsMacText(fields[1])) *problem = "\"" + fields[1] + "\" is not a MAC address";
  else if (!exits) *problem = "netsh_exit \"" + fields[10] + "\" is not a list of exit codes";
  else if (fields[11] != "yes" && fields[11] != "no") *problem = "restart \"" + fields[11] + "\" is neither yes nor no";
  else if (!outcome) *problem = "unknown outcome \"" + fields[12] + "\"";
  else problem->clear();
  if (!problem->empty()) return std::nullopt;
  line.time = *time;
  line.mac = fields[1];
  line.adapter = fields[2];
  line.old_name = fields[3];
  line.new_name = fields[4];
  line.address = fields[5];
  line.mask = fields[6];
  line.gateway = fields[7];
  line.dns1 = fields[8];
  line.dns2 = fields[9];
  line.netsh_exit = *exits;
  line.restart = fields[11] == "yes";
  line.outcome = *outcome;
  line.detail = fields[13];
  return line;
}

}  // namespace hostconfig
