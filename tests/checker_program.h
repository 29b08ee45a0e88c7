// hostconfig-check run as an administrator runs it: on files in a folder of
// the test's own, with its output and errors kept.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "checker/checker.h"

namespace hostconfig {

class CheckerProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
    dir_ = std::filesystem::temp_directory_path() /
           ("hostconfig_checker_" + std::to_string(unit.random_seed()) + "_" +
            unit.current_test_info()->test_suite_name() + "_" +
            unit.current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Writes bytes to a file of the folder (or appends them); its path.
  std::string Write(const std::string& name, const std::string& bytes,
                    std::ios::openmode mode = std::ios::trunc) {
    std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary | std::ios::out | mode) << bytes;
    return path;
  }

  // Runs the checker; its output and errors are in out_ and err_.
  int Run(const std::vector<std::string>& args) {
    out_.str("");
    err_.str("");
    return RunChecker(args, out_, err_);
  }

  std::filesystem::path dir_;
  std::ostringstream out_, err_;
};

}  // namespace hostconfig
