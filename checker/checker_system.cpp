#include "checker/checker_system.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace hostconfig {

namespace {

char FoldAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool IsKnownCodePage(uint32_t code_page) {
  switch (code_page) {
    case 437: case 850: case 852: case 866: case 874:
    case 932: case 936: case 949: case 950:
    case 1250: case 1251: case 1252: case 1253: case 1254:
    case 1255: case 1256: case 1257: case 1258:
      return true;
    default:
      return false;
  }
}

LeadBytes LeadBytesFor(uint32_t code_page) {
  LeadBytes lead{};
  auto mark = [&lead](int from, int to) {
    for (int b = from; b <= to; ++b) lead[static_cast<size_t>(b)] = true;
  };
  if (code_page == 936 || code_page == 949 || code_page == 950) {
    mark(0x81, 0xFE);
  } else if (code_page == 932) {
    mark(0x81, 0x9F);
    mark(0xE0, 0xFC);
  }
  return lead;
}

CheckerSystem::CheckerSystem(uint32_t code_page) : code_page_(code_page) {}

FileProbe CheckerSystem::FindFirstFile(const std::string& path) {
  std::error_code error;
  std::filesystem::file_status status =
      std::filesystem::status(std::filesystem::path(path), error);
  FileProbe probe;
  probe.found = !error && std::filesystem::exists(status);
  probe.directory = probe.found && std::filesystem::is_directory(status);
  return probe;
}

bool CheckerSystem::ReadWholeFile(const std::string& path, std::string* bytes) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  bytes->assign(std::istreambuf_iterator<char>(file),
                std::istreambuf_iterator<char>());
  return !file.bad();
}

bool CheckerSystem::CompareStringIgnoreCase(std::string_view a,
                                            std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

LeadBytes CheckerSystem::AnsiLeadBytes() { return LeadBytesFor(code_page_); }

std::string CheckerSystem::WideCharToMultiByte(std::u16string_view text) {
  return WideToCodePage(text, code_page_, &unconverted_);
}

std::u16string CheckerSystem::Utf8ToWide(std::string_view text) {
  // Malformed sequences become U+FFFD, as MultiByteToWideChar does.
  std::u16string wide;
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3
                                 : (c >> 3) == 30 ? 4 : 0;
    char32_t code = length == 1 ? c : length == 2 ? (c & 0x1F)
                                    : length == 3 ? (c & 0x0F) : (c & 0x07);
    bool ok = length != 0 && i + length <= text.size();
    for (size_t k = 1; ok && k < length; ++k) {
      unsigned char next = static_cast<unsigned char>(text[i + k]);
      ok = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    if (!ok) {
      wide += u'\xFFFD';
      ++i;
      continue;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      wide += static_cast<char16_t>(0xD800 + (code >> 10));
      wide += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      wide += static_cast<char16_t>(code);
    }
    i += length;
  }
  return wide;
}

uint32_t CheckerSystem::GetOEMCP() { return code_page_; }
StdoutKind CheckerSystem::StandardOutputKind() { return StdoutKind::kNone; }
uint32_t CheckerSystem::WriteStandardOutput(std::string_view) { return 0; }
void CheckerSystem::ShowMessageBox(const std::string&, const std::string&) {}
std::string CheckerSystem::GetModuleFileName() { return {}; }
uint32_t CheckerSystem::GetAdaptersAddresses(uint32_t, uint32_t, uint32_t*,
                                             std::vector<AdapterEntry>*) {
  return 232;  // ERROR_NO_DATA: no adapters here
}
std::string CheckerSystem::LocaleDecimalSeparator() { return "."; }
bool CheckerSystem::GetVersionEx(uint32_t*, uint32_t*) { return false; }
int32_t CheckerSystem::RegOpenKeyEx(RegKey, const std::string&, uint32_t,
                                    RegKey*) {
  return 2;  // ERROR_FILE_NOT_FOUND
}
int32_t CheckerSystem::RegCreateKeyEx(RegKey, const std::string&, uint32_t,
                                      RegKey*) {
  return 5;  // ERROR_ACCESS_DENIED
}
int32_t CheckerSystem::RegQueryValueEx(RegKey, const std::string&, uint32_t*,
                                       uint32_t*, std::string*) {
  return 2;
}
int32_t CheckerSystem::RegSetValueEx(RegKey, const std::string&, uint32_t,
                                     std::string_view) {
  return 5;
}
int32_t CheckerSystem::RegCloseKey(RegKey) { return kErrorSuccess; }
bool CheckerSystem::GetComputerName(uint32_t, std::string*) { return false; }
bool CheckerSystem::SetComputerName(const std::string&) { return false; }
std::string CheckerSystem::ExpandEnvironmentStrings(const std::string& text) {
  return text;
}
bool CheckerSystem::CreateProcess(const std::string&, bool, const std::string*,
                                  const StartupInfo&, ProcessInfo*) {
  return false;
}
uint32_t CheckerSystem::WaitForSingleObject(Handle, uint32_t) { return 0; }
bool CheckerSystem::CloseHandle(Handle) { return false; }
bool CheckerSystem::OpenProcessToken(uint32_t, Handle*) { return false; }
bool CheckerSystem::LookupPrivilegeValue(const std::string&, uint64_t*) {
  return false;
}
bool CheckerSystem::AdjustTokenPrivileges(Handle, uint64_t, uint32_t) {
  return false;
}
bool CheckerSystem::ExitWindowsEx(uint32_t, uint32_t) { return false; }

}  // namespace hostconfig
