// The Windows entry point. Arguments are ignored: the run takes everything
// it needs from the machine and the settings file.
#include "app/run.h"
#include "os/win32_system.h"

int main() {
  hostconfig::Win32System system;
  return hostconfig::RunProgram(system);
}
