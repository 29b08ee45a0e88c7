// RestrictDllSearch for systems without a Windows DLL search: nothing to do.
#include "os/dll_search.h"

namespace hostconfig {

void RestrictDllSearch() {}

}  // namespace hostconfig
