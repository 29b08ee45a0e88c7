// The findings of a settings file check: entries that never match, values
// the tool would pass on unchecked, keys given twice.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "checker/settings_view.h"
#include "settings/text_rules.h"

namespace hostconfig {

struct Finding {
  size_t line = 0;  // counted from 1
  bool error = false;
  std::string text;
};

// Findings as the checks add them; Sorted() orders them by line, keeping
// the order of those on one line.
class FindingList {
 public:
  void Error(size_t line, std::string text) {
    items_.push_back({line, true, std::move(text)});
  }
  void Warning(size_t line, std::string text) {
    items_.push_back({line, false, std::move(text)});
  }
  std::vector<Finding> Sorted();

 private:
  std::vector<Finding> items_;
};

class SettingsView;

// A MAC with lines of its own in a settings file: every line whose key is
// that MAC as the tool can find it (plain, dashed or in quotes).
struct Machine {
  std::string mac;
  std::vector<size_t> lines;  // indexes into the view's lines
};

// The machines of a settings text, in the order of their first line.
std::vector<Machine> FindMachines(const SettingsView& view);

// All findings for a decoded settings text, ordered by line.
std::vector<Finding> CheckSettingsText(const TextRules& rules,
                                       std::string_view text);

// The same, for a text whose conversion to the code page lost characters:
// a computer name holding one is an error, since the run leaves such a name
// alone.
std::vector<Finding> CheckSettingsText(const TextRules& rules,
                                       std::string_view text,
                                       const Conversion& conversion);

}  // namespace hostconfig
