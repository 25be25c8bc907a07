#pragma once
// What activating one key of the on-screen keyboard does, whatever activated it (a
// click, a completed dwell, a repeat step or a scan selection).
#include <string_view>

#include "input/stroke_sender.h"

namespace tessary {

class Keyboard;
class Predictor;
struct LayoutEnvironment;

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
