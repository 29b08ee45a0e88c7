#include <gtest/gtest.h>
#include "tests/fake_machine.h"
namespace hostconfig {
TEST(FakeMachine, ExpandsDefinedVariablesOnly) {
  FakeMachine m;
  EXPECT_EQ("C:\\WINDOWS\\x %NOPE% y", m.ExpandEnvironmentStrings("%windir%\\x %NOPE% y"));
}
}  // namespace hostconfig
