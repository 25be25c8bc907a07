#pragma once
// The frame window around the keyboard: its pointer zones, the layout of the caption
// strip and the keyboard window, the caption buttons, the wheel, translucency, and the
// hand-offs to the keyboard window. The platform's window sits behind FrameHost.
#include <cstdint>
#include <string>

#include "input/key_activation.h"
#include "keyboard/keyboard_model.h"
#include "platform/key_output.h"
#include "platform/numbers.h"
#include "ui/caption_button.h"
#include "ui/focus_keeper.h"

namespace tessary {

struct Settings;

// The keyboard's letter key, in layout units, with the size of its layout: what the
// caption buttons measure themselves against. By default the built-in layouts' own.
struct LetterKey {
  double width = 24, height = 22;
  double layoutWidth = 510, layoutHeight = 155;
  bool operator==(const LetterKey&) const = default;
};
// The key that types "a" in the keyboard's layout; the built-in size where there is none.
LetterKey LetterKeyOf(const Keyboard& keyboard);

// The frame's sizes, in pixels of the screen it is on. The caption strip is one row of
// letter keys high: its two buttons and the sizing grip beside them are squares as
// large as a letter key is at this frame size (its larger side), with a pixel above and
// below. So the strip takes the share of the frame that one more row of keys would,
// small on a small keyboard and large on a large one, never below the design height
// (18 at 96 DPI, scaled on a denser screen) nor, above that, more than a fifth of the
// frame's height.
struct FrameMetrics {
  int32_t caption = 18;  // the caption strip's height
  int32_t button = 16;   // the side of the buttons, of the grip and of the icon
  int32_t side = 4;      // the sizing edges beside the caption strip (the system's frame)
  int32_t edge = 8;      // the sizing edges beside and below the keys: the keyboard window leaves them
  int32_t corner = 24;   // the bottom-right corner: points nearer it than this (x + y) size the frame
};
// For a client area of w × h on a screen of `dpi`; `sizingFrame` the system's
// sizing-frame thickness there; `letter` the letter key of the keyboard's layout.
FrameMetrics FrameMetricsFor(int32_t dpi, int32_t sizingFrame, int32_t w, int32_t h, const LetterKey& letter = {});

// Pointer zones of the frame; 1 to 8 are its sizing edges and corners.
enum FrameZoneId : int32_t {
  ZONE_NONE = 0,
  ZONE_LEFT = 1,
  ZONE_RIGHT = 2,
  ZONE_TOP = 3,
  ZONE_TOPLEFT = 4,
  ZONE_TOPRIGHT = 5,
  ZONE_BOTTOM = 6,
  ZONE_BOTTOMLEFT = 7,
  ZONE_BOTTOMRIGHT = 8,
  ZONE_DRAG = 9,
  ZONE_ICON = 10,
};

// The zone of a point in frame client coordinates; w, h the client size.
int32_t FrameZone(int32_t x, int32_t y, int32_t w, int32_t h, const FrameMetrics& m);

// The pointer shapes of the frame: the arrow, and the double arrows of the sizing edges
// (left-right, up-down, and the two diagonals).
enum class FrameCursor { kArrow, kSizeWestEast, kSizeNorthSouth, kSizeNorthwestSoutheast, kSizeNortheastSouthwest };
// The pointer shown over a zone.
FrameCursor ZoneCursor(int32_t zone);

inline constexpr uint32_t kTransparencyTimerId = 247;    // IDT_TRANSPARENCY
inline constexpr uint32_t kCaptionDwellTimerId = 214;    // the caption buttons' dwell
inline constexpr uint32_t kTitleNoteTimerId = 215;       // how long the title strip names a chosen layout set
inline constexpr uint32_t kTitleNoteMs = 2500;

// Where the frame's parts go for a client area of w × h.
struct FrameLayout {
  KeyRect languageButton;  // left, top, right, bottom
  KeyRect hideButton;
  KeyRect grip;            // the sizing grip at the strip's right end: it sizes the frame by its top-right corner
  KeyRect keyboard;        // the keyboard window: x, y and (right, bottom)
  KeyRect borderOuter;     // the border area: outer minus inner, in bgndColor
  KeyRect borderInner;
  KeyRect caption;         // the gradient strip
  int32_t lineLeft = 0, lineRight = 0, lineY = 0;  // the grey line under it, right end excluded
  KeyRect title;            // up to the buttons
  KeyRect drag;             // the part of the strip that moves the frame
};
FrameLayout LayOutFrame(int32_t w, int32_t h, const FrameMetrics& m);

// The label font height after one wheel turn; never below 2.
int32_t WheelFontHeight(int32_t current, int16_t wheelDelta);

class FrameHost {
 public:
  virtual ~FrameHost() = default;
  virtual int32_t SizingFrame() = 0;                        // SM_CXFRAME
  // The dots per inch of the monitor the frame is on (96 where the system cannot tell).
  virtual int32_t Dpi() = 0;
  // Moves and sizes the frame to a screen rectangle.
  virtual void SetFrameRect(const KeyRect& rect) = 0;
  virtual void PointerInClient(int32_t& x, int32_t& y) = 0;  // frame client coordinates
  virtual void ClientSize(int32_t& w, int32_t& h) = 0;
  virtual bool IsVisible() = 0;
  virtual bool IsLayered() = 0;
  // Adds or removes the layered style; the alpha applies while it is set.
  virtual void SetLayered(bool layered) = 0;
  virtual void SetAlpha(uint8_t alpha) = 0;
  virtual void SetCursor(FrameCursor cursor) = 0;
  // The platform's loop that moves the frame with the pointer while the button is held;
  // it returns when the button is released.
  virtual void BeginMove() = 0;
  // The same for sizing the frame by one of its edges or corners (ZONE_LEFT ..
  // ZONE_BOTTOMRIGHT).
  virtual void BeginResize(int32_t zone) = 0;
  // The icon of the caption opens the tray menu: the hidden window is told, as if the
  // tray icon had been right-clicked (posted, so the menu opens after this click).
  virtual void PostOpenTrayMenu() = 0;
  // Sends WM_RBUTTONDOWN (0, 0) to the keyboard window: the language switch.
  virtual void SendLanguageSwitch() = 0;
  virtual void HideFrame() = 0;
  // Puts the frame back in front of every other window, as the top-most one, without
  // activating it (another window may have been raised over it).
  virtual void KeepInFront() = 0;
  // Invalidates without erasing.
  virtual void InvalidateCaption(int32_t width) = 0;
  virtual void InvalidateFrame() = 0;
  virtual void MoveKeyboardWindow(const KeyRect& rect) = 0;  // without repainting it
  // Hands the Hangul/English state to the keyboard window, through its message queue.
  virtual void PostImeState(int32_t state) = 0;
  // Asks the keyboard window, through its message queue, to load its layout again.
  virtual void ForwardReloadLayout() = 0;
  // IDT_TRANSPARENCY on the frame; true when the timer was set.
  virtual bool SetTransparencyTimer(uint32_t periodMs) = 0;
  virtual void KillTransparencyTimer() = 0;
  // The caption buttons' dwell timer on the frame (kCaptionDwellTimerId).
  virtual void SetCaptionDwellTimer(uint32_t periodMs) = 0;
  virtual void KillCaptionDwellTimer() = 0;
  // The timer that ends the title strip's note (kTitleNoteTimerId), once.
  virtual void SetTitleNoteTimer(uint32_t periodMs) = 0;
  virtual void KillTitleNoteTimer() = 0;
  // The image method of Hangul/English detection: a one-shot timer of `delayMs` whose
  // callback detects the state and posts it to the keyboard window as PostImeState does.
  virtual void StartImageDetection(uint32_t delayMs) = 0;
};

// The mark beside the title while the keyboard composes Hangul itself in automatic mode.
inline constexpr const char* kCompositionMarkText = "한글 조합";

class Frame final : public CompositionMark {
 public:
  // `focus`: hands the foreground back to the application after the frame's own
  // controls were used; null where nothing needs handing back.
  Frame(FrameHost& host, Settings& settings, CaptionButton& languageButton, CaptionButton& hideButton,
        FocusKeeper* focus = nullptr)
      : host_(host), settings_(settings), languageButton_(languageButton), hideButton_(hideButton), focus_(focus) {}

