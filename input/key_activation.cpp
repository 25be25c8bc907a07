#include "input/key_activation.h"

#include "keyboard/keyboard_model.h"
#include "layout/layout_loader.h"
#include "platform/key_codes.h"
#include "platform/key_output.h"
#include "prediction/predictor.h"

namespace tessary {

namespace {
bool IsModifierCode(int32_t code) {
  return code == kShiftKey || code == kCtrlKey || code == kAltKey || code == kLeftWinKey;
}
}  // namespace

void KeyActivator::ActivateKey(WindowId window, int keyIndex) {
  if (keyIndex < 0 || static_cast<size_t>(keyIndex) >= keyboard_.keys.size()) return;
  // Copies: a language switch below replaces the key list.
  const KeyDef key = keyboard_.keys[static_cast<size_t>(keyIndex)];
  const int32_t code = key.code;
  int32_t shiftState = keyboard_.view;
  KeyOutput& output = keyboard_.output();
  const KeyLayout& layout = keyboard_.layout();
  const auto vk = static_cast<uint16_t>(code);
  // A word key without a word (blank until the first prediction) does nothing at all:
  // it neither types a space nor ends the word being typed.
  if (key.Has(TK_STRING) && key.Label(keyboard_.view).find_first_not_of(' ') == std::string::npos) return;

  // 1. Output, by the first rule that applies.
  if (key.Has(TK_STRING)) {
    const std::string& word = key.Label(keyboard_.view);
    const std::string strokes = predictor_.wordStrokes(word);
    if (!strokes.empty() && strokes_.SendStrokes(window, strokes) == kStrokeOk) predictor_.wordTyped(word);
  } else if (IsModifierCode(code)) {
    SendKeyEvent(output, layout, vk, !keyboard_.IsLatched(code));
  } else {
    if (key.Has(TK_SHIFT)) {
      strokes_.SendStrokes(window, key.stroke);
      shiftState |= 1;
    }
    if (key.Has(TK_MACRO)) {
      strokes_.SendStrokes(window, key.stroke);
    } else {
      SendKeyStroke(output, layout, vk, key.Has(TK_EXTENDED));
    }
  }

  // 2. Prediction.
  if (keyboard_.prediction) {
    // The keys show only what matches now: nothing, when nothing does. Shift and Ctrl keep
    // the word going, and the keys what they show.
    const std::vector<std::string> candidates = predictor_.onKey(code, shiftState);
    if (code != kShiftKey && code != kCtrlKey) keyboard_.ShowCandidates(candidates);
  }

  // 3. The view.
  if (key.Has(TK_CHANGEVIEW)) {
    if (code == kShiftKey) keyboard_.view ^= 1;
    if (code == kCapsLockKey) keyboard_.view ^= 2;
  }

  // 4. The latch.
  if (key.Has(TK_TOGGLE)) {
    if (keyboard_.IsLatched(code)) {
      keyboard_.Unlatch(code);
    } else {
      keyboard_.keys[static_cast<size_t>(keyIndex)].latched = true;
    }
  }

  // 5. The language switch.
  if (IsLanguageKey(code)) {
    if (keyboard_.language == IL_KOREAN) {
      BuildKeyboard(keyboard_, layouts_, IL_ENGLISH);
      keyboard_.ResetModifiers();
    } else if (keyboard_.language == IL_ENGLISH) {
      BuildKeyboard(keyboard_, layouts_, IL_KOREAN);
      keyboard_.ResetModifiers();
    }
  }
}

}  // namespace tessary
