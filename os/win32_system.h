// SystemInterface on the real Windows API. Compiled only for Windows.
#pragma once

#include "os/system_interface.h"

namespace hostconfig {

class Win32System : public SystemInterface {
 public:
  uint32_t GetOEMCP() override;
  StdoutKind StandardOutputKind() override;
  uint32_t WriteStandardOutput(std::string_view bytes) override;
  void ShowMessageBox(const std::string& caption,
                      const std::string& text) override;
  std::string GetModuleFileName() override;
  uint32_t GetAdaptersAddresses(uint32_t family, uint32_t flags, uint32_t* size,
                                std::vector<AdapterEntry>* adapters) override;
  std::string WideCharToMultiByte(std::u16string_view text,
                                  bool* lossy) override;
  std::string CharUpper(std::string_view text) override;
  uint32_t GetLastError() override;
  std::string LocaleDecimalSeparator() override;
  bool GetVersionEx(uint32_t* major, uint32_t* minor) override;
  FileProbe FindFirstFile(const std::string& path) override;
  bool ReadWholeFile(const std::string& path, std::string* bytes) override;
  bool CompareStringIgnoreCase(std::string_view a, std::string_view b) override;
  LeadBytes AnsiLeadBytes() override;
  int32_t RegOpenKeyEx(RegKey base, const std::string& name, uint32_t access,
                       RegKey* key) override;
  int32_t RegCreateKeyEx(RegKey base, const std::string& name, uint32_t access,
                         RegKey* key) override;
  int32_t RegQueryValueEx(RegKey key, const std::string& value_name,
                          uint32_t* type, uint32_t* size,
                          std::string* data) override;
  int32_t RegSetValueEx(RegKey key, const std::string& value_name,
                        uint32_t type, std::string_view data) override;
  int32_t RegDeleteValue(RegKey key, const std::string& value_name) override;
  int32_t RegCloseKey(RegKey key) override;
  bool GetComputerName(uint32_t size, std::string* name) override;
  bool SetComputerName(const std::string& name) override;
  std::string ExpandEnvironmentStrings(const std::string& text) override;
  bool CreateProcess(const std::string& command_line, bool inherit_handles,
                     const std::string* directory, const StartupInfo& startup,
                     ProcessInfo* process) override;
  uint32_t WaitForSingleObject(Handle handle, uint32_t milliseconds) override;
  bool GetExitCodeProcess(Handle process, uint32_t* code) override;
  bool CloseHandle(Handle handle) override;
  uint32_t OpenFileForAppend(const std::string& path, Handle* file) override;
  bool GetFileSize(Handle file, uint64_t* size) override;
  uint32_t WriteFileFlushed(Handle file, std::string_view bytes) override;
  LocalTime GetLocalTime() override;
  uint32_t GetTickCount() override;
  void Sleep(uint32_t milliseconds) override;
  bool OpenProcessToken(uint32_t access, Handle* token) override;
  bool LookupPrivilegeValue(const std::string& name, uint64_t* luid) override;
  bool AdjustTokenPrivileges(Handle token, uint64_t luid,
                             uint32_t attributes) override;
  bool ExitWindowsEx(uint32_t flags, uint32_t reason) override;
};

}  // namespace hostconfig
