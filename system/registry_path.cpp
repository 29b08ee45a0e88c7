#include "system/registry_path.h"

#include <array>
#include <string_view>
#include <utility>

#include "os/system_interface.h"
#include "util/ascii.h"

namespace hostconfig {

namespace {

struct RootName {
  std::string_view name;
  RegKey key;
};

// The root names a path may start with. HKEY_USERS has none: it falls back
// to HKEY_CURRENT_USER like every other unknown name.
constexpr std::array<RootName, 5> kRootNames = {{
    {"HKEY_CLASSES_ROOT", kHkeyClassesRoot},
    {"HKEY_CURRENT_USER", kHkeyCurrentUser},
    {"HKEY_LOCAL_MACHINE", kHkeyLocalMachine},
    {"HKEY_CURRENT_CONFIG", kHkeyCurrentConfig},
    {"HKEY_DYN_DATA", kHkeyDynData},
}};

RegKey RootFor(std::string element) {
  UpperCaseAscii(element);
  for (const RootName& root : kRootNames)
    if (element == root.name) return root.key;
  return kHkeyCurrentUser;
}

// The keys of one path, opened level by level. Holds at most one key between
// steps; the key still open is closed when the context goes out of scope, on
// every path out of the calling operation.
class RegistryContext {
 public:
  explicit RegistryContext(SystemInterface& system) : system_(system) {}
  RegistryContext(const RegistryContext&) = delete;
  RegistryContext& operator=(const RegistryContext&) = delete;
  ~RegistryContext() {
    if (current_ != 0) system_.RegCloseKey(current_);
  }

  // Chooses the root from the first element of path, then opens every
  // further element (creating missing keys when create is set). False when
  // a key could not be opened or created.
  bool Open(std::string path, bool create) {
    std::string element;
    SplitFirstElement(&path, &element);
    RegKey root = RootFor(element);
    while (!path.empty()) {
      SplitFirstElement(&path, &element);
      RegKey base = current_ != 0 ? current_ : root;
      if (element.front() == '\\') {
        // Only the rest of a path after a doubled backslash starts with one:
        // it is opened in one call relative to the root.
        element.erase(0, 1);
        base = root;
      }
      RegKey key = 0;
      int32_t result =
          create && !element.empty()
              ? system_.RegCreateKeyEx(base, element, kKeyAllAccess, &key)
              : system_.RegOpenKeyEx(base, element, kKeyAllAccess, &key);
      if (result != kErrorSuccess) return false;
      if (current_ != 0) system_.RegCloseKey(current_);
      current_ = key;
    }
    return true;
  }

  // The key opened last, or 0 when the path named no key below its root.
  RegKey current() const { return current_; }

 private:
  SystemInterface& system_;
  RegKey current_ = 0;
};

int32_t LittleEndian32(std::string_view bytes) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4 && i < bytes.size(); ++i)
    value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i]))
             << (8 * i);
  return static_cast<int32_t>(value);
}

int HexDigit(char c) {
  if (IsAsciiDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void SplitFirstElement(std::string* path, std::string* element) {
  size_t slash = path->find('\\');
  if (slash == std::string::npos || slash == 0) {
    *element = std::move(*path);
    path->clear();
    return;
  }
  *element = path->substr(0, slash);
  path->erase(0, slash + 1);
}

bool WriteRegistryString(SystemInterface& system, std::string path,
                         const std::string& value_name,
                         const std::string& value) {
  RegistryContext context(system);
  if (!context.Open(std::move(path), /*create=*/true) || context.current() == 0)
    return false;
  std::string data = value;
  data.push_back('\0');
  return system.RegSetValueEx(context.current(), value_name, kRegSz, data) ==
         kErrorSuccess;
}

std::string ReadRegistryString(SystemInterface& system, std::string path,
                               const std::string& value_name) {
  RegistryContext context(system);
  if (!context.Open(std::move(path), /*create=*/false) || context.current() == 0)
    return "";
  uint32_t type = 0;
  uint32_t size = 0;
  if (system.RegQueryValueEx(context.current(), value_name, &type, &size,
                             nullptr) != kErrorSuccess ||
      (type != kRegSz && type != kRegExpandSz) || size == 0)
    return "";
  std::string data;
  if (system.RegQueryValueEx(context.current(), value_name, &type, &size,
                             &data) != kErrorSuccess)
    return "";
  return data.substr(0, data.find('\0'));
}

bool DeleteRegistryValue(SystemInterface& system, std::string path,
                         const std::string& value_name) {
  RegistryContext context(system);
  if (!context.Open(std::move(path), /*create=*/false) || context.current() == 0)
    return false;
  return system.RegDeleteValue(context.current(), value_name) == kErrorSuccess;
}

int32_t ReadRegistryInteger(SystemInterface& system, std::string path,
                            const std::string& value_name) {
  RegistryContext context(system);
  if (!context.Open(std::move(path), /*create=*/false) || context.current() == 0)
    return 0;
  uint32_t type = 0;
  uint32_t size = 0;
  if (system.RegQueryValueEx(context.current(), value_name, &type, &size,
                             nullptr) != kErrorSuccess)
    return 0;

  std::string data;
  switch (type) {
    case kRegSz:
    case kRegExpandSz: {
      if (size != 0 && system.RegQueryValueEx(context.current(), value_name,
                                              &type, &size,
                                              &data) != kErrorSuccess)
        return 0;
      data = data.substr(0, data.find('\0'));
      int32_t value = 0;
      return TextToInteger(data, &value) ? value : 0;
    }
    case kRegDword:
      size = 4;
      break;
    case kRegBinary:
      if (size != 4) return 0;
      break;
    default:
      return 0;
  }
  if (system.RegQueryValueEx(context.current(), value_name, &type, &size,
                             &data) != kErrorSuccess)
    return 0;
  return LittleEndian32(data);
}

bool TextToInteger(const std::string& text, int32_t* value) {
  *value = 0;
  size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return false;
  std::string_view rest = std::string_view(text).substr(i);

  bool hex = false;
  for (std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
    if (rest.substr(0, prefix.size()) == prefix) {
      rest.remove_prefix(prefix.size());
      hex = true;
      break;
    }
  }
  bool negative = false;
  if (!hex && (rest.front() == '-' || rest.front() == '+')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  if (rest.empty()) return false;

  // Accumulated in 64 bits; the limit test after every digit keeps it far
  // below overflow however many leading zeros come first.
  const uint64_t limit = hex ? 0xFFFFFFFFu : negative ? 2147483648u : 2147483647u;
  uint64_t number = 0;
  for (char c : rest) {
    int digit = hex ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (digit < 0) return false;
    number = number * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
    if (number > limit) return false;
  }
  uint32_t bits = static_cast<uint32_t>(number);
  if (negative) bits = 0u - bits;
  *value = static_cast<int32_t>(bits);
  return true;
}

}  // namespace hostconfig
