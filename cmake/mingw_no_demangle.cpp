// Linked into the MinGW executables only. The static C++ runtime's terminate
// handler would pull in the whole symbol demangler (about 46 KiB) to print
// the type of an uncaught exception; hostconfig catches its failures, so the
// handler may print the raw type name instead.
#include <cstddef>

extern "C" char* __cxa_demangle(const char* /*mangled*/, char* /*buffer*/,
                                std::size_t* /*length*/, int* status) {
  if (status != nullptr) *status = -2;  // "not a valid mangled name"
  return nullptr;
}
