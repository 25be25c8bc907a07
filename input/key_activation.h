#pragma once
// What activating one key of the on-screen keyboard does, whatever activated it (a
// click, a completed dwell, a repeat step or a scan selection).
#include <string_view>

#include "input/key_output.h"
#include "input/stroke_parser.h"

namespace tessary {

class Keyboard;
class Predictor;
struct LayoutEnvironment;

// Where stroke strings go: the stroke player, or whatever stands in for it.
class StrokeSender {
 public:
  virtual ~StrokeSender() = default;
  virtual StrokeError SendStrokes(WindowId target, std::string_view text) = 0;
};

class KeyActivator {
 public:
  KeyActivator(Keyboard& keyboard, StrokeSender& strokes, Predictor& predictor, LayoutEnvironment& layouts)
      : keyboard_(keyboard), strokes_(strokes), predictor_(predictor), layouts_(layouts) {}

  // Activates key `keyIndex` (a negative index does nothing); `window` is the keyboard
  // window, the target of typed strokes. The caller repaints afterwards.
  void ActivateKey(WindowId window, int keyIndex);

 private:
  Keyboard& keyboard_;
  StrokeSender& strokes_;
  Predictor& predictor_;
  LayoutEnvironment& layouts_;
};

}  // namespace tessary
