// --here on Windows: the PC the checker runs on, through the same seam the
// run uses.
#include "checker/here.h"
#include "os/win32_system.h"

namespace hostconfig {

SystemInterface* ThisPc() {
  static Win32System system;
  return &system;
}

}  // namespace hostconfig
