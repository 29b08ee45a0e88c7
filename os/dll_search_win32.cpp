// RestrictDllSearch on Windows. SetDefaultDllDirectories is newer than XP,
// and SetDllDirectoryA than XP without a service pack, so both are looked up
// in kernel32 at run time and the executables still load on any XP; where
// one is missing that part of the search stays as the system has it.
#include <windows.h>

#include "os/dll_search.h"

namespace hostconfig {
namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32; XP's headers do not define it.
constexpr DWORD kSearchSystem32 = 0x800;

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryAFn = BOOL(WINAPI*)(LPCSTR);

// GetProcAddress as a typed function pointer, or null.
template <typename Function>
Function Resolve(HMODULE module, const char* name) {
  // Through void (*)(), the one cast target that fits every function type.
  return reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

}  // namespace

void RestrictDllSearch() {
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) return;
  // Windows 8 and later, and Vista and 7 with update 2533623: a load by
  // name looks in the system directory only, never in the executable's
  // folder. This also covers DLLs that system DLLs load on the process's
  // behalf.
  if (auto set_default = Resolve<SetDefaultDllDirectoriesFn>(
          kernel, "SetDefaultDllDirectories"))
    set_default(kSearchSystem32);
  // XP SP1 and later: an empty directory takes the working directory out of
  // the search order.
  if (auto set_directory =
          Resolve<SetDllDirectoryAFn>(kernel, "SetDllDirectoryA"))
    set_directory("");
}

}  // namespace hostconfig
