// The system that hostconfig-check runs the tool's settings code on.
//
// It serves files from disk and answers the few questions the settings code
// asks (key comparison, lead bytes, conversion of a file with a byte-order
// mark) for one chosen code page. Everything that would change or inspect
// the machine is inert: the checker never renames, writes or launches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "os/system_interface.h"

namespace hostconfig {

// The code page a settings file is read in when none is given: the system's
// ANSI code page on Windows, 936 elsewhere.
uint32_t DefaultCodePage();

// UTF-16 to `code_page`. The Windows build converts with the system; the
// portable build converts ASCII exactly and gives "?" for everything else.
// Increases *unconverted when characters became "?" (the default character).
std::string WideToCodePage(std::u16string_view text, uint32_t code_page,
                           size_t* unconverted);

// True for the code pages the checker knows the lead bytes of.
bool IsKnownCodePage(uint32_t code_page);

// Lead bytes of a code page: 0x81-0xFE for 936, 949 and 950, 0x81-0x9F and
// 0xE0-0xFC for 932, none for the others.
LeadBytes LeadBytesFor(uint32_t code_page);

class CheckerSystem : public SystemInterface {
 public:
  explicit CheckerSystem(uint32_t code_page);

  uint32_t code_page() const { return code_page_; }
  // Characters of a file with a byte-order mark that WideCharToMultiByte
  // could not convert and gave as "?".
  size_t unconverted_characters() const { return unconverted_; }

  // Used by the settings code.
  FileProbe FindFirstFile(const std::string& path) override;
  bool ReadWholeFile(const std::string& path, std::string* bytes) override;
  // ASCII letters compare without regard to case; other bytes exactly.
  bool CompareStringIgnoreCase(std::string_view a, std::string_view b) override;
  LeadBytes AnsiLeadBytes() override;
  std::string WideCharToMultiByte(std::u16string_view text) override;
  std::u16string Utf8ToWide(std::string_view text) override;

  // Inert: neutral answers, no effect.
  uint32_t GetOEMCP() override;
  StdoutKind StandardOutputKind() override;
  uint32_t WriteStandardOutput(std::string_view bytes) override;
  void ShowMessageBox(const std::string& caption,
                      const std::string& text) override;
  std::string GetModuleFileName() override;
  uint32_t GetAdaptersAddresses(uint32_t family, uint32_t flags, uint32_t* size,
                                std::vector<AdapterEntry>* adapters) override;
  std::string LocaleDecimalSeparator() override;
  bool GetVersionEx(uint32_t* major, uint32_t* minor) override;
  int32_t RegOpenKeyEx(RegKey base, const std::string& name, uint32_t access,
                       RegKey* key) override;
  int32_t RegCreateKeyEx(RegKey base, const std::string& name, uint32_t access,
                         RegKey* key) override;
  int32_t RegQueryValueEx(RegKey key, const std::string& value_name,
                          uint32_t* type, uint32_t* size,
                          std::string* data) override;
  int32_t RegSetValueEx(RegKey key, const std::string& value_name,
                        uint32_t type, std::string_view data) override;
  int32_t RegCloseKey(RegKey key) override;
  bool GetComputerName(uint32_t size, std::string* name) override;
  bool SetComputerName(const std::string& name) override;
  std::string ExpandEnvironmentStrings(const std::string& text) override;
  bool CreateProcess(const std::string& command_line, bool inherit_handles,
                     const std::string* directory, const StartupInfo& startup,
                     ProcessInfo* process) override;
  uint32_t WaitForSingleObject(Handle handle, uint32_t milliseconds) override;
  bool CloseHandle(Handle handle) override;
  bool OpenProcessToken(uint32_t access, Handle* token) override;
  bool LookupPrivilegeValue(const std::string& name, uint64_t* luid) override;
  bool AdjustTokenPrivileges(Handle token, uint64_t luid,
                             uint32_t attributes) override;
  bool ExitWindowsEx(uint32_t flags, uint32_t reason) override;

 private:
  uint32_t code_page_;
  size_t unconverted_ = 0;
};

}  // namespace hostconfig
