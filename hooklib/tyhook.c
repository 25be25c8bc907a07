/* The focus hook library. The program installs CbtProc system-wide, so this code runs
 * inside every GUI process of the desktop: it must stay tiny, keep no state and start no
 * runtime. The library is linked without any C runtime; its entry point does nothing. */
#include <windows.h>
#include <imm.h>

#include "cbt_decision.h"

#define TYHOOK_WM_IMESTATE (WM_USER + 100)

typedef char TyhookSetFocusCodeMatches[HCBT_SETFOCUS == TYHOOK_HCBT_SETFOCUS ? 1 : -1];

BOOL WINAPI DllEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_SETFOCUS) {
    HWND target = (HWND)wParam;
    HIMC context = ImmGetContext(target);
    DWORD conversion = 0, sentence = 0;
    if (context != NULL) {
      if (!ImmGetConversionStatus(context, &conversion, &sentence)) conversion = 0;
      ImmReleaseContext(target, context);
    }
    HWND frame = FindWindowA("Tessary_Main_Window", NULL);
    TyhookReport report = TyhookDecide(code, context != NULL, conversion, frame != NULL, frame == target);
    if (report.post) PostMessageA(frame, TYHOOK_WM_IMESTATE, wParam, (LPARAM)report.state);
  }
  /* The hook never prevents a focus change. */
  return CallNextHookEx(NULL, code, wParam, lParam);
}
