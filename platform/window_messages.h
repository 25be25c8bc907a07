#pragma once
// The messages the core names — the system's it reads or posts, and those the program's
// windows send one another — and the windows' class names.
namespace tessary {

inline constexpr const char* kHiddenWindowClass = "Tessary_Hidden_Window";
inline constexpr const char* kFrameWindowClass = "Tessary_Main_Window";
inline constexpr const char* kKeyboardWindowClass = "Tessary_Kbd_Window";

// The system's messages.
inline constexpr unsigned kQueueSyncMessage = 0x0023;  // WM_QUEUESYNC
inline constexpr unsigned kKeyDownMessage = 0x0100;    // WM_KEYDOWN
inline constexpr unsigned kKeyUpMessage = 0x0101;      // WM_KEYUP
inline constexpr unsigned kSysKeyDownMessage = 0x0104; // WM_SYSKEYDOWN
inline constexpr unsigned kSysKeyUpMessage = 0x0105;   // WM_SYSKEYUP
inline constexpr unsigned kLeftButtonDown = 0x0201;    // WM_LBUTTONDOWN
inline constexpr unsigned kLeftButtonUp = 0x0202;      // WM_LBUTTONUP
inline constexpr unsigned kRightButtonDown = 0x0204;   // WM_RBUTTONDOWN
inline constexpr unsigned kRightButtonUp = 0x0205;     // WM_RBUTTONUP
inline constexpr unsigned kMiddleButtonDown = 0x0207;  // WM_MBUTTONDOWN
inline constexpr unsigned kMiddleButtonUp = 0x0208;    // WM_MBUTTONUP

// Messages between the windows, all on top of WM_USER (1024).
inline constexpr unsigned WM_TRAYICON = 1024 + 50;
inline constexpr unsigned WM_IMESTATE = 1024 + 100;
inline constexpr unsigned WM_RELOADLAYOUT = 1024 + 110;
// A switch of scan mode: wParam 0 the first switch, 1 the second; lParam 0 pressed,
// 1 released.
inline constexpr unsigned WM_SCANSWITCH = 1024 + 200;
// A tick of the scan timer, posted from the timer thread; wParam the timer generation.
inline constexpr unsigned WM_SCANTICK = 1024 + 201;
// In click mode, a button went down outside the keyboard window (the click moves the
// caret or the focus): the syllable the keyboard was composing ends.
inline constexpr unsigned WM_CLICKELSEWHERE = 1024 + 202;

}  // namespace tessary
