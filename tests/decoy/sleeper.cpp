// Does nothing for a while. The end-to-end tests copy it under the shell's name to see
// which processes the program ends. A GUI program, so that no console is attached.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Sleep(5 * 60 * 1000);
  return 0;
}
