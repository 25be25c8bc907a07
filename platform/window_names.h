#pragma once
// The program's windows: their class names and the messages they send one another.
namespace tessary {

inline constexpr const char* kHiddenWindowClass = "Tessary_Hidden_Window";
inline constexpr const char* kFrameWindowClass = "Tessary_Main_Window";
inline constexpr const char* kKeyboardWindowClass = "Tessary_Kbd_Window";

// Messages between the windows, all on top of WM_USER (1024).
inline constexpr unsigned WM_TRAYICON = 1024 + 50;
inline constexpr unsigned WM_IMESTATE = 1024 + 100;
inline constexpr unsigned WM_RELOADLAYOUT = 1024 + 110;
inline constexpr unsigned WM_SCANSWITCH = 1024 + 200;
// A tick of the scan timer, posted from the timer thread; wParam the timer generation.
inline constexpr unsigned WM_SCANTICK = 1024 + 201;

}  // namespace tessary
