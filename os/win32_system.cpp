// SystemInterface on the Windows API: each member is one call (or one short
// sequence of calls) with the C++ types turned into handles and structures.
// This file: the console, the adapters, text, the version, the settings
// file and the registry; win32_process.cpp holds the rest.
#include <cstring>
#include <string>
#include <vector>

#include "os/win32_calls.h"

namespace hostconfig {

uint32_t Win32System::GetOEMCP() { return ::GetOEMCP(); }

StdoutKind Win32System::StandardOutputKind() {
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == INVALID_HANDLE_VALUE || out == nullptr) return StdoutKind::kNone;
  switch (::GetFileType(out)) {
    case FILE_TYPE_CHAR:
      return StdoutKind::kCharacterDevice;
    case FILE_TYPE_DISK:
      return StdoutKind::kFile;
    case FILE_TYPE_PIPE:
      return StdoutKind::kPipe;
    default:
      return StdoutKind::kUnknown;
  }
}

uint32_t Win32System::WriteStandardOutput(std::string_view bytes) {
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  while (!bytes.empty()) {
    DWORD written = 0;
    DWORD chunk = static_cast<DWORD>(Length(bytes.size()));
    if (!::WriteFile(out, bytes.data(), chunk, &written, nullptr))
      return ::GetLastError();
    if (written != chunk) return 101;  // a short write: the device is full
    bytes.remove_prefix(written);
  }
  return 0;
}

namespace {

HHOOK g_box_hook = nullptr;

// Labels the box's one button "OK" in every language: the system would
// otherwise label it in the user interface language.
LRESULT CALLBACK LabelOkButton(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE) {
    ::SetDlgItemTextA(reinterpret_cast<HWND>(wparam), IDOK, "OK");
    ::UnhookWindowsHookEx(g_box_hook);
    g_box_hook = nullptr;
    return 0;
  }
  return ::CallNextHookEx(g_box_hook, code, wparam, lparam);
}

}  // namespace

