#include "checker/read_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <system_error>

namespace hostconfig {

bool ReadNamedFile(const std::string& path, std::string* bytes,
                   std::ostream& err) {
  std::error_code error;
  std::filesystem::file_status status = std::filesystem::status(path, error);
  const char* problem = nullptr;
  if (error || !std::filesystem::exists(status)) {
    problem = "no such file";
  } else if (std::filesystem::is_directory(status)) {
    problem = "is a directory";
  } else {
    std::ifstream file(path, std::ios::binary);
    bytes->assign(std::istreambuf_iterator<char>(file),
                  std::istreambuf_iterator<char>());
    if (!file || file.bad()) problem = "cannot be read";
  }
  if (problem == nullptr) return true;
  err << "hostconfig-check: " << path << ": " << problem << "\n";
  return false;
}

}  // namespace hostconfig
