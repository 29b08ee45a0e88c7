// --here outside Windows: there is no Windows PC to read.
#include "checker/here.h"

namespace hostconfig {

SystemInterface* ThisPc() { return nullptr; }

}  // namespace hostconfig
