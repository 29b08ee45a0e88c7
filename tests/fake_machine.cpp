#include "tests/fake_machine.h"

#include <algorithm>

#include "util/ascii.h"

namespace hostconfig {

namespace {

constexpr Handle kTokenHandle = 0x7000;

}  // namespace

FakeMachine::FakeMachine() {
  environment["WinDir"] = "C:\\WINDOWS";
}

std::string FakeMachine::StdoutText() const {
  std::string all;
  for (const std::string& w : stdout_writes) all += w;
  return all;
}

void FakeMachine::AddAdapter(const std::u16string& name,
                             const std::string& mac_hex, uint32_t if_type,
                             std::vector<UnicastAddress> unicast) {
  AdapterEntry a;
  a.friendly_name = name;
  for (size_t i = 0; i < 8 && 2 * i + 1 < mac_hex.size(); ++i)
    a.physical_address[i] =
        static_cast<uint8_t>(std::stoul(mac_hex.substr(2 * i, 2), nullptr, 16));
  a.if_type = if_type;
  a.unicast = std::move(unicast);
  adapters.push_back(a);
}

void FakeMachine::UseGbkLeadBytes() {
  lead_bytes.fill(false);
  for (int b = 0x81; b <= 0xFE; ++b) lead_bytes[b] = true;
}

void FakeMachine::UseBig5LeadBytes() {
  lead_bytes.fill(false);
  for (int b = 0x81; b <= 0xFE; ++b) lead_bytes[b] = true;
}

uint32_t FakeMachine::GetOEMCP() { return oem_code_page; }

StdoutKind FakeMachine::StandardOutputKind() { return stdout_kind; }

uint32_t FakeMachine::WriteStandardOutput(std::string_view bytes) {
  size_t attempt = write_attempts++;
  if (write_error != 0 && attempt >= fail_writes_from) return write_error;
  stdout_writes.emplace_back(bytes);
  return 0;
}

void FakeMachine::ShowMessageBox(const std::string& caption,
                                 const std::string& text) {
  message_boxes.push_back(Box{caption, text});
  sequence.push_back("MessageBox " + text);
}

void FakeMachine::Event(std::string event) {
  sequence.push_back(event);
  events.push_back(std::move(event));
}

std::string FakeMachine::GetModuleFileName() { return module_path; }

uint32_t FakeMachine::GetAdaptersAddresses(uint32_t /*family*/,
                                           uint32_t /*flags*/, uint32_t* size,
                                           std::vector<AdapterEntry>* out) {
  ++adapter_calls;
  if (out == nullptr) {
    *size = static_cast<uint32_t>(376 * (adapters.size() + 1));
    return size_query_result;
  }
  if (fill_result == 0) *out = adapters;
  return fill_result;
}

std::string FakeMachine::WideCharToMultiByte(std::u16string_view text,
                                             bool* lossy) {
  std::string out;
  bool changed = false;
  for (char16_t c : text) {
    auto extra = ansi_extra.find(c);
    auto best_fit = ansi_best_fit.find(c);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (extra != ansi_extra.end()) {
      out += extra->second;
    } else if (best_fit != ansi_best_fit.end()) {
      out += best_fit->second;
      changed = true;
    } else {
      out += '?';
      changed = true;
    }
  }
  if (lossy != nullptr) *lossy = changed;
  return out;
}

std::string FakeMachine::CharUpper(std::string_view text) {
  std::string out = UpperAscii(text);
  for (const auto& [from, to] : upper_extra) {
    for (size_t pos = out.find(from); pos != std::string::npos;
         pos = out.find(from, pos + to.size()))
      out.replace(pos, from.size(), to);
  }
  return out;
}

uint32_t FakeMachine::GetLastError() { return last_error; }

std::string FakeMachine::LocaleDecimalSeparator() { return decimal_separator; }

bool FakeMachine::GetVersionEx(uint32_t* major, uint32_t* minor) {
  ++version_ex_calls;
  if (!version_ex_ok) return false;
  *major = version_major;
  *minor = version_minor;
  return true;
}

FileProbe FakeMachine::FindFirstFile(const std::string& path) {
  ++find_calls;
  FileProbe probe;
  if (directories.count(path)) {
    probe.found = true;
    probe.directory = true;
  } else if (files.count(path) || locked_files.count(path)) {
    probe.found = true;
  }
  return probe;
}

bool FakeMachine::ReadWholeFile(const std::string& path, std::string* bytes) {
  if (locked_files.count(path)) return false;
  auto file = files.find(path);
  if (file == files.end()) return false;
  ++file_reads;
  *bytes = file->second;
  return true;
}

bool FakeMachine::CompareStringIgnoreCase(std::string_view a,
                                          std::string_view b) {
  return EqualIgnoringAsciiCase(a, b);
}

LeadBytes FakeMachine::AnsiLeadBytes() { return lead_bytes; }

bool FakeMachine::GetComputerName(uint32_t size, std::string* name) {
  last_name_size = size;
  if (!get_name_ok || computer_name.size() + 1 > size) return false;
  *name = computer_name;
  return true;
}

bool FakeMachine::SetComputerName(const std::string& name) {
  Event("SetComputerName " + name);
  if (!set_name_ok) last_error = set_name_error;
  return set_name_ok;
}

std::string FakeMachine::ExpandEnvironmentStrings(const std::string& text) {
  // Each %NAME% of a defined variable is replaced; anything else stays.
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    size_t open = text.find('%', i);
    if (open == std::string::npos) break;
    size_t close = text.find('%', open + 1);
    if (close == std::string::npos) break;
    std::string name = UpperAscii(text.substr(open + 1, close - open - 1));
    auto var = std::find_if(environment.begin(), environment.end(),
                            [&](const auto& e) { return UpperAscii(e.first) == name; });
    out += text.substr(i, open - i);
    if (!name.empty() && var != environment.end()) {
      out += var->second;
      i = close + 1;
    } else {
      out += '%';
      i = open + 1;
    }
  }
  out += text.substr(std::min(i, text.size()));
  return out;
}

