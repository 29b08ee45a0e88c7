// The one door to the operating system.
//
// Every Windows call that hostconfig makes goes through SystemInterface, with
// C++ types in place of handles and structures. The Win32 implementation
// (win32_system.cpp) is compiled only into the Windows executables; the tests
// use an in-memory fake machine. Nothing outside os/ includes a platform header.
//
// All texts are byte strings in the system's ANSI code page unless a comment
// says otherwise.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hostconfig {

// What standard output is, as GetStdHandle and GetFileType report it.
enum class StdoutKind { kNone, kCharacterDevice, kFile, kPipe, kUnknown };

// One unicast address of an adapter: the fields of IP_ADAPTER_UNICAST_ADDRESS
// that discovery reads.
struct UnicastAddress {
  uint16_t family = 0;  // sa_family of the socket address (2 IPv4, 23 IPv6)
  int prefix_origin = 0;
  int suffix_origin = 0;
};

// One adapter: the fields of IP_ADAPTER_ADDRESSES that discovery reads.
struct AdapterEntry {
  std::u16string friendly_name;  // UTF-16; empty when the system gave none
  std::array<uint8_t, 8> physical_address{};  // as the structure holds them
  uint32_t if_type = 0;
  uint32_t if_index = 0;  // IfIndex: the IPv4 interface index
  std::vector<UnicastAddress> unicast;
};

// lead[b] is true when byte b starts a double-byte character of the ANSI code
// page. All false on systems without double-byte support.
using LeadBytes = std::array<bool, 256>;

// Whether a path names something, and whether that is a directory.
struct FileProbe {
  bool found = false;
  bool directory = false;
};

// Registry keys are opaque numbers. The predefined roots keep their Win32
// values so that the real implementation can pass them through.
using RegKey = uintptr_t;
inline constexpr RegKey kHkeyClassesRoot = 0x80000000u;
inline constexpr RegKey kHkeyCurrentUser = 0x80000001u;
inline constexpr RegKey kHkeyLocalMachine = 0x80000002u;
inline constexpr RegKey kHkeyUsers = 0x80000003u;
inline constexpr RegKey kHkeyCurrentConfig = 0x80000005u;
inline constexpr RegKey kHkeyDynData = 0x80000006u;

// Registry value types and results used by hostconfig.
inline constexpr uint32_t kRegNone = 0;
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegDwordBigEndian = 5;
inline constexpr uint32_t kRegLink = 6;
inline constexpr uint32_t kRegMultiSz = 7;
inline constexpr uint32_t kRegQword = 11;
inline constexpr uint32_t kKeyAllAccess = 0xF003F;
inline constexpr int32_t kErrorSuccess = 0;

// Kernel handles (process, thread, token) are opaque numbers too.
using Handle = uintptr_t;

// The members of STARTUPINFOA that a launch sets; every other member is zero.
struct StartupInfo {
  uint32_t cb = 0;
  uint32_t flags = 0;
  uint16_t show_window = 0;
};

struct ProcessInfo {
  Handle process = 0;
  Handle thread = 0;
};

inline constexpr uint32_t kWaitTimeout = 258;

// The members of SYSTEMTIME that the run log uses.
struct LocalTime {
  uint16_t year = 0, month = 0, day = 0;
  uint16_t hour = 0, minute = 0, second = 0;
};

class SystemInterface {
 public:
  virtual ~SystemInterface() = default;

  // --- Console and identity ---
  // GetOEMCP.
  virtual uint32_t GetOEMCP() = 0;
  // The kind of the process's standard output handle.
  virtual StdoutKind StandardOutputKind() = 0;
  // Writes all of bytes to standard output. Returns 0, or the system's error
  // code of the failed write (101 when the write was short).
  virtual uint32_t WriteStandardOutput(std::string_view bytes) = 0;
  // A modal box with one OK button and no icon; returns once it is closed.
  virtual void ShowMessageBox(const std::string& caption,
                              const std::string& text) = 0;
  // GetModuleFileNameA for the main module: the executable's full path,
  // however long.
  virtual std::string GetModuleFileName() = 0;

  // --- Adapters and version ---
  // GetAdaptersAddresses. With adapters == nullptr this is the size query:
  // it stores the buffer size needed in *size. Otherwise it fills a buffer of
  // *size bytes and, on success (0), decodes its list into *adapters.
  // Returns the system's result code (111 for a buffer too small).
  virtual uint32_t GetAdaptersAddresses(uint32_t family, uint32_t flags,
                                        uint32_t* size,
                                        std::vector<AdapterEntry>* adapters) = 0;
  // WideCharToMultiByte(CP_ACP, 0, ...): UTF-16 to the ANSI code page, with
  // the system's default character (or a best-fit look-alike) for what the
  // code page lacks. When lossy is not null it tells whether the result
  // differs from the text: converted back, it is not the same UTF-16.
  virtual std::string WideCharToMultiByte(std::u16string_view text,
                                          bool* lossy) = 0;
  // CharUpperBuffA: the text upper-cased by the system's rules for the ANSI
  // code page (letters beyond ASCII included).
  virtual std::string CharUpper(std::string_view text) = 0;
  // The first character of the user locale's decimal separator
  // (GetLocaleInfoA, LOCALE_SDECIMAL), or "." when it cannot be read.
  virtual std::string LocaleDecimalSeparator() = 0;
  // GetVersionExA with an OSVERSIONINFOA of 148 bytes. False when it fails.
  virtual bool GetVersionEx(uint32_t* major, uint32_t* minor) = 0;

