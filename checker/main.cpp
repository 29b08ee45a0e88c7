// hostconfig-check: checks a settings file, or previews one machine's run.
#include <iostream>
#include <string>
#include <vector>

#include "checker/checker.h"
#include "os/dll_search.h"

int main(int argc, char** argv) {
  // Before anything else: no DLL may come from the executable's folder or
  // the working directory.
  hostconfig::RestrictDllSearch();
  std::vector<std::string> args(argv + 1, argv + argc);
  return hostconfig::RunChecker(args, std::cout, std::cerr);
}
