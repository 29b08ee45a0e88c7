// Reading a whole file that the checker was given by name.
#pragma once

#include <iosfwd>
#include <string>

namespace hostconfig {

// The file's bytes; false, with "hostconfig-check: PATH: reason" on err,
// when it is missing, a directory or cannot be read.
bool ReadNamedFile(const std::string& path, std::string* bytes,
                   std::ostream& err);

}  // namespace hostconfig
