// An in-memory machine behind SystemInterface, for the native tests.
//
// Tests set its public fields (adapters, files, registry, environment, ...)
// and read back what the run asked of it: console bytes, message boxes,
// launched commands, registry writes, restart requests. `events` records the
// calls that change the machine, in order.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "os/system_interface.h"

namespace hostconfig {

class FakeMachine : public SystemInterface {
 public:
  FakeMachine();

  // --- Console and identity ---
  uint32_t oem_code_page = 437;
  StdoutKind stdout_kind = StdoutKind::kFile;
  // Each successful write, as it reached standard output.
  std::vector<std::string> stdout_writes;
  // When non-zero, writes numbered >= fail_writes_from (counting from 0)
  // fail with this code.
  uint32_t write_error = 0;
  size_t fail_writes_from = 0;
  size_t write_attempts = 0;
  std::string module_path = "C:\\kits\\hostconfig.exe";
  struct Box {
    std::string caption;
    std::string text;
  };
  std::vector<Box> message_boxes;

  // --- Adapters and version ---
  std::vector<AdapterEntry> adapters;
  uint32_t size_query_result = 111;  // ERROR_BUFFER_OVERFLOW
  uint32_t fill_result = 0;
  int adapter_calls = 0;
  std::string decimal_separator = ".";
  bool version_ex_ok = true;
  uint32_t version_major = 6;
  uint32_t version_minor = 1;
  int version_ex_calls = 0;
  // UTF-16 code units that the fake ANSI code page holds beyond ASCII, and
  // their bytes. Everything else becomes the default character "?".
  std::map<char16_t, std::string> ansi_extra;
  // UTF-16 code units that the fake ANSI code page replaces by a best-fit
  // look-alike: converted, but not back to the same character.
  std::map<char16_t, std::string> ansi_best_fit;
  // Byte sequences that CharUpper changes beyond ASCII ("\xE9" -> "\xC9").
  std::map<std::string, std::string> upper_extra;
  LeadBytes lead_bytes{};

  // --- Files: path -> bytes; directories; paths that cannot be opened ---
  std::map<std::string, std::string> files;
  std::set<std::string> directories;
  std::set<std::string> locked_files;
  int file_reads = 0;
  int find_calls = 0;

  // --- Registry: key path in upper case ("HKEY_LOCAL_MACHINE\SOFTWARE") ---
  struct RegValue {
    uint32_t type = kRegSz;
    std::string data;
  };
  std::map<std::string, std::map<std::string, RegValue>> registry;
  // Keys (upper-case paths) that exist but cannot be opened with full
  // access, and keys that cannot be created.
  std::set<std::string> read_only_keys;
  std::set<std::string> uncreatable_keys;
  int open_keys = 0;
  int max_open_keys = 0;
  int created_keys = 0;
  // The key path behind every open handle, for assertions.
  std::map<RegKey, std::string> handles;

  // --- Computer name ---
  std::string computer_name = "OLDNAME";
  bool get_name_ok = true;
  bool set_name_ok = true;
  uint32_t set_name_error = 87;  // ERROR_INVALID_PARAMETER when refused
  uint32_t last_error = 0;
  uint32_t last_name_size = 0;

  // --- Environment (names compared ignoring case) ---
  std::map<std::string, std::string> environment;

  // --- Processes ---
  struct Launch {
    std::string command_line;
    bool inherit_handles = false;
    bool has_directory = false;
    StartupInfo startup;
    int waits = 0;
    int closed_handles = 0;
    // The handles CreateProcess gave, and the handle and time-out of each
    // wait and the handle of each close, in order.
    Handle process = 0;
    Handle thread = 0;
    std::vector<Handle> waited;
    std::vector<uint32_t> wait_milliseconds;
    std::vector<Handle> closed;
  };
  std::vector<Launch> launches;
  bool create_process_ok = true;
  int create_process_calls = 0;  // failed ones included
  int wait_timeouts = 0;  // WAIT_TIMEOUT answers before each process ends
  // Exit code of launch i (0 beyond the list); GetExitCodeProcess fails
  // when exit_code_ok is false.
  std::vector<uint32_t> exit_codes;
  bool exit_code_ok = true;

  // --- Run log ---
  // Opens of a path answered with 32 (busy) before one succeeds; paths whose
  // opens fail with the given error; an error for every write.
  std::map<std::string, int> busy_opens;
  std::map<std::string, uint32_t> open_errors;
  uint32_t write_file_error = 0;
  LocalTime local_time{2026, 12, 11, 8, 2, 13};
  uint32_t tick = 1000;  // advanced by Sleep
  std::vector<uint32_t> sleeps;
  int open_files = 0;

  // --- Restart ---
  bool open_token_ok = true;
  uint32_t token_access = 0;
  std::vector<std::string> privilege_lookups;
  int privilege_adjustments = 0;
  uint32_t adjusted_attributes = 0;
  int token_closes = 0;
  std::vector<uint32_t> exit_windows_flags;

  // Calls that change the machine, in order: "SetComputerName NAME",
  // "RegSetValue PATH\NAME=DATA", "CreateProcess LINE", "AdjustToken",
  // "ExitWindows FLAGS".
  std::vector<std::string> events;
  // Everything above and the message boxes and log file writes, in order:
  // events, "MessageBox TEXT", "AppendFile PATH".
  std::vector<std::string> sequence;

  // Everything written to standard output, joined.
  std::string StdoutText() const;
  // Helpers for building machines.
  void AddAdapter(const std::u16string& name, const std::string& mac_hex,
                  uint32_t if_type = 6,
                  std::vector<UnicastAddress> unicast = {});
  void UseGbkLeadBytes();
  void UseBig5LeadBytes();
  void SetRegistryValue(const std::string& key_path, const std::string& name,
                        uint32_t type, const std::string& data);
  const RegValue* FindRegistryValue(const std::string& key_path,
                                    const std::string& name) const;

  // SystemInterface.
  uint32_t GetOEMCP() override;
  StdoutKind StandardOutputKind() override;
  uint32_t WriteStandardOutput(std::string_view bytes) override;
  void ShowMessageBox(const std::string& caption,
                      const std::string& text) override;
  std::string GetModuleFileName() override;
  uint32_t GetAdaptersAddresses(uint32_t family, uint32_t flags, uint32_t* size,
                                std::vector<AdapterEntry>* out) override;
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

 private:
  // The key path a handle (root or opened key) stands for.
  std::string KeyPath(RegKey key) const;
  std::string JoinKey(RegKey base, const std::string& name) const;
  // Records a change of the machine in events and sequence.
  void Event(std::string event);
  std::map<Handle, std::string> open_paths_;
  RegKey next_key_ = 1;
  Handle next_handle_ = 0x100;
  int remaining_timeouts_ = 0;
};

}  // namespace hostconfig
