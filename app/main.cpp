// The Windows entry point. Arguments are ignored: the run takes everything
// it needs from the machine and the settings file.
#include "app/run.h"
#include "os/dll_search.h"
#include "os/win32_system.h"

int main() {
  // Before anything else: no DLL may come from the executable's folder or
  // the working directory.
  hostconfig::RestrictDllSearch();
  hostconfig::Win32System system;
  return hostconfig::RunProgram(system);
}