void Win32System::ShowMessageBox(const std::string& caption,
                                 const std::string& text) {
  // MB_OK without an icon; Enter and Escape both close a box with one button.
  g_box_hook = ::SetWindowsHookExA(WH_CBT, LabelOkButton, nullptr,
                                   ::GetCurrentThreadId());
  ::MessageBoxA(nullptr, text.c_str(), caption.c_str(),
                MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
  if (g_box_hook != nullptr) {
    ::UnhookWindowsHookEx(g_box_hook);
    g_box_hook = nullptr;
  }
}

std::string Win32System::GetModuleFileName() {
  // A result that fills the whole buffer means the path was cut: grow, retry.
  std::vector<char> buffer(MAX_PATH + 1);
  for (;;) {
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), size);
    if (length == 0) return std::string();
    if (length < size || buffer.size() >= 0x10000)
      return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

namespace {

using GetAdaptersAddressesFn = ULONG(WINAPI*)(ULONG, ULONG, PVOID,
                                              PIP_ADAPTER_ADDRESSES, PULONG);

// What GetAdaptersAddresses answers when the IP helper library, or its
// function, cannot be had: the loader's own codes. Neither is 111, so the
// run goes on as after any failed adapter query (no adapter).
constexpr uint32_t kErrorModNotFound = 126;
constexpr uint32_t kErrorProcNotFound = 127;

// The IP helper library, loaded on first use and kept for the process.
struct IpHelper {
  bool tried = false;
  GetAdaptersAddressesFn get_adapters_addresses = nullptr;
  uint32_t failure = 0;  // why get_adapters_addresses is null
};
IpHelper g_ip_helper;

// The full path of `file` in the system directory; empty when the system
// directory cannot be read.
std::string InSystemDirectory(const char* file) {
  std::vector<char> directory(MAX_PATH + 1);
  for (int attempt = 0; attempt < 2; ++attempt) {
    UINT size = static_cast<UINT>(directory.size());
    UINT length = ::GetSystemDirectoryA(directory.data(), size);
    if (length == 0) break;
    if (length < size)
      return std::string(directory.data(), length) + "\\" + file;
    directory.resize(length);  // too small: length is the size needed
  }
  return std::string();
}

// iphlpapi.dll is not on the KnownDLLs list: loaded by name, the loader
// would look for it in the executable's folder first, and the executable
// runs elevated from a share. So it is loaded by its full path in the system
// directory, and LOAD_WITH_ALTERED_SEARCH_PATH makes the loader look for its
// own dependencies in that directory too.
const IpHelper& LoadIpHelper() {
  if (g_ip_helper.tried) return g_ip_helper;
  g_ip_helper.tried = true;
  g_ip_helper.failure = kErrorModNotFound;
  std::string path = InSystemDirectory("iphlpapi.dll");
  if (path.empty()) return g_ip_helper;
  HMODULE module = ::LoadLibraryExA(path.c_str(), nullptr,
                                    LOAD_WITH_ALTERED_SEARCH_PATH);
  if (module == nullptr) return g_ip_helper;
  // The module stays loaded for the rest of the process.
  FARPROC function = ::GetProcAddress(module, "GetAdaptersAddresses");
  if (function == nullptr) {
    g_ip_helper.failure = kErrorProcNotFound;
    return g_ip_helper;
  }
  // Through void (*)(), the one cast target that fits every function type.
  g_ip_helper.get_adapters_addresses = reinterpret_cast<GetAdaptersAddressesFn>(
      reinterpret_cast<void (*)()>(function));
  g_ip_helper.failure = 0;
  return g_ip_helper;
}

}  // namespace

uint32_t Win32System::GetAdaptersAddresses(uint32_t family, uint32_t flags,
                                           uint32_t* size,
                                           std::vector<AdapterEntry>* adapters) {
  const IpHelper& ip_helper = LoadIpHelper();
  if (ip_helper.get_adapters_addresses == nullptr) return ip_helper.failure;
  ULONG length = *size;
  if (adapters == nullptr) {
    ULONG result = ip_helper.get_adapters_addresses(family, flags, nullptr,
                                                    nullptr, &length);
    *size = length;
    return result;
  }
  // ULONGLONG elements keep the structures 8-byte aligned.
  std::vector<ULONGLONG> buffer((length + sizeof(ULONGLONG) - 1) /
                                    sizeof(ULONGLONG) +
                                1);
  auto* first = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
  ULONG result = ip_helper.get_adapters_addresses(family, flags, nullptr, first,
                                                  &length);
  *size = length;
  if (result != NO_ERROR) return result;
  adapters->clear();
  for (const IP_ADAPTER_ADDRESSES* a = first; a != nullptr; a = a->Next) {
    AdapterEntry entry;
    if (a->FriendlyName != nullptr) {
      for (const wchar_t* c = a->FriendlyName; *c != L'\0'; ++c)
        entry.friendly_name += static_cast<char16_t>(*c);
    }
    std::memcpy(entry.physical_address.data(), a->PhysicalAddress,
                entry.physical_address.size());
    entry.if_type = a->IfType;
    entry.if_index = a->IfIndex;
    for (const IP_ADAPTER_UNICAST_ADDRESS* u = a->FirstUnicastAddress;
         u != nullptr; u = u->Next) {
      UnicastAddress address;
      if (u->Address.lpSockaddr != nullptr)
        address.family = u->Address.lpSockaddr->sa_family;
      address.prefix_origin = u->PrefixOrigin;
      address.suffix_origin = u->SuffixOrigin;
      entry.unicast.push_back(address);
    }
    adapters->push_back(std::move(entry));
  }
  return result;
}

std::string Win32System::WideCharToMultiByte(std::u16string_view text,
                                             bool* lossy) {
  if (lossy != nullptr) *lossy = false;
  if (text.empty()) return std::string();
  std::wstring wide(text.begin(), text.end());
  int wide_length = Length(wide.size());
  int length = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_length,
                                     nullptr, 0, nullptr, nullptr);
  if (length <= 0) {
    if (lossy != nullptr) *lossy = true;
    return std::string();
  }
  std::string out(static_cast<size_t>(length), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_length, out.data(), length,
                        nullptr, nullptr);
  if (lossy != nullptr) {
    // The default character and best-fit look-alikes both show as a
    // difference once the text is converted back.
    int back = ::MultiByteToWideChar(CP_ACP, 0, out.data(), length, nullptr, 0);
    std::wstring round(static_cast<size_t>(back > 0 ? back : 0), L'\0');
    if (back > 0)
      ::MultiByteToWideChar(CP_ACP, 0, out.data(), length, round.data(), back);
    *lossy = round != wide;
  }
  return out;
}

