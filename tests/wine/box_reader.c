/* Prints what a message box of another process shows, as the user sees it:
   its caption, then each visible control inside it, one line each:
     caption: <text>
     <control class>: <text>
     icon                    (an icon control that holds an icon)
   Texts come in the ANSI code page of this process. The box is the
   top-level dialog window with the given caption; waits for it at most 30 s.
   Usage: box_reader.exe CAPTION   (exit code 1 when no such box appears) */
#include <windows.h>
#include <stdio.h>

static BOOL CALLBACK PrintControl(HWND control, LPARAM unused) {
  char name[64], text[1024];
  (void)unused;
  if (!IsWindowVisible(control)) return TRUE;
  if (!GetClassNameA(control, name, sizeof name)) name[0] = 0;
  if (lstrcmpiA(name, "Static") == 0 &&
      (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    /* An empty icon control shows nothing. */
    if (SendMessageA(control, STM_GETICON, 0, 0)) printf("icon\n");
    return TRUE;
  }
  GetWindowTextA(control, text, sizeof text);
  printf("%s: %s\n", name, text);
  return TRUE;
}

int main(int argc, char** argv) {
  HWND box = NULL;
  char caption[256];
  int i;
  if (argc < 2) return 2;
  for (i = 0; i < 300; ++i) {
    box = FindWindowA("#32770", argv[1]);
    if (box && IsWindowVisible(box)) break;
    box = NULL;
    Sleep(100);
  }
  if (!box) return 1;
  GetWindowTextA(box, caption, sizeof caption);
  printf("caption: %s\n", caption);
  EnumChildWindows(box, PrintControl, 0);
  return 0;
}