  // --- Settings file ---
  // FindFirstFileA on the exact path.
  virtual FileProbe FindFirstFile(const std::string& path) = 0;
  // CreateFileA(GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING), then the whole
  // file read into *bytes and closed. False when the file cannot be opened.
  virtual bool ReadWholeFile(const std::string& path, std::string* bytes) = 0;
  // CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, b) == CSTR_EQUAL.
  virtual bool CompareStringIgnoreCase(std::string_view a,
                                       std::string_view b) = 0;
  // The ANSI code page's lead bytes (GetCPInfo) when GetSystemMetrics
  // reports double-byte support; all false otherwise.
  virtual LeadBytes AnsiLeadBytes() = 0;

  // --- Registry (the ANSI calls; results are Win32 error codes) ---
  virtual int32_t RegOpenKeyEx(RegKey base, const std::string& name,
                               uint32_t access, RegKey* key) = 0;
  // RegCreateKeyExA with REG_OPTION_NON_VOLATILE.
  virtual int32_t RegCreateKeyEx(RegKey base, const std::string& name,
                                 uint32_t access, RegKey* key) = 0;
  // RegQueryValueExA. With data == nullptr it reports type and size only;
  // otherwise it reads at most *size bytes into *data.
  virtual int32_t RegQueryValueEx(RegKey key, const std::string& value_name,
                                  uint32_t* type, uint32_t* size,
                                  std::string* data) = 0;
  virtual int32_t RegSetValueEx(RegKey key, const std::string& value_name,
                                uint32_t type, std::string_view data) = 0;
  virtual int32_t RegDeleteValue(RegKey key, const std::string& value_name) = 0;
  virtual int32_t RegCloseKey(RegKey key) = 0;

  // GetLastError: the error code of the last call that failed.
  virtual uint32_t GetLastError() = 0;

  // --- Computer name ---
  // GetComputerNameA into a buffer of `size` characters.
  virtual bool GetComputerName(uint32_t size, std::string* name) = 0;
  virtual bool SetComputerName(const std::string& name) = 0;

  // --- Commands ---
  // ExpandEnvironmentStringsA of the whole text, however long the result.
  virtual std::string ExpandEnvironmentStrings(const std::string& text) = 0;
  // CreateProcessA with no application name, no security attributes, no
  // creation flags and the caller's environment. directory may be null.
  virtual bool CreateProcess(const std::string& command_line,
                             bool inherit_handles, const std::string* directory,
                             const StartupInfo& startup,
                             ProcessInfo* process) = 0;
  virtual uint32_t WaitForSingleObject(Handle handle, uint32_t milliseconds) = 0;
  // GetExitCodeProcess. False when it fails.
  virtual bool GetExitCodeProcess(Handle process, uint32_t* code) = 0;
  virtual bool CloseHandle(Handle handle) = 0;

  // --- Run log ---
  // CreateFileA(path, FILE_APPEND_DATA, no sharing, OPEN_ALWAYS): opens a
  // file for appending that no one else may open meanwhile. Returns 0 with
  // *file set, or the system's error code (32 while another process holds
  // the file).
  virtual uint32_t OpenFileForAppend(const std::string& path, Handle* file) = 0;
  // GetFileSize of an open file. False when it fails.
  virtual bool GetFileSize(Handle file, uint64_t* size) = 0;
  // WriteFile of all of bytes, then FlushFileBuffers. Returns 0, or the
  // system's error code (112 for a full disk, also for a short write).
  virtual uint32_t WriteFileFlushed(Handle file, std::string_view bytes) = 0;
  // GetLocalTime.
  virtual LocalTime GetLocalTime() = 0;
  // GetTickCount: milliseconds since the system started.
  virtual uint32_t GetTickCount() = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;

  // --- Restart ---
  // OpenProcessToken(GetCurrentProcess(), access, token).
  virtual bool OpenProcessToken(uint32_t access, Handle* token) = 0;
  virtual bool LookupPrivilegeValue(const std::string& name, uint64_t* luid) = 0;
  // AdjustTokenPrivileges(token, FALSE, {1, {luid, attributes}}, 0, NULL, &0).
  virtual bool AdjustTokenPrivileges(Handle token, uint64_t luid,
                                     uint32_t attributes) = 0;
  virtual bool ExitWindowsEx(uint32_t flags, uint32_t reason) = 0;
};

}  // namespace hostconfig
