// Wine test helper: hold_open.exe PATH SECONDS opens PATH for writing with no
// sharing, creates PATH.held to say so, and keeps the file open for SECONDS
// (or until PATH.release appears), so that no other process can open it.
#include <windows.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  std::string path = argv[1];
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  HANDLE held = CreateFileA((path + ".held").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  std::string release = path + ".release";
  for (int tenths = std::atoi(argv[2]) * 10; tenths > 0; --tenths) {
    if (GetFileAttributesA(release.c_str()) != INVALID_FILE_ATTRIBUTES) break;
    Sleep(100);
  }
  CloseHandle(file);
  return 0;
}
