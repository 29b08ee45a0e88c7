// hostconfig-check's command line: the options, reading the file, and the
// output of a check.
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <ostream>

#include "checker/checker.h"
#include "checker/code_page.h"
#include "checker/fleet_report.h"
#include "checker/here.h"
#include "checker/read_file.h"
#include "checker/settings_view.h"
#include "os/code_page.h"
#include "settings/settings_text.h"
#include "util/ascii.h"

namespace hostconfig {

namespace {

constexpr std::string_view kUsage =
    "usage: hostconfig-check [--code-page N] FILE\n"
    "       hostconfig-check [--code-page N] FILE --mac XXXXXXXXXXXX\n"
    "                        [--adapter NAME] [--version N.N] [--name CURRENT]\n"
    "       hostconfig-check [--code-page N] FILE --log LOG [--log LOG ...]\n"
    "                        [--new-entries]\n"
    "       hostconfig-check --here [FILE]                    (Windows only)\n"
    "\n"
    "Checks a hostconfig settings file as the tool reads it and lists\n"
    "findings as FILE:LINE: error|warning: text, then a summary.\n"
    "With --mac, previews that machine's run instead: its entry, its six\n"
    "fields after the defaults, the rename, the restart and the network\n"
    "shell command lines (adapter default \"Local Area Connection\", Windows\n"
    "version default 10.0; without --name the rename is conditional).\n"
    "With --log, reports each machine entry by its MAC's newest line in the\n"
    "run logs (the tool writes them with LogFile=): done, stale (the entry\n"
    "changed since), failed, pending (no run with the entry yet), then the\n"
    "MACs that ran without an entry (unknown). Bad log lines are warnings\n"
    "on standard error. With --new-entries, prints only a line to append to\n"
    "FILE for each unknown MAC, named after its old name.\n"
    "With --here, previews the run of this PC: its adapter, MAC, name and\n"
    "Windows version as the tool finds them; FILE defaults to\n"
    "hostconfig.ini beside hostconfig-check.exe, read as the tool reads it.\n"
    "Nothing is ever changed.\n"
    "\n"
    "--code-page: the code page of the file's bytes (936, 950, 1252, ...);\n"
    "default: the system's ANSI code page on Windows, 936 elsewhere. A file\n"
    "with a UTF-8 or UTF-16LE mark, and a UTF-8 file without a mark, is\n"
    "converted to it; the first line of the output says how the file was\n"
    "read.\n"
    "\n"
    "Exit code: 0 no error, 1 errors (with --mac or --here, a run that would\n"
    "stop; with --log, an entry not done or a MAC unknown; --new-entries\n"
    "gives 0), 2 a file cannot be read or the arguments are wrong.\n";

struct Options {
  bool help = false, here = false, new_entries = false;
  std::optional<std::string> file, mac, adapter, version, name, code_page;
  std::vector<std::string> logs;
};

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
    if (!IsAsciiDigit(c)) return false;
    value = value * 10 + (c - '0');
  }
  for (char c : part) {
    if (!IsAsciiDigit(c)) return false;
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

// The options that do not go together; empty, or the problem.
std::string CheckCombination(const Options& options) {
  if (options.here) {
    if (options.mac || options.adapter || options.version || options.name ||
        options.code_page || !options.logs.empty() || options.new_entries)
      return "--here takes no other option: it reads this PC as the run does";
    return {};
  }
  if (!options.file) return "no settings file given";
  if (!options.mac && (options.adapter || options.version || options.name))
    return "--adapter, --version and --name need --mac";
  if (options.mac && !options.logs.empty())
    return "--mac and --log do not go together";
  if (options.new_entries && options.logs.empty())
    return "--new-entries needs --log";
  return {};
}

// Fills *options from the arguments; empty, or the problem with them.
std::string ParseArguments(const std::vector<std::string>& args,
                           Options* options) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-h" || arg == "--help" || arg == "/?") {
      options->help = true;
      return {};
    }
    std::optional<std::string>* option = arg == "--mac"         ? &options->mac
                                         : arg == "--adapter"   ? &options->adapter
                                         : arg == "--version"   ? &options->version
                                         : arg == "--name"      ? &options->name
                                         : arg == "--code-page" ? &options->code_page
                                                                : nullptr;
    if (arg == "--here" || arg == "--new-entries") {
      bool& flag = arg == "--here" ? options->here : options->new_entries;
      if (flag) return arg + " is given twice";
      flag = true;
    } else if (arg == "--log") {
      if (i + 1 >= args.size()) return arg + " needs a value";
      options->logs.push_back(args[++i]);
    } else if (option) {
      if (i + 1 >= args.size()) return arg + " needs a value";
      if (option->has_value()) return arg + " is given twice";
      *option = args[++i];
    } else if (arg.starts_with("--")) {
      return "unknown option " + arg;
    } else if (options->file) {
      return "more than one file: " + arg;
    } else {
      options->file = arg;
    }
  }
  return CheckCombination(*options);
}

