// tstrokes: plays stroke strings through the program's own synthesis code into the
// foreground window, for the end-to-end tests.
//
//   tstrokes TARGET_HWND TEXT...
//
// Brings TARGET_HWND to the front, hands every TEXT to one StrokePlayer (they play one
// after the other), runs the message loop until all have played, and prints the path
// the platform gave ("path journal" or "path sendinput"), whether the watchdog found a
// hook that was never called, and each TEXT's result.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "input/stroke_player.h"
#include "win32/key_output.h"

int main(int argc, char** argv) {
  using namespace tessary;
  if (argc < 3) return 2;
  HWND target = reinterpret_cast<HWND>(static_cast<intptr_t>(std::strtoll(argv[1], nullptr, 0)));
  SetForegroundWindow(target);
  Sleep(200);

  win32::Win32KeyLayout layout;
  win32::Win32KeyOutput output;
  StrokePlayer player(output, layout);
  output.Attach(&player);
  for (int i = 2; i < argc; ++i) {
    std::printf("result %d %s\n", static_cast<int>(player.SendStrokes(reinterpret_cast<WindowId>(target), argv[i])),
                argv[i]);
  }
  const DWORD start = GetTickCount();
  MSG msg;
  while ((player.playing() || player.waiting() > 0) && GetTickCount() - start < 10000) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  std::printf("path %s\n", player.path() == PlaybackPath::kJournal ? "journal" : "sendinput");
  std::printf("hook never called %s\n", player.hookNeverCalled() ? "yes" : "no");
  std::printf("finished %s\n", player.playing() || player.waiting() > 0 ? "no" : "yes");
  std::fflush(stdout);
  Sleep(300);  // let the target take the last events before this thread's input goes
  return player.playing() ? 1 : 0;
}
