#pragma once
// Fakes of the drawing canvas and the window hosts, recording what the core asked for.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "config/settings.h"
#include "input/input_modes.h"
#include "input/scan.h"
#include "keyboard/canvas.h"
#include "ui/caption_button.h"
#include "ui/focus_keeper.h"
#include "ui/frame.h"
#include "ui/keyboard_window.h"

namespace tessary::testing {

// The low-level hooks installed and removed, as lines of `log`; installs fail on request.
class RecordingHooks : public InputModeHooks {
 public:
  explicit RecordingHooks(std::vector<std::string>& log) : log(log) {}
  std::vector<std::string>& log;
  bool fail = false;
  bool InstallMouseHook() override { return log.push_back("install mouse"), !fail; }
  void RemoveMouseHook() override { log.push_back("remove mouse"); }
  bool InstallKeyboardHook(int32_t first, int32_t second) override {
    log.push_back("install keyboard" + (first == SWITCH_SPACE && second == SWITCH_NONE
                                            ? std::string()
                                            : " " + std::to_string(first) + " " + std::to_string(second)));
    return !fail;
  }
  void RemoveKeyboardHook() override { log.push_back("remove keyboard"); }
};

// The scanner's hand-offs, as lines of `log`.
class RecordingScan : public ScanControl {
 public:
  explicit RecordingScan(std::vector<std::string>& log) : log(log) {}
  std::vector<std::string>& log;
  void StartScan(WindowId window, uint32_t delay) override {
    log.push_back("start scan " + std::to_string(window) + " " + std::to_string(delay));
  }
  void StopScan() override { log.push_back("stop scan"); }
  void OnSwitchSignal(int which, bool released) override {
    if (!released) log.push_back(which == 1 ? "switch" : "switch 2");
  }
  void DrawHighlight(Canvas&) override { log.push_back("highlight"); }
};

inline std::string RectText(const KeyRect& r) {
  char text[64];
  std::snprintf(text, sizeof text, "(%d,%d,%d,%d)", r.left, r.top, r.right, r.bottom);
  return text;
}
inline std::string Hex(uint32_t color) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", color);
  return text;
}

class FakeFont : public Font {
 public:
  // The count outlives the canvas: a font, like the platform's, may outlive the
  // surface it was made on.
  FakeFont(int32_t h, std::shared_ptr<int> alive, int32_t w = 0) : height(h), width(w), alive_(std::move(alive)) {
    ++*alive_;
  }
  ~FakeFont() override { --*alive_; }
  int32_t height;
  int32_t width;  // the average character width asked for; 0: the face's own

 private:
  std::shared_ptr<int> alive_;
};

// Every operation as one line of text.
class RecordingCanvas : public Canvas {
 public:
  std::vector<std::string> ops;
  std::shared_ptr<int> fontsAlive = std::make_shared<int>(0);

  void FillSolid(const KeyRect& r, uint32_t color) override { ops.push_back("fill " + RectText(r) + " " + Hex(color)); }
  void RoundRect(const KeyRect& r, int32_t ew, int32_t eh, uint32_t border, uint32_t face) override {
    ops.push_back("key " + RectText(r) + " e" + std::to_string(ew) + "x" + std::to_string(eh) + " border " +
                  Hex(border) + " face " + Hex(face));
  }
  void FillRoundedPart(const KeyRect& rounded, int32_t ellipse, const KeyRect& part, uint32_t color) override {
    ops.push_back("dwell " + RectText(rounded) + " e" + std::to_string(ellipse) + " part " + RectText(part) + " " +
                  Hex(color));
  }
  void DrawLabel(const std::string& text, const KeyRect& r, uint32_t color, const Font* font) override {
    const auto* fake = dynamic_cast<const FakeFont*>(font);
    ops.push_back("label '" + text + "' " + RectText(r) + " " + Hex(color) +
                  (fake ? " font " + std::to_string(fake->height) : " nofont") +
                  (fake && fake->width > 0 ? " narrow " + std::to_string(fake->width) : ""));
  }
  std::unique_ptr<Font> CreateLabelFont(const LabelFont& description) override {
    return std::make_unique<FakeFont>(description.lfHeight, fontsAlive, description.lfWidth);
  }
  // A font's text (CP949): each ASCII character 3/5 of the height wide, a two-byte one
  // (Hangul) the whole height; with a width asked for, that and twice it; as high as
  // the font.
  TextExtent MeasureLabel(const std::string& text, const Font* font) override {
    const auto* fake = dynamic_cast<const FakeFont*>(font);
    const int32_t h = fake ? fake->height : 12, w = fake ? fake->width : 0;
    int32_t width = 0;
    for (size_t i = 0; i < text.size();) {
      const bool pair = static_cast<unsigned char>(text[i]) >= 0x81;
      width += w > 0 ? (pair ? 2 * w : w) : (pair ? h : h * 3 / 5);
      i += pair ? 2 : 1;
    }
    return {width, h};
  }
  void DrawLines(const std::vector<std::vector<CanvasPoint>>& lines, uint32_t color, int32_t thickness) override {
    std::string text = "lines";
    for (const auto& line : lines) {
      text += " ";
      for (const CanvasPoint& p : line) text += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
    }
    ops.push_back(text + " " + Hex(color) + " w" + std::to_string(thickness));
  }
};

