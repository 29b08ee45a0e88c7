/* Holds a file open for writing with no sharing, the way an editor saving
   the settings file would, until a marker file is deleted (or 60 s pass).
   Usage: locker.exe FILE MARKER */
#include <windows.h>

int main(int argc, char** argv) {
  HANDLE file, marker;
  int i;
  if (argc < 3) return 2;
  file = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, NULL,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return 1;
  marker = CreateFileA(argv[2], GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                       NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (marker == INVALID_HANDLE_VALUE) return 1;
  CloseHandle(marker);
  for (i = 0; i < 600 && GetFileAttributesA(argv[2]) != INVALID_FILE_ATTRIBUTES; ++i)
    Sleep(100);
  CloseHandle(file);
  return 0;
}