bool FakeMachine::CreateProcess(const std::string& command_line,
                                bool inherit_handles,
                                const std::string* directory,
                                const StartupInfo& startup,
                                ProcessInfo* process) {
  ++create_process_calls;
  if (!create_process_ok) return false;
  Launch launch;
  launch.command_line = command_line;
  launch.inherit_handles = inherit_handles;
  launch.has_directory = directory != nullptr;
  launch.startup = startup;
  launches.push_back(launch);
  Event("CreateProcess " + command_line);
  process->process = next_handle_++;
  process->thread = next_handle_++;
  launches.back().process = process->process;
  launches.back().thread = process->thread;
  remaining_timeouts_ = wait_timeouts;
  return true;
}

uint32_t FakeMachine::WaitForSingleObject(Handle handle,
                                          uint32_t milliseconds) {
  if (!launches.empty()) {
    ++launches.back().waits;
    launches.back().waited.push_back(handle);
    launches.back().wait_milliseconds.push_back(milliseconds);
  }
  if (remaining_timeouts_ > 0) {
    --remaining_timeouts_;
    return kWaitTimeout;
  }
  return 0;
}

bool FakeMachine::GetExitCodeProcess(Handle process, uint32_t* code) {
  if (!exit_code_ok) return false;
  for (size_t i = 0; i < launches.size(); ++i) {
    if (launches[i].process != process) continue;
    *code = i < exit_codes.size() ? exit_codes[i] : 0;
    return true;
  }
  return false;
}

bool FakeMachine::CloseHandle(Handle handle) {
  if (open_paths_.erase(handle) > 0) {
    --open_files;
    return true;
  }
  if (handle == kTokenHandle)
    ++token_closes;
  else if (!launches.empty()) {
    ++launches.back().closed_handles;
    launches.back().closed.push_back(handle);
  }
  return true;
}

uint32_t FakeMachine::OpenFileForAppend(const std::string& path,
                                        Handle* file) {
  auto error = open_errors.find(path);
  if (error != open_errors.end()) return error->second;
  auto busy = busy_opens.find(path);
  if (busy != busy_opens.end() && busy->second > 0) {
    --busy->second;
    return 32;  // ERROR_SHARING_VIOLATION
  }
  files[path];  // OPEN_ALWAYS creates it
  *file = next_handle_++;
  open_paths_[*file] = path;
  ++open_files;
  return 0;
}

bool FakeMachine::GetFileSize(Handle file, uint64_t* size) {
  auto open = open_paths_.find(file);
  if (open == open_paths_.end()) return false;
  *size = files[open->second].size();
  return true;
}

uint32_t FakeMachine::WriteFileFlushed(Handle file, std::string_view bytes) {
  auto open = open_paths_.find(file);
  if (open == open_paths_.end()) return 6;  // ERROR_INVALID_HANDLE
  if (write_file_error != 0) return write_file_error;
  files[open->second] += bytes;
  sequence.push_back("AppendFile " + open->second);
  return 0;
}

LocalTime FakeMachine::GetLocalTime() { return local_time; }

uint32_t FakeMachine::GetTickCount() { return tick; }

void FakeMachine::Sleep(uint32_t milliseconds) {
  sleeps.push_back(milliseconds);
  tick += milliseconds;
}

bool FakeMachine::OpenProcessToken(uint32_t access, Handle* token) {
  token_access = access;
  if (!open_token_ok) return false;
  *token = kTokenHandle;
  return true;
}

bool FakeMachine::LookupPrivilegeValue(const std::string& name,
                                       uint64_t* luid) {
  privilege_lookups.push_back(name);
  *luid = 19;
  return true;
}

bool FakeMachine::AdjustTokenPrivileges(Handle /*token*/, uint64_t /*luid*/,
                                        uint32_t attributes) {
  ++privilege_adjustments;
  adjusted_attributes = attributes;
  Event("AdjustToken");
  return true;
}

bool FakeMachine::ExitWindowsEx(uint32_t flags, uint32_t /*reason*/) {
  exit_windows_flags.push_back(flags);
  Event("ExitWindows " + std::to_string(flags));
  return true;
}

}  // namespace hostconfig
