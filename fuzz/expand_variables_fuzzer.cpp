// ExpandPercentVariables with a fuzzed text and a fuzzed environment,
// including values that refer to themselves or to each other.
//
// Checks: it ends; the text before the first "%" is kept; a text without
// "%" is unchanged; the result stays within the length bound; and the result
// equals a model that follows the passes literally: delete the first "%",
// take the name up to the next "%", insert its expansion, stop when a pass
// finds its first "%" where the previous pass found it.
#include <cstddef>
#include <cstdint>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/fuzz_check.h"
#include "system/command_runner.h"
#include "tests/fake_machine.h"

namespace hostconfig {
namespace {

constexpr size_t kLengthBound = 32767;

std::string ModelExpand(FakeMachine& machine, std::string text) {
  size_t remembered = std::string::npos;
  while (text.size() <= kLengthBound) {
    size_t p = text.find('%');
    if (p == std::string::npos || p == remembered) break;
    remembered = p;
    text.erase(p, 1);
    size_t q = text.find('%', p);
    if (q == std::string::npos) break;
    std::string name = text.substr(p, q - p);
    text.erase(p, name.size() + 1);
    if (!name.empty())
      text.insert(p, machine.ExpandEnvironmentStrings("%" + name + "%"));
  }
  return text;
}

}  // namespace
}  // namespace hostconfig

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace hostconfig;
  FuzzedDataProvider input(data, size);
  FakeMachine machine;
  machine.environment.clear();
  static const char* const kNames[] = {"WinDir", "A", "b", "LONG_NAME", "X Y"};
  size_t longest_value = 0;
  const int variables = input.ConsumeIntegralInRange(0, 5);
  for (int i = 0; i < variables; ++i) {
    std::string name = input.ConsumeBool()
                           ? std::string(kNames[input.ConsumeIntegralInRange(0, 4)])
                           : input.ConsumeRandomLengthString(12);
    if (name.empty() || name.find('%') != std::string::npos) continue;
    std::string value = input.ConsumeRandomLengthString(300);
    switch (input.ConsumeIntegralInRange(0, 3)) {
      case 1: value += "%" + name + "%"; break;               // refers to itself
      case 2: value = "%" + name + "%" + value; break;         // starts with "%"
      case 3: value += "%" + std::string(kNames[i % 5]) + "%"; break;
      default: break;
    }
    longest_value = std::max(longest_value, value.size());
    machine.environment[name] = value;
  }
  const std::string text = input.ConsumeRemainingBytesAsString();

  std::string expanded = text;
  ExpandPercentVariables(machine, &expanded);

  const size_t first = text.find('%');
  if (first == std::string::npos) {
    FUZZ_CHECK_EQ(expanded, text);
  } else {
    FUZZ_CHECK_EQ(expanded.substr(0, first), text.substr(0, first));
  }
  FUZZ_CHECK(expanded.size() <= std::max(text.size(), kLengthBound + longest_value));
  FUZZ_CHECK_EQ(expanded, ModelExpand(machine, text));
  FUZZ_CHECK(machine.events.empty());
  return 0;
}
