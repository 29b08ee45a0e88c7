// A stand-in for netsh.exe and wineboot.exe in the Wine tests. Each start
// appends two lines to the log named by HOSTCONFIG_RECORD_LOG (a Windows path,
// default C:\recorder.log):
//   begin <the command line as GetCommandLineA gives it>
//   end
// with a pause between them, so that a test can tell whether a second start
// began before the first one ended. Exits with the code that
// HOSTCONFIG_RECORD_EXIT gives in decimal (a case exports it to make the
// network shell fail), else 0.
#include <windows.h>

namespace {

void Append(HANDLE log, const char* text) {
  DWORD length = lstrlenA(text);
  DWORD written = 0;
  WriteFile(log, text, length, &written, nullptr);
}

HANDLE OpenLog() {
  char path[MAX_PATH] = "C:\\recorder.log";
  DWORD got = GetEnvironmentVariableA("HOSTCONFIG_RECORD_LOG", path,
                                      sizeof path);
  if (got == 0 || got >= sizeof path) lstrcpyA(path, "C:\\recorder.log");
  HANDLE log = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log != INVALID_HANDLE_VALUE) SetFilePointer(log, 0, nullptr, FILE_END);
  return log;
}

// The exit code asked for by HOSTCONFIG_RECORD_EXIT; 0 when it is not set
// or not a decimal number.
int ExitCode() {
  char text[16] = "";
  DWORD got = GetEnvironmentVariableA("HOSTCONFIG_RECORD_EXIT", text,
                                      sizeof text);
  if (got == 0 || got >= sizeof text) return 0;
  unsigned code = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return 0;
    code = code * 10 + static_cast<unsigned>(*c - '0');
  }
  return static_cast<int>(code);
}

}  // namespace

int main() {
  const int exit_code = ExitCode();
  HANDLE log = OpenLog();
  if (log == INVALID_HANDLE_VALUE) return exit_code;
  Append(log, "begin ");
  Append(log, GetCommandLineA());
  Append(log, "\n");
  CloseHandle(log);
  Sleep(300);
  log = OpenLog();
  if (log == INVALID_HANDLE_VALUE) return exit_code;
  Append(log, "end\n");
  CloseHandle(log);
  return exit_code;
}
