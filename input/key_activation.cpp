#include "input/key_activation.h"

#include <algorithm>

#include "config/settings.h"
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

// A mark that closes a sentence or a clause: it goes right after the word, before the
// space a word key typed after it.
bool ClosesWord(const std::string& label) {
  return label.size() == 1 && std::string_view(".,?!:;)]}").find(label[0]) != std::string_view::npos;
}
}  // namespace

bool KeyboardComposes(int32_t hangulComposition, int32_t imeState) {
  if (hangulComposition == HC_KEYBOARD) return true;
  if (hangulComposition == HC_AUTO) return imeState != 1;
  return false;
}

void KeyActivator::SetComposing(bool on) {
  if (on != composing_) syllable_.End();
  composing_ = on;
  if (!on && mark_ != nullptr) mark_->ShowCompositionMark(false);
}

bool KeyActivator::ComposeKey(int32_t code, int32_t shiftState) {
  // Ctrl and Alt make a letter a shortcut; another layout's letters are its own.
  if (!composing_ || keyboard_.language != IL_KOREAN || keyboard_.IsLatched(kCtrlKey) || keyboard_.IsLatched(kAltKey)) {
    return false;
  }
  std::optional<TextReplacement> change;
  if (code == kBackspaceKey) {
    change = syllable_.Backspace();
  } else if (const char letter = twoSetLetter(code, shiftState)) {
    change = syllable_.Type(letter);
  }
  if (!change) return false;
  SendTextReplacement(keyboard_.output(), keyboard_.layout(), change->erase, change->insert);
  if (mark_ != nullptr && layouts_.settings.hangulComposition == HC_AUTO) mark_->ShowCompositionMark(true);
  return true;
}

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
  // The space a word key typed after its word: a closing mark takes its place, and any
  // other key but a modifier leaves it.
  const bool spaceAfterWord = spaceAfterWord_;
  if (!IsModifierCode(code)) spaceAfterWord_ = false;
  if (spaceAfterWord && ClosesWord(key.Label(keyboard_.view))) SendKeyStroke(output, layout, kBackspaceKey, false);

  // 1. Output, by the first rule that applies.
  if (key.Has(TK_STRING)) {
    const std::string& word = key.Label(keyboard_.view);
    if (composing_) {
      // What the keyboard typed of this word goes, whatever it was (letters, initials).
      const std::u16string text = predictor_.wordText(word);
      if (!text.empty()) {
        const TextReplacement change = syllable_.ReplaceWord(text);
        if (SendTextReplacement(output, layout, change.erase, change.insert)) {
          predictor_.wordTyped(word);
          if (keyboard_.spaceAfterWord) {
            syllable_.End();
            SendKeyStroke(output, layout, kSpaceKey, false);
            spaceAfterWord_ = true;
          }
        }
      }
    } else {
      // The space goes with the letters, after them; a word typed in full gets only the space.
      const std::string strokes = predictor_.wordStrokes(word) + (keyboard_.spaceAfterWord ? " " : "");
      if (!strokes.empty() && strokes_.SendStrokes(window, strokes) == kStrokeOk) {
        predictor_.wordTyped(word);
        spaceAfterWord_ = keyboard_.spaceAfterWord;
      }
    }
  } else if (IsModifierCode(code)) {
    SendKeyEvent(output, layout, vk, !keyboard_.IsLatched(code));
  } else if (!key.Has(TK_SHIFT) && !key.Has(TK_MACRO) && ComposeKey(code, shiftState)) {
    // Sent as text.
  } else {
    // Any other key ends the syllable (Space, Enter, punctuation, the language switch);
    // a Backspace with no syllable in progress removes a character of the word.
    if (code != kBackspaceKey) syllable_.End();
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
    predictor_.offerTypedWord(keyboard_.spaceAfterWord);
    const std::vector<std::string> candidates = predictor_.onKey(code, shiftState);
    if (code != kShiftKey && code != kCtrlKey) {
      keyboard_.ShowCandidates(candidates);
      // Only a scan order that follows them needs the candidates' next letters.
      keyboard_.nextLetters.clear();
      if (keyboard_.FollowsNextLetters()) {
        const auto wordKeys = std::count_if(keyboard_.keys.begin(), keyboard_.keys.end(),
                                            [](const KeyDef& k) { return k.Has(TK_STRING); });
        keyboard_.nextLetters = predictor_.nextLetterChances(static_cast<size_t>(wordKeys));
      }
    }
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
