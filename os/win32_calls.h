// The Windows headers and the small conversions between the seam's types
// and Win32 handles, shared by the files of the Win32 implementation.
// Compiled only for Windows; nothing outside os/ includes it.
#pragma once

// winsock2.h first: iptypes.h declares the adapter structures only after it.
// iphlpapi.h is included for the structures only: the IP helper library is
// loaded at run time from the system directory (see LoadIpHelper).
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

// windows.h maps these names to their A or W forms; the seam's members carry
// the plain names and call the A forms explicitly.
#undef CreateProcess
#undef ExpandEnvironmentStrings
#undef FindFirstFile
#undef CharUpper
#undef GetComputerName
#undef GetModuleFileName
#undef GetVersionEx
#undef LookupPrivilegeValue
#undef RegCreateKeyEx
#undef RegOpenKeyEx
#undef RegDeleteValue
#undef RegQueryValueEx
#undef RegSetValueEx
#undef SetComputerName

#include "os/win32_system.h"

namespace hostconfig {

// The predefined roots keep their numbers in RegKey; on 64-bit Windows the
// HKEY constants are those numbers sign-extended, so map them by name.
inline HKEY ToHkey(RegKey key) {
  switch (key) {
    case kHkeyClassesRoot:
      return HKEY_CLASSES_ROOT;
    case kHkeyCurrentUser:
      return HKEY_CURRENT_USER;
    case kHkeyLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case kHkeyUsers:
      return HKEY_USERS;
    case kHkeyCurrentConfig:
      return HKEY_CURRENT_CONFIG;
    case kHkeyDynData:
      return HKEY_DYN_DATA;
    default:
      return reinterpret_cast<HKEY>(key);
  }
}
inline RegKey FromHkey(HKEY key) { return reinterpret_cast<RegKey>(key); }
inline HANDLE ToHandle(Handle handle) { return reinterpret_cast<HANDLE>(handle); }
inline Handle FromHandle(HANDLE handle) { return reinterpret_cast<Handle>(handle); }

// The byte length of a text as the Win32 calls take it. hostconfig's texts
// are far below 2 GiB; a longer one is cut rather than wrapped.
inline int Length(size_t size) {
  return size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(size);
}

}  // namespace hostconfig