std::string Win32System::CharUpper(std::string_view text) {
  std::string out(text);
  if (!out.empty())
    ::CharUpperBuffA(out.data(), static_cast<DWORD>(Length(out.size())));
  return out;
}

uint32_t Win32System::GetLastError() { return ::GetLastError(); }

std::string Win32System::LocaleDecimalSeparator() {
  char separator[8] = {};
  if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator,
                       sizeof separator) <= 0 ||
      separator[0] == '\0')
    return ".";
  return std::string(1, separator[0]);
}

static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA is 148 bytes");

bool Win32System::GetVersionEx(uint32_t* major, uint32_t* minor) {
  OSVERSIONINFOA info;
  std::memset(&info, 0, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;
  if (!::GetVersionExA(&info)) return false;
  *major = info.dwMajorVersion;
  *minor = info.dwMinorVersion;
  return true;
}

FileProbe Win32System::FindFirstFile(const std::string& path) {
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA(path.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return FileProbe{};
  ::FindClose(find);
  return FileProbe{true, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0};
}

bool Win32System::ReadWholeFile(const std::string& path, std::string* bytes) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes->clear();
  DWORD size = ::GetFileSize(file, nullptr);
  if (size != INVALID_FILE_SIZE) {
    bytes->resize(size);
    DWORD total = 0;
    while (total < size) {
      DWORD got = 0;
      if (!::ReadFile(file, bytes->data() + total, size - total, &got,
                      nullptr) ||
          got == 0)
        break;
      total += got;
    }
    bytes->resize(total);
  }
  ::CloseHandle(file);
  return true;
}

bool Win32System::CompareStringIgnoreCase(std::string_view a,
                                          std::string_view b) {
  return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                          Length(a.size()), b.data(),
                          Length(b.size())) == CSTR_EQUAL;
}

LeadBytes Win32System::AnsiLeadBytes() {
  LeadBytes lead{};
  if (::GetSystemMetrics(SM_DBCSENABLED) == 0) return lead;
  CPINFO info;
  if (!::GetCPInfo(CP_ACP, &info)) return lead;
  // Pairs of range bounds, ended by a pair of zeros.
  for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
    for (unsigned b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b)
      lead[b] = true;
  }
  return lead;
}

int32_t Win32System::RegOpenKeyEx(RegKey base, const std::string& name,
                                  uint32_t access, RegKey* key) {
  HKEY opened = nullptr;
  LONG result = ::RegOpenKeyExA(ToHkey(base), name.c_str(), 0, access, &opened);
  if (result == ERROR_SUCCESS) *key = FromHkey(opened);
  return result;
}

int32_t Win32System::RegCreateKeyEx(RegKey base, const std::string& name,
                                    uint32_t access, RegKey* key) {
  HKEY created = nullptr;
  DWORD disposition = 0;
  LONG result = ::RegCreateKeyExA(ToHkey(base), name.c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, access, nullptr,
                                  &created, &disposition);
  if (result == ERROR_SUCCESS) *key = FromHkey(created);
  return result;
}

int32_t Win32System::RegQueryValueEx(RegKey key, const std::string& value_name,
                                     uint32_t* type, uint32_t* size,
                                     std::string* data) {
  DWORD value_type = 0;
  DWORD length = *size;
  LONG result;
  if (data == nullptr) {
    result = ::RegQueryValueExA(ToHkey(key), value_name.c_str(), nullptr,
                                &value_type, nullptr, &length);
  } else {
    std::string buffer(length, '\0');
    result = ::RegQueryValueExA(ToHkey(key), value_name.c_str(), nullptr,
                                &value_type,
                                reinterpret_cast<BYTE*>(buffer.data()), &length);
    if (result == ERROR_SUCCESS) {
      buffer.resize(length < buffer.size() ? length : buffer.size());
      *data = std::move(buffer);
    }
  }
  if (type != nullptr) *type = value_type;
  *size = length;
  return result;
}

int32_t Win32System::RegSetValueEx(RegKey key, const std::string& value_name,
                                   uint32_t type, std::string_view data) {
  return ::RegSetValueExA(ToHkey(key), value_name.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size()));
}

int32_t Win32System::RegDeleteValue(RegKey key, const std::string& value_name) {
  return ::RegDeleteValueA(ToHkey(key), value_name.c_str());
}

int32_t Win32System::RegCloseKey(RegKey key) {
  return ::RegCloseKey(ToHkey(key));
}

}  // namespace hostconfig
