// SystemInterface on the Windows API, continued: the computer name, started
// processes, the run log's file, the clock and the restart.
#include <cstring>
#include <string>
#include <vector>

#include "os/win32_calls.h"

namespace hostconfig {

bool Win32System::GetComputerName(uint32_t size, std::string* name) {
  std::vector<char> buffer(size + 1u, '\0');
  DWORD length = size;
  if (!::GetComputerNameA(buffer.data(), &length)) return false;
  *name = std::string(buffer.data());
  return true;
}

bool Win32System::SetComputerName(const std::string& name) {
  return ::SetComputerNameA(name.c_str()) != FALSE;
}

std::string Win32System::ExpandEnvironmentStrings(const std::string& text) {
  // The result counts its terminating zero; grow until it fits.
  std::vector<char> buffer(260);
  for (;;) {
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD needed = ::ExpandEnvironmentStringsA(text.c_str(), buffer.data(), size);
    if (needed == 0) return text;
    if (needed <= size) return std::string(buffer.data());
    buffer.resize(needed);
  }
}

bool Win32System::CreateProcess(const std::string& command_line,
                                bool inherit_handles,
                                const std::string* directory,
                                const StartupInfo& startup,
                                ProcessInfo* process) {
  // CreateProcessA may write into the command line: give it its own copy.
  std::vector<char> line(command_line.begin(), command_line.end());
  line.push_back('\0');
  STARTUPINFOA info;
  std::memset(&info, 0, sizeof info);
  info.cb = startup.cb;
  info.dwFlags = startup.flags;
  info.wShowWindow = startup.show_window;
  PROCESS_INFORMATION created;
  std::memset(&created, 0, sizeof created);
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr,
                        inherit_handles ? TRUE : FALSE, 0, nullptr,
                        directory != nullptr ? directory->c_str() : nullptr,
                        &info, &created))
    return false;
  process->process = FromHandle(created.hProcess);
  process->thread = FromHandle(created.hThread);
  return true;
}

uint32_t Win32System::WaitForSingleObject(Handle handle,
                                          uint32_t milliseconds) {
  return ::WaitForSingleObject(ToHandle(handle), milliseconds);
}

bool Win32System::GetExitCodeProcess(Handle process, uint32_t* code) {
  DWORD value = 0;
  if (!::GetExitCodeProcess(ToHandle(process), &value)) return false;
  *code = value;
  return true;
}

bool Win32System::CloseHandle(Handle handle) {
  return ::CloseHandle(ToHandle(handle)) != FALSE;
}

uint32_t Win32System::OpenFileForAppend(const std::string& path,
                                        Handle* file) {
  HANDLE opened = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, 0, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return ::GetLastError();
  *file = FromHandle(opened);
  return 0;
}

bool Win32System::GetFileSize(Handle file, uint64_t* size) {
  DWORD high = 0;
  DWORD low = ::GetFileSize(ToHandle(file), &high);
  if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) return false;
  *size = (static_cast<uint64_t>(high) << 32) | low;
  return true;
}

uint32_t Win32System::WriteFileFlushed(Handle file, std::string_view bytes) {
  DWORD written = 0;
  DWORD length = static_cast<DWORD>(Length(bytes.size()));
  if (!::WriteFile(ToHandle(file), bytes.data(), length, &written, nullptr))
    return ::GetLastError();
  if (written != length) return ERROR_DISK_FULL;
  if (!::FlushFileBuffers(ToHandle(file))) return ::GetLastError();
  return 0;
}

LocalTime Win32System::GetLocalTime() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  LocalTime time;
  time.year = now.wYear;
  time.month = now.wMonth;
  time.day = now.wDay;
  time.hour = now.wHour;
  time.minute = now.wMinute;
  time.second = now.wSecond;
  return time;
}

uint32_t Win32System::GetTickCount() { return ::GetTickCount(); }

void Win32System::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

bool Win32System::OpenProcessToken(uint32_t access, Handle* token) {
  HANDLE opened = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), access, &opened)) return false;
  *token = FromHandle(opened);
  return true;
}

bool Win32System::LookupPrivilegeValue(const std::string& name,
                                       uint64_t* luid) {
  LUID value = {};
  if (!::LookupPrivilegeValueA(nullptr, name.c_str(), &value)) return false;
  *luid = (static_cast<uint64_t>(static_cast<uint32_t>(value.HighPart)) << 32) |
          value.LowPart;
  return true;
}

bool Win32System::AdjustTokenPrivileges(Handle token, uint64_t luid,
                                        uint32_t attributes) {
  TOKEN_PRIVILEGES privileges;
  std::memset(&privileges, 0, sizeof privileges);
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Luid.LowPart = static_cast<DWORD>(luid);
  privileges.Privileges[0].Luid.HighPart = static_cast<LONG>(luid >> 32);
  privileges.Privileges[0].Attributes = attributes;
  DWORD return_length = 0;
  return ::AdjustTokenPrivileges(ToHandle(token), FALSE, &privileges, 0,
                                 nullptr, &return_length) != FALSE;
}

bool Win32System::ExitWindowsEx(uint32_t flags, uint32_t reason) {
  return ::ExitWindowsEx(flags, reason) != FALSE;
}

}  // namespace hostconfig
