#pragma once
// What activating one key of the on-screen keyboard does, whatever activated it (a
// click, a completed dwell, a repeat step or a scan selection).
#include <cstdint>
#include <string>
#include <string_view>

#include "input/stroke_sender.h"
#include "prediction/hangul.h"

namespace tessary {

class Keyboard;
class Predictor;
struct LayoutEnvironment;

// Where the keyboard shows, once and without taking the focus, that it composes Hangul
// itself because the focused application has no input method in Hangul mode (the
// frame's title strip).
class CompositionMark {
 public:
  virtual ~CompositionMark() = default;
  virtual void ShowCompositionMark(bool on) = 0;
};

class KeyActivator {
 public:
  KeyActivator(Keyboard& keyboard, StrokeSender& strokes, Predictor& predictor, LayoutEnvironment& layouts)
      : keyboard_(keyboard), strokes_(strokes), predictor_(predictor), layouts_(layouts) {}

  // Activates key `keyIndex` (a negative index does nothing); `window` is the keyboard
  // window, the target of typed strokes. The caller repaints afterwards.
  void ActivateKey(WindowId window, int keyIndex);

  // Who composes Hangul. Off (as it starts): the application's input method composes the
  // 2-set keys the Korean layout sends. On: the keyboard composes them itself and sends
  // the syllables as text, each letter replacing the syllable in progress, and a word key
  // replaces exactly what it typed of the word. The program follows KeyboardComposes.
  void SetComposing(bool on);
  bool composing() const { return composing_; }
  // The syllable in progress ends where it stands (a click elsewhere, a focus change).
  void EndSyllable() { syllable_.End(); }
  const SyllableComposer& syllable() const { return syllable_; }
  // Shown when a key is composed while hangulComposition is automatic, hidden when the
  // keyboard stops composing.
  void SetCompositionMark(CompositionMark* mark) { mark_ = mark; }

 private:
  // A letter or Backspace of the Korean layout composed by the keyboard; false when the
  // key goes out as a key.
  bool ComposeKey(int32_t code, int32_t shiftState);

  Keyboard& keyboard_;
  StrokeSender& strokes_;
  Predictor& predictor_;
  LayoutEnvironment& layouts_;
  bool composing_ = false;
  bool spaceAfterWord_ = false;  // the last key typed was a word key's word and a space
  SyllableComposer syllable_;
  CompositionMark* mark_ = nullptr;
};

// The setting hangulComposition (HC_IME, HC_KEYBOARD, HC_AUTO) and the mode the focused
// application last reported (1 a Korean input method in Hangul mode, 0 an input method in
// another mode, -1 none or not known): whether the keyboard composes. Automatic composes
// unless an input method is open in Hangul mode; an unknown setting leaves it to the
// input method, as before the setting existed.
bool KeyboardComposes(int32_t hangulComposition, int32_t imeState);

}  // namespace tessary
