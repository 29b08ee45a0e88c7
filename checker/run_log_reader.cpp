#include "checker/run_log_reader.h"

#include <ostream>
#include <tuple>

namespace hostconfig {

namespace {

// Line ends in text[from, to): CR LF, LF or CR alone, as an editor counts
// them.
size_t LineEnds(std::string_view text, size_t from, size_t to) {
  size_t count = 0;
  for (size_t i = from; i < to; ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() ||
                                                text[i + 1] != '\n')))
      ++count;
  }
  return count;
}

bool IsHeader(const std::vector<std::string>& fields) {
  std::string joined;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) joined += ',';
    joined += fields[i];
  }
  return joined == kRunLogHeader;
}

bool IsBlank(const std::vector<std::string>& fields) {
  return fields.size() == 1 && fields[0].empty();
}

}  // namespace

void ReadRunLog(std::string_view name, std::string_view bytes,
                std::vector<LoggedRun>* runs, std::ostream& warnings) {
  auto warn = [&](size_t line, std::string_view text) {
    warnings << name << ":" << line << ": warning: " << text << "\n";
  };
  size_t pos = 0, line = 1;
  bool first = true;
  std::vector<std::string> fields;
  while (pos < bytes.size()) {
    const size_t start = pos, start_line = line;
    const bool closed = NextCsvRecord(bytes, &pos, &fields);
    line += LineEnds(bytes, start, pos);
    const bool ended = bytes[pos - 1] == '\n' || bytes[pos - 1] == '\r';
    if (!closed || !ended) {
      warn(start_line, closed ? "the last line has no line end: it was cut "
                                "off, and is passed over"
                              : "a quoted field is never closed: the line was "
                                "cut off, and is passed over");
      return;
    }
    if (IsBlank(fields)) continue;
    const bool was_first = first;
    first = false;
    if (IsHeader(fields)) {
      if (!was_first)
        warn(start_line, "a header line below the first line (logs joined?) "
                         "is passed over");
      continue;
    }
    std::string problem;
    std::optional<RunLogLine> run = ParseRunLogRecord(fields, &problem);
    if (run) {
      runs->push_back({std::move(*run), std::string(name), start_line});
    } else if (was_first) {
      warn(start_line, "not a hostconfig run log (its first line is neither "
                       "the header nor a run line: " + problem +
                       "); the file is passed over");
      return;
    } else {
      warn(start_line, problem + "; the line is passed over");
    }
  }
}

bool NewerByTime(const RunLogLine& a, const RunLogLine& b) {
  auto key = [](const LocalTime& t) {
    return std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second);
  };
  return key(b.time) < key(a.time);
}

}  // namespace hostconfig
