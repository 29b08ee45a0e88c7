// Registry text to integer, SplitFirstElement, and ReadRegistryInteger and
// WriteRegistryString on a fake registry whose value and path are fuzzed.
//
// TextToInteger is compared with a model built on std::from_chars; the
// registry calls must never leave a key open, the read must never create a
// key or write, and a value at a known path must read as its type says.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/fuzz_check.h"
#include "system/registry_path.h"
#include "tests/fake_machine.h"

namespace hostconfig {
namespace {

bool AllOf(std::string_view text, bool (*accept)(char)) {
  for (char c : text)
    if (!accept(c)) return false;
  return !text.empty();
}

bool IsDecimal(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) {
  return IsDecimal(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The accepted forms, parsed with from_chars over the digits without their
// leading zeros (so that any number of them is accepted).
bool ModelTextToInteger(std::string_view text, int32_t* value) {
  *value = 0;
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  int base = 10;
  bool negative = false;
  for (std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
    if (text.substr(0, prefix.size()) == prefix) {
      text.remove_prefix(prefix.size());
      base = 16;
      break;
    }
  }
  if (base == 10 && !text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (!AllOf(text, base == 16 ? IsHex : IsDecimal)) return false;
  while (text.size() > 1 && text.front() == '0') text.remove_prefix(1);
  if (text.size() > 10) return false;
  uint64_t number = 0;
  std::from_chars(text.data(), text.data() + text.size(), number, base);
  const uint64_t limit = base == 16 ? 0xFFFFFFFFu : negative ? 2147483648u : 2147483647u;
  if (number > limit) return false;
  uint32_t bits = static_cast<uint32_t>(number);
  if (negative) bits = 0u - bits;
  *value = static_cast<int32_t>(bits);
  return true;
}

int32_t LittleEndian(const std::string& bytes) {
  uint32_t value = 0;
  for (size_t i = 0; i < bytes.size() && i < 4; ++i)
    value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
  return static_cast<int32_t>(value);
}

}  // namespace
}  // namespace hostconfig

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace hostconfig;
  FuzzedDataProvider input(data, size);

  // Text to integer.
  const std::string text = input.ConsumeRandomLengthString(40);
  int32_t actual = 12345;
  int32_t expected = 0;
  const bool accepted = TextToInteger(text, &actual);
  FUZZ_CHECK_EQ(accepted, ModelTextToInteger(text, &expected));
  FUZZ_CHECK_EQ(actual, expected);
  // Every number written out in each accepted form reads back.
  const int32_t number = input.ConsumeIntegral<int32_t>();
  char digits[16];
  auto end = std::to_chars(digits, digits + sizeof digits,
                           static_cast<uint32_t>(number), 16).ptr;
  for (std::string form : {std::to_string(number), "$" + std::string(digits, end),
                           "  0X" + std::string(digits, end)}) {
    FUZZ_CHECK(TextToInteger(form, &actual));
    FUZZ_CHECK_EQ(actual, number);
  }

  // SplitFirstElement: the element and the rest give the path back.
  const std::string path = input.ConsumeRandomLengthString(60);
  std::string rest = path;
  std::string element;
  SplitFirstElement(&rest, &element);
  const size_t slash = path.find('\\');
  if (slash == std::string::npos || slash == 0) {
    FUZZ_CHECK_EQ(element, path);
    FUZZ_CHECK(rest.empty());
  } else {
    FUZZ_CHECK_EQ(element + "\\" + rest, path);
    FUZZ_CHECK(element.find('\\') == std::string::npos);
  }

  // A value of fuzzed type and bytes at a known path.
  FakeMachine machine;
  const uint32_t type = input.ConsumeIntegralInRange<uint32_t>(0, 12);
  const std::string bytes = input.ConsumeRandomLengthString(16);
  machine.SetRegistryValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\Lab", "Value", type, bytes);
  int32_t want = 0;
  if (type == kRegSz || type == kRegExpandSz) {
    ModelTextToInteger(bytes.substr(0, bytes.find('\0')), &want);
  } else if (type == kRegDword) {
    want = bytes.size() <= 4 ? LittleEndian(bytes) : 0;  // longer: more data
  } else if (type == kRegBinary && bytes.size() == 4) {
    want = LittleEndian(bytes);
  }
  FUZZ_CHECK_EQ(ReadRegistryInteger(machine, "hkey_local_machine\\SOFTWARE\\Lab",
                                    "Value"),
                want);

  // Fuzzed paths: the read changes nothing, no call leaves a key open.
  const std::string fuzzed_path = input.ConsumeRandomLengthString(80);
  const std::string value_name = input.ConsumeRandomLengthString(10);
  ReadRegistryInteger(machine, fuzzed_path, value_name);
  FUZZ_CHECK_EQ(machine.open_keys, 0);
  FUZZ_CHECK_EQ(machine.created_keys, 0);
  FUZZ_CHECK(machine.events.empty());
  const std::string value = input.ConsumeRemainingBytesAsString();
  if (WriteRegistryString(machine, fuzzed_path, value_name, value)) {
    FUZZ_CHECK_EQ(machine.events.size(), 1ul);
    FUZZ_CHECK(machine.events[0].ends_with("=" + value + std::string(1, '\0')));
  }
  FUZZ_CHECK_EQ(machine.open_keys, 0);
  FUZZ_CHECK(machine.max_open_keys <= 2);  // the next key opens before the last closes
  return 0;
}
