// hostconfig-check: checks a settings file, or previews one machine's run.
#include <iostream>
#include <string>
#include <vector>

#include "checker/checker.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return hostconfig::RunChecker(args, std::cout, std::cerr);
}