  // The frame's WM_CREATE, after it made the keyboard window.
  void OnCreate(WindowId frame);
  void OnSize(int32_t w, int32_t h);
  // The frame moved to a monitor of another density: `suggested` is the system's
  // rectangle for it, which keeps the frame's physical size.
  void OnDpiChanged(int32_t dpi, const KeyRect& suggested);
  // The frame's sizes now, for its client area.
  FrameMetrics Metrics();
  // The keyboard whose letter key the caption buttons follow; null: the built-in size.
  void FollowKeys(const Keyboard* keyboard) { keys_ = keyboard; }
  // The keyboard's layout changed: where its letter key has another size, the frame is
  // laid out again.
  void OnKeysChanged();
  int32_t dpi() const { return dpi_; }
  // The caption buttons' part of the frame's paint.
  void DrawButtons();
  // `clickActivated`: the frame was activated by a click; `other` the window on the other
  // side of the change (losing the activation, or gaining it), 0 when unknown.
  void OnActivate(bool clickActivated, WindowId other);
  void OnMouseMove(int32_t x, int32_t y);
  void OnLButtonDown(int32_t x, int32_t y);
  void OnLButtonUp(int32_t x, int32_t y);
  void OnMouseWheel(int16_t delta);
  // The focus hook's report of the Hangul/English state of the window gaining the focus.
  void OnImeState(int32_t state);
  // The layout set or its files changed: the keyboard window loads its layout again,
  // and the title strip names the set for a moment (a sign that the choice was taken,
  // also when the language shown looks the same in both sets).
  void OnReloadLayout();
  void OnTitleNoteTick();
  // What the title strip adds to the program's name now: the set just chosen, or "".
  const std::string& titleNote() const { return titleNote_; }
  // The focus hook reported `window` (top-level) gaining the focus.
  void OnFocusReport(WindowId window);