// The code page and the preview request the options ask for; empty, or the
// problem with them.
std::string ReadOptions(const Options& options, uint32_t* code_page,
                        PreviewRequest* request) {
  *code_page = DefaultAnsiCodePage();
  if (options.code_page) {
    char* end = nullptr;
    unsigned long parsed = std::strtoul(options.code_page->c_str(), &end, 10);
    if (options.code_page->empty() || *end != '\0' ||
        !IsKnownCodePage(static_cast<uint32_t>(parsed))) {
      return "unknown code page " + *options.code_page;
    }
    *code_page = static_cast<uint32_t>(parsed);
  }
  if (!options.mac) return {};
  request->mac = NormalizeMacArgument(*options.mac);
  if (request->mac.empty())
    return "--mac " + *options.mac + " is not 12 hexadecimal digits";
  if (options.adapter) request->adapter = *options.adapter;
  if (options.version) {
    if (!ParseVersion(*options.version, &request->windows_version))
      return "--version " + *options.version + " is not a number N.N";
    request->windows_version_text = *options.version;
  }
  request->current_name = options.name;
  return {};
}

// The first line of the output: how the file was read.
std::string ReadAsLine(TextEncoding encoding, uint32_t code_page) {
  switch (encoding) {
    case TextEncoding::kUtf8NoMark: return "read as UTF-8 (no mark)\n";
    case TextEncoding::kUtf8Mark: return "read as UTF-8 (mark)\n";
    case TextEncoding::kUtf16Mark: return "read as UTF-16LE (mark)\n";
    case TextEncoding::kCodePage: break;
  }
  return "read as code page " + std::to_string(code_page) + "\n";
}

int WriteFindings(const std::string& file, std::vector<Finding> findings,
                  uint32_t code_page, size_t unconverted, std::ostream& out) {
  if (unconverted > 0) {
    findings.insert(findings.begin(),
                    Finding{1, false,
                            "characters of this file that code page " +
                                std::to_string(code_page) +
                                " lacks became \"?\" or a look-alike, as "
                                "the run reads them"});
  }
  int errors = 0, warnings = 0;
  for (const Finding& finding : findings) {
    out << file << ":" << finding.line << ": "
        << (finding.error ? "error" : "warning") << ": " << finding.text << "\n";
    ++(finding.error ? errors : warnings);
  }
  out << errors << (errors == 1 ? " error, " : " errors, ") << warnings
      << (warnings == 1 ? " warning\n" : " warnings\n");
  return errors > 0 ? 1 : 0;
}

}  // namespace

std::string NormalizeMacArgument(std::string_view text) {
  std::string mac = MacOfKey(text);
  if (!mac.empty() || text.size() != 17) return mac;
  std::string dashed(text);
  std::replace(dashed.begin(), dashed.end(), ':', '-');
  return MacOfKey(dashed);
}

int RunChecker(const std::vector<std::string>& args, std::ostream& out,
               std::ostream& err) {
  Options options;
  uint32_t code_page = 0;
  PreviewRequest request;
  std::string problem = ParseArguments(args, &options);
  if (problem.empty() && options.help) {
    out << kUsage;
    return 0;
  }
  if (problem.empty()) problem = ReadOptions(options, &code_page, &request);
  if (!problem.empty()) return Usage(err, problem);
  if (options.here) {
    SystemInterface* pc = ThisPc();
    if (pc == nullptr)
      return Usage(err, "--here needs Windows: it reads the adapter, the name "
                        "and the version of the PC it runs on");
    return RunHere(*pc, options.file, out, err);
  }

  std::string bytes;
  if (!ReadNamedFile(*options.file, &bytes, err)) return 2;
  size_t unconverted = 0;
  const TextRules rules = CheckerTextRules(code_page, &unconverted);
  DecodedText decoded = DecodeSettingsFile(rules, std::move(bytes));
  // The report and the lines to append say nothing of the encoding: the
  // lines must be appendable to the file as they are.
  if (!options.logs.empty()) {
    return RunFleetReport(rules, decoded.text, options.logs,
                          options.new_entries, out, err);
  }
  const Conversion conversion{code_page, std::move(decoded.lossy)};
  out << ReadAsLine(decoded.encoding, code_page);
  if (options.mac)
    return WritePreview(rules, decoded.text, conversion, request, out);
  return WriteFindings(*options.file,
                       CheckSettingsText(rules, decoded.text, conversion),
                       code_page, unconverted, out);
}

}  // namespace hostconfig
