// The fake machine's registry: keys as upper-case paths, values by
// upper-case name, handles for the keys a test's code has open.
#include <algorithm>

#include "tests/fake_machine.h"
#include "util/ascii.h"

namespace hostconfig {

namespace {

const char* RootName(RegKey key) {
  switch (key) {
    case kHkeyClassesRoot: return "HKEY_CLASSES_ROOT";
    case kHkeyCurrentUser: return "HKEY_CURRENT_USER";
    case kHkeyLocalMachine: return "HKEY_LOCAL_MACHINE";
    case kHkeyUsers: return "HKEY_USERS";
    case kHkeyCurrentConfig: return "HKEY_CURRENT_CONFIG";
    case kHkeyDynData: return "HKEY_DYN_DATA";
    default: return nullptr;
  }
}

constexpr int32_t kErrorFileNotFound = 2;
constexpr int32_t kErrorAccessDenied = 5;
constexpr int32_t kErrorInvalidHandle = 6;
constexpr int32_t kErrorBadPathname = 161;

}  // namespace

void FakeMachine::SetRegistryValue(const std::string& key_path,
                                   const std::string& name, uint32_t type,
                                   const std::string& data) {
  // Every key above the value exists too.
  std::string upper = UpperAscii(key_path);
  for (size_t pos = upper.find('\\'); pos != std::string::npos;
       pos = upper.find('\\', pos + 1))
    registry[upper.substr(0, pos)];
  registry[upper][UpperAscii(name)] = RegValue{type, data};
}

const FakeMachine::RegValue* FakeMachine::FindRegistryValue(
    const std::string& key_path, const std::string& name) const {
  auto key = registry.find(UpperAscii(key_path));
  if (key == registry.end()) return nullptr;
  auto value = key->second.find(UpperAscii(name));
  return value == key->second.end() ? nullptr : &value->second;
}

std::string FakeMachine::KeyPath(RegKey key) const {
  if (const char* root = RootName(key)) return root;
  auto open = handles.find(key);
  return open == handles.end() ? std::string() : open->second;
}

std::string FakeMachine::JoinKey(RegKey base, const std::string& name) const {
  std::string path = KeyPath(base);
  if (path.empty()) return std::string();
  if (name.empty()) return path;
  if (name.front() == '\\' || name.back() == '\\' ||
      name.find("\\\\") != std::string::npos)
    return std::string();
  return path + "\\" + UpperAscii(name);
}

int32_t FakeMachine::RegOpenKeyEx(RegKey base, const std::string& name,
                                  uint32_t access, RegKey* key) {
  if (KeyPath(base).empty()) return kErrorInvalidHandle;
  std::string path = JoinKey(base, name);
  if (path.empty()) return kErrorBadPathname;
  if (!registry.count(path) && !RootName(base)) return kErrorFileNotFound;
  if (!registry.count(path) && !name.empty()) return kErrorFileNotFound;
  if (access == kKeyAllAccess && read_only_keys.count(path))
    return kErrorAccessDenied;
  *key = next_key_++;
  handles[*key] = path;
  max_open_keys = std::max(max_open_keys, ++open_keys);
  return kErrorSuccess;
}

int32_t FakeMachine::RegCreateKeyEx(RegKey base, const std::string& name,
                                    uint32_t access, RegKey* key) {
  if (KeyPath(base).empty()) return kErrorInvalidHandle;
  std::string path = JoinKey(base, name);
  if (path.empty()) return kErrorBadPathname;
  // Create each missing level, as the registry does for a name that holds
  // several; a level that cannot be created leaves the ones before it.
  std::string level = KeyPath(base);
  size_t start = 0;
  std::string upper = UpperAscii(name);
  while (start <= upper.size() && !upper.empty()) {
    size_t end = upper.find('\\', start);
    if (end == std::string::npos) end = upper.size();
    level += "\\" + upper.substr(start, end - start);
    if (!registry.count(level)) {
      if (uncreatable_keys.count(level)) return kErrorAccessDenied;
      registry[level];
      ++created_keys;
    }
    start = end + 1;
  }
  if (access == kKeyAllAccess && read_only_keys.count(path))
    return kErrorAccessDenied;
  *key = next_key_++;
  handles[*key] = path;
  max_open_keys = std::max(max_open_keys, ++open_keys);
  return kErrorSuccess;
}

int32_t FakeMachine::RegQueryValueEx(RegKey key, const std::string& value_name,
                                     uint32_t* type, uint32_t* size,
                                     std::string* data) {
  if (RootName(key)) return kErrorFileNotFound;  // hostconfig keeps no values there
  auto open = handles.find(key);
  if (open == handles.end()) return kErrorInvalidHandle;
  const RegValue* value = FindRegistryValue(open->second, value_name);
  if (value == nullptr) return kErrorFileNotFound;
  if (type) *type = value->type;
  if (data != nullptr) {
    if (*size < value->data.size()) return 234;  // ERROR_MORE_DATA
    *data = value->data;
  }
  *size = static_cast<uint32_t>(value->data.size());
  return kErrorSuccess;
}

int32_t FakeMachine::RegSetValueEx(RegKey key, const std::string& value_name,
                                   uint32_t type, std::string_view data) {
  auto open = handles.find(key);
  if (open == handles.end()) return kErrorInvalidHandle;
  registry[open->second][UpperAscii(value_name)] = RegValue{type, std::string(data)};
  Event("RegSetValue " + open->second + "\\" + value_name + "=" +
                   std::string(data));
  return kErrorSuccess;
}

int32_t FakeMachine::RegDeleteValue(RegKey key, const std::string& value_name) {
  auto open = handles.find(key);
  if (open == handles.end()) return kErrorInvalidHandle;
  if (registry[open->second].erase(UpperAscii(value_name)) == 0)
    return kErrorFileNotFound;
  Event("RegDeleteValue " + open->second + "\\" + value_name);
  return kErrorSuccess;
}

int32_t FakeMachine::RegCloseKey(RegKey key) {
  if (handles.erase(key) == 0) return kErrorInvalidHandle;
  --open_keys;
  return kErrorSuccess;
}

}  // namespace hostconfig
