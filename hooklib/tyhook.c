/* The focus hook library. The program installs CbtProc system-wide, so this code runs
 * inside every GUI process of the desktop: it must stay tiny and keep no state. */
#include <windows.h>

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(NULL, code, wParam, lParam);
}
