// A stand-in for netsh.exe and wineboot.exe in the Wine tests. Each start
// appends two lines to the log named by HOSTCONFIG_RECORD_LOG (a Windows path,
// default C:\recorder.log):
//   begin <the command line as GetCommandLineA gives it>
//   end
// with a pause between them, so that a test can tell whether a second start
// began before the first one ended. Exits with code 0.
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

}  // namespace

int main() {
  HANDLE log = OpenLog();
  if (log == INVALID_HANDLE_VALUE) return 0;
  Append(log, "begin ");
  Append(log, GetCommandLineA());
  Append(log, "\n");
  CloseHandle(log);
  Sleep(300);
  log = OpenLog();
  if (log == INVALID_HANDLE_VALUE) return 0;
  Append(log, "end\n");
  CloseHandle(log);
  return 0;
}