class FakeGlyphPainter : public GlyphPainter {
 public:
  std::vector<std::string> painted;
  void PaintGlyphButton(WindowId, const KeyRect& rect, char glyph, GlyphLook look) override {
    const char* name = look == GlyphLook::kPlain ? "plain" : look == GlyphLook::kHot ? "hot" : "pressed";
    painted.push_back(std::string(1, glyph) + " " + name + " " + RectText(rect));
  }
  void PaintGlyphFill(WindowId, const KeyRect& rect, char glyph, const KeyRect& part, uint32_t color) override {
    painted.push_back(std::string(1, glyph) + " fill " + RectText(rect) + " part " + RectText(part) + " " + Hex(color));
  }
};

class FakeKeyboardHost : public KeyboardWindowHost {
 public:
  std::vector<std::string> log;
  RecordingCanvas window;  // what was drawn straight onto the window
  int32_t pointerX = -100, pointerY = -100;
  uint32_t dwellPeriod = 0;
  bool dwellTimer = false;
  bool repeatTimer = false;
  int invalidations = 0;
  int sounds = 0;
  int ticks = 0;
  struct Click {
    int32_t x, y;
  };
  std::vector<Click> clicks;

  void SetRepeatTimer(uint32_t periodMs) override {
    repeatTimer = true;
    log.push_back("repeat " + std::to_string(periodMs));
  }
  void KillRepeatTimer() override {
    repeatTimer = false;
    log.push_back("kill repeat");
  }
  void PointerPosition(int32_t& x, int32_t& y) override {
    x = pointerX;
    y = pointerY;
  }
  void InvalidateKeyboard() override { ++invalidations; }
  void SetDwellTimer(uint32_t periodMs) override {
    dwellTimer = true;
    dwellPeriod = periodMs;
    log.push_back("dwell timer " + std::to_string(periodMs));
  }
  void KillDwellTimer() override { dwellTimer = false; }
  void PostClick(int32_t x, int32_t y) override { clicks.push_back({x, y}); }
  void RequestHoverNotice(uint32_t ms) override { log.push_back("hover notice " + std::to_string(ms)); }
  void RequestLeaveNotice() override { log.push_back("leave notice"); }
  void DrawDirect(const std::function<void(Canvas&)>& draw) override { draw(window); }
  void PlayClickSound() override { ++sounds; }
  void PlayTickSound() override { ++ticks; }
};

class FakeFrameHost : public FrameHost {
 public:
  std::vector<std::string> log;
  int32_t f = 4, w = 520, h = 198;
  int32_t pointerX = 0, pointerY = 0;
  bool visible = true;
  bool layered = false;
  int alpha = -1;
  bool timerWorks = true;

  int32_t dpi = 96;
  int32_t SizingFrame() override { return f; }
  int32_t Dpi() override { return dpi; }
  void SetFrameRect(const KeyRect& r) override { log.push_back("frame rect " + RectText(r)); }
  void PointerInClient(int32_t& x, int32_t& y) override {
    x = pointerX;
    y = pointerY;
  }
  void ClientSize(int32_t& cw, int32_t& ch) override {
    cw = w;
    ch = h;
  }
  bool IsVisible() override { return visible; }
  bool IsLayered() override { return layered; }
  void SetLayered(bool on) override { layered = on; }
  void SetAlpha(uint8_t a) override { alpha = a; }
  void SetCursor(FrameCursor cursor) override {
    log.push_back("cursor " + std::to_string(static_cast<int>(cursor)));
  }
  void BeginMove() override { log.push_back("move"); }
  void BeginResize(int32_t zone) override { log.push_back("resize " + std::to_string(zone)); }
  void PostOpenTrayMenu() override { log.push_back("tray menu"); }
  void SendLanguageSwitch() override { log.push_back("language switch"); }
  void HideFrame() override {
    log.push_back("hide");
    visible = false;
  }
  void KeepInFront() override { ++inFront; }
  int inFront = 0;  // how often the frame was put back in front
  void InvalidateCaption(int32_t width) override { log.push_back("invalidate caption " + std::to_string(width)); }
  void InvalidateFrame() override { log.push_back("invalidate frame"); }
  void MoveKeyboardWindow(const KeyRect& r) override { log.push_back("move keyboard " + RectText(r)); }
  void PostImeState(int32_t state) override { log.push_back("ime state " + std::to_string(state)); }
  void ForwardReloadLayout() override { log.push_back("reload layout"); }
  bool SetTransparencyTimer(uint32_t periodMs) override {
    log.push_back("transparency timer " + std::to_string(periodMs));
    return timerWorks;
  }
  void KillTransparencyTimer() override { log.push_back("kill transparency timer"); }
  void SetCaptionDwellTimer(uint32_t periodMs) override {
    captionDwellTimer = true;
    log.push_back("caption dwell timer " + std::to_string(periodMs));
  }
  void KillCaptionDwellTimer() override { captionDwellTimer = false; }
  void SetTitleNoteTimer(uint32_t periodMs) override { log.push_back("title note timer " + std::to_string(periodMs)); }
  void KillTitleNoteTimer() override { log.push_back("kill title note timer"); }
  bool captionDwellTimer = false;
  void StartImageDetection(uint32_t delayMs) override { log.push_back("image detection " + std::to_string(delayMs)); }
};

// The desktop as the focus keeper sees it: window kinds by handle, the foreground, and
// every hand-over.
class FakeFocusHost : public FocusHost {
 public:
  std::map<WindowId, WindowKind> kinds;
  WindowId foreground = 0;
  std::vector<WindowId> handedTo;

  WindowId Foreground() override { return foreground; }
  WindowKind KindOf(WindowId window) override {
    const auto it = kinds.find(window);
    return it == kinds.end() ? WindowKind::kNone : it->second;
  }
  void SetForeground(WindowId window) override {
    handedTo.push_back(window);
    foreground = window;
  }
};

}  // namespace tessary::testing
