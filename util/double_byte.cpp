#include "util/double_byte.h"

namespace hostconfig {

bool IsTrailByte(std::string_view text, size_t pos, const LeadBytes& lead) {
  size_t run = 0;
  while (pos > run && IsLeadByte(lead, text[pos - run - 1])) ++run;
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
    } else {
      size_t width = CharWidth(text, i, lead);
      out.append(text, i, width);
      i += width;
    }
  }
  text = std::move(out);
}

}  // namespace hostconfig
