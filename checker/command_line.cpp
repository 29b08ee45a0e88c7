// hostconfig-check's command line: the options, reading the file, and the
// output of a check.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <system_error>

#include "checker/checker.h"
#include "checker/code_page.h"
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
    "with a UTF-8 or UTF-16LE mark, and a UTF-8 file without a mark, is\n"
    "converted to it; the first line of the output says how the file was\n"
    "read.\n"
    "\n"
    "Exit code: 0 no error, 1 errors (or, with --mac, a run that would stop),\n"
    "2 the file cannot be read or the arguments are wrong.\n";

struct Options {
  bool help = false;
  std::optional<std::string> file, mac, adapter, version, name, code_page;
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
    if (option) {
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
  if (!options->file) return "no settings file given";
  if (!options->mac && (options->adapter || options->version || options->name))
    return "--adapter, --version and --name need --mac";
  return {};
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

// The file's bytes; false (with the reason on err) when it cannot be read.
bool ReadSettingsFile(const std::string& path, std::string* bytes,
                      std::ostream& err) {
  std::error_code error;
  std::filesystem::file_status status = std::filesystem::status(path, error);
  const char* problem = nullptr;
  if (error || !std::filesystem::exists(status)) {
    problem = "no such file";
  } else if (std::filesystem::is_directory(status)) {
    problem = "is a directory";
  } else {
    std::ifstream file(path, std::ios::binary);
    bytes->assign(std::istreambuf_iterator<char>(file),
                  std::istreambuf_iterator<char>());
    if (!file || file.bad()) problem = "cannot be read";
  }
  if (problem == nullptr) return true;
  err << "hostconfig-check: " << path << ": " << problem << "\n";
  return false;
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

  std::string bytes;
  if (!ReadSettingsFile(*options.file, &bytes, err)) return 2;
  size_t unconverted = 0;
  const TextRules rules = CheckerTextRules(code_page, &unconverted);
  DecodedText decoded = DecodeSettingsFile(rules, std::move(bytes));
  const Conversion conversion{code_page, std::move(decoded.lossy)};
  out << ReadAsLine(decoded.encoding, code_page);
  if (options.mac)
    return WritePreview(rules, decoded.text, conversion, request, out);
  return WriteFindings(*options.file,
                       CheckSettingsText(rules, decoded.text, conversion),
                       code_page, unconverted, out);
}

}  // namespace hostconfig
