// The Wine tests' load marker. Copies of this DLL are planted under the
// names of DLLs that are not KnownDLLs, beside the executables and in their
// working directory. A copy that is loaded creates "<its own path>.loaded"
// beside itself, so the test sees that it was loaded and from where; it then
// stays loaded and does nothing else.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  static const char kSuffix[] = ".loaded";
  char path[MAX_PATH + sizeof kSuffix];
  DWORD length = ::GetModuleFileNameA(self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  for (unsigned i = 0; i < sizeof kSuffix; ++i) path[length + i] = kSuffix[i];
  HANDLE file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
  return TRUE;
}
