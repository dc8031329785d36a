// Does nothing for a while. The end-to-end tests copy it under the shell's name to see
// which processes the program ends.
#include <windows.h>

int main() {
  Sleep(5 * 60 * 1000);
  return 0;
}
