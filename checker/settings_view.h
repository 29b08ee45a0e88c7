// A settings text as the checker sees it: every line with its number, and
// the tool's own lookups, each tied to the line it landed on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "settings/settings_file.h"
#include "settings/settings_text.h"

namespace hostconfig {

// The lines of a settings text exactly as the tool splits them: a line ends
// at CR, LF or CR LF, a zero byte ends the text. Line i of the result is line
// i + 1 of the file as an editor numbers it.
std::vector<std::string_view> SplitSettingsLines(std::string_view text);

// The MAC text of a key written exactly as the tool can find it: 12 hex
// digits or six pairs joined by "-", either case. Empty otherwise.
std::string MacOfKey(std::string_view key);

struct Line {
  size_t number = 0;  // counted from 1
  size_t start = 0;   // offset in the text
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
  // rules and text must outlive the view.
  SettingsView(const TextRules& rules, std::string_view text);

  const std::vector<Line>& lines() const { return lines_; }
  std::string_view text() const { return text_; }
  const LeadBytes& lead() const { return rules_.lead; }
  const KeyComparison& keys_equal() const { return rules_.keys_equal; }

  // Looks up many keys in one pass of the tool's lookup; Locate then
  // answers for them without another pass.
  void Prefetch(const std::vector<std::string>& keys);

  // The tool's lookup of `key`: the line its raw value comes from.
  Located Locate(std::string_view key);

  // A raw value cleaned as the tool cleans it.
  std::string Clean(std::string_view raw) const;

 private:
  Located ToLocated(const KeyMatch& match) const;

  const TextRules& rules_;
  std::string_view text_;
  std::vector<Line> lines_;
  std::unordered_map<std::string, KeyMatch> found_;
};

// The record phase's lookup of one MAC, with the lines it touched.
struct MachineLookup {
  std::optional<size_t> used;     // the line whose value the run takes
  std::optional<size_t> landing;  // where the lookup stopped, used or not
  std::string cleaned;            // the entry's cleaned value
};

MachineLookup LookUpMachine(SettingsView& view, std::string_view mac);

// The four defaults as the global-defaults phase reads them.
GlobalDefaults ViewDefaults(SettingsView& view);

// What converting the file to the code page lost: the code page and the
// characters it lacks, located in the text.
struct Conversion {
  uint32_t code_page = 0;
  std::vector<LossyChar> lossy;
};

// The lost characters that stand in the computer name (name_length bytes)
// of the entry the lookup used.
std::vector<LossyChar> LossyCharsOfEntryName(const SettingsView& view,
                                             const MachineLookup& lookup,
                                             size_t name_length,
                                             const Conversion& conversion);

// "U+0E01 U+0E02": each character once, in the order of the text.
std::string CodePointList(const std::vector<LossyChar>& chars);

}  // namespace hostconfig