  void StartTransparency();
  void StopTransparency();
  void OnTransparencyTick();
  // Dwell mode: the caption buttons fill and are pressed like keys, with the same fill
  // and delay; a fill completes only while the pointer stays on its button.
  void OnCaptionDwellTick();

  // The title strip's mark (kCompositionMarkText); the caption is drawn again when it changes.
  void ShowCompositionMark(bool on) override;
  bool compositionMark() const { return compositionMark_; }

  bool transparencyRunning() const { return transparencyTimer_; }
  WindowId returnWindow() const { return returnWindow_; }

 private:
  void GiveFocusBack();
  void KeepInFront();
  void PressLanguageButton();
  void PressHideButton();
  CaptionButton* ButtonAt(int32_t x, int32_t y);
  void StopCaptionDwell();
  void EndCaptionDwellStay();
  FrameMetrics MetricsFor(int32_t w, int32_t h);

  FrameHost& host_;
  Settings& settings_;
  CaptionButton& languageButton_;
  CaptionButton& hideButton_;
  FocusKeeper* focus_;
  const Keyboard* keys_ = nullptr;
  LetterKey laidOutFor_;  // the letter key of the last layout
  WindowId returnWindow_ = 0;
  bool transparencyTimer_ = false;
  int32_t dpi_ = kDesignDpi;
  CaptionButton* dwellButton_ = nullptr;  // the button the pointer rests on in dwell mode
  int32_t dwellTicks_ = -2;
  bool dwellFired_ = false;
  bool compositionMark_ = false;
  std::string titleNote_;
};

}  // namespace tessary
