#include "keyboard/keyboard_model.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <tuple>

#include "platform/key_codes.h"
#include "platform/key_output.h"
#include "platform/numbers.h"

namespace tessary {

namespace {

// Shift, Ctrl, Alt, both Win keys, and the left and right Shift, Ctrl and Alt.
constexpr int32_t kModifierCodes[] = {kShiftKey,     kCtrlKey,     kAltKey,      kLeftWinKey,
                                      kRightWinKey,  kLeftShiftKey, kRightShiftKey, kLeftCtrlKey,
                                      kRightCtrlKey, kLeftAltKey,  kRightAltKey};

// R(v): v + 0.5 truncated toward zero, kept inside the int32 range.
int32_t Round(double v) { return TruncateToInt32(v + 0.5); }

int32_t Add(int32_t a, int32_t b) {
  const int64_t sum = static_cast<int64_t>(a) + b;
  return static_cast<int32_t>(sum > INT32_MAX ? INT32_MAX : sum < INT32_MIN ? INT32_MIN : sum);
}

void ReleaseModifierKeys(KeyOutput& output, const KeyLayout& layout) {
  for (int32_t code : {kCtrlKey, kShiftKey, kAltKey, kLeftWinKey}) {
    SendKeyEvent(output, layout, static_cast<uint16_t>(code), false);
  }
}

}  // namespace

bool KeyDef::Repeats() const {
  if (Has(TK_TOGGLE) || Has(TK_STRING)) return false;
  if (IsLanguageKey(code)) return false;
  if (code == kCapsLockKey || code == kNumLockKey || code == kScrollLockKey) return false;
  for (int32_t modifier : kModifierCodes) {
    if (code == modifier) return false;
  }
  return true;
}

const std::string& KeyDef::Label(int view) const {
  switch (view & 3) {
    case 1: return ncys;
    case 2: return ycns;
    case 3: return ycys;
    default: return ncns;
  }
}

Keyboard::~Keyboard() {
  // Whatever ends the program, no modifier the keyboard pressed stays down.
  ReleaseModifiers();
}

void Keyboard::ReleaseModifiers() { ReleaseModifierKeys(output_, layout_); }

namespace {
std::atomic<Keyboard*> keyboardReleasedAtExit{nullptr};

void ReleaseRegisteredKeyboard() {
  if (Keyboard* keyboard = keyboardReleasedAtExit.exchange(nullptr)) keyboard->ReleaseModifiers();
}
}  // namespace

ModifierReleaseAtExit::ModifierReleaseAtExit(Keyboard& keyboard) {
  static const bool registered = std::atexit(ReleaseRegisteredKeyboard) == 0;
  (void)registered;
  previous_ = keyboardReleasedAtExit.exchange(&keyboard);
}

ModifierReleaseAtExit::~ModifierReleaseAtExit() { keyboardReleasedAtExit.store(previous_); }

int Keyboard::HitTest(int32_t x, int32_t y) const {
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i].rect.Contains(x, y)) return static_cast<int>(i);
  }
  return kNoKey;
}

void Keyboard::ScaleKeys(uint32_t clientWidth, uint32_t clientHeight) {
  if (width == 0 || height == 0) {
    for (KeyDef& key : keys) key.rect = {};
    return;
  }
  const double sx = static_cast<double>(clientWidth) / width;
  const double sy = static_cast<double>(clientHeight) / height;
  for (KeyDef& key : keys) {
    key.rect.left = Round(sx * key.pos.left);
    key.rect.top = Round(sy * key.pos.top);
    key.rect.right = Add(key.rect.left, Round(sx * key.pos.width));
    key.rect.bottom = Add(key.rect.top, Round(sy * key.pos.height));
  }
}

bool Keyboard::IsLatched(int32_t code) const {
  for (const KeyDef& key : keys) {
    if (key.code == code && key.latched) return true;
  }
  return false;
}

int Keyboard::LatchedShiftKey(int preferred) const {
  const auto latchedShift = [this](size_t index) {
    return index < keys.size() && keys[index].code == kShiftKey && keys[index].latched;
  };
  if (preferred >= 0 && latchedShift(static_cast<size_t>(preferred))) return preferred;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (latchedShift(i)) return static_cast<int>(i);
  }
  return kNoKey;
}

void Keyboard::Unlatch(int32_t code) {
  for (KeyDef& key : keys) {
    if (key.code == code) key.latched = false;
  }
}

void Keyboard::ResetModifiers() {
  if (view == 2 || view == 3) SendKeyStroke(output_, layout_, kCapsLockKey, false);
  ReleaseModifierKeys(output_, layout_);
  view = 0;
}

void Keyboard::SyncLockKeys() {
  for (KeyDef& key : keys) {
    if (key.code != kCapsLockKey && key.code != kNumLockKey && key.code != kScrollLockKey) continue;
    if (!output_.IsLockOn(static_cast<uint32_t>(key.code))) continue;
    key.latched = true;
    if (key.code == kCapsLockKey) view ^= 2;
  }
}

std::vector<int> Keyboard::KeysInScanLine(int32_t line) const {
  std::vector<int> found;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i].scanLine == line) found.push_back(static_cast<int>(i));
  }
  return found;
}

int32_t Keyboard::LikeliestNextLine(const std::vector<int32_t>& declared, const std::vector<int32_t>& listed) const {
  std::map<int32_t, double> chance;  // by scan line
  for (const LetterChance& next : nextLetters) {
    const auto key = std::find_if(keys.begin(), keys.end(), [&next](const KeyDef& k) {
      return k.code == next.code && !k.Has(TK_STRING) && !k.Has(TK_MACRO);
    });
    if (key != keys.end() && key->scanLine > 0) chance[key->scanLine] += next.chance;
  }
  for (int32_t line : listed) chance.erase(line);
  int32_t best = 0;
  double most = 0;
  // The declared lines first, so that a tie goes to the one declared first.
  for (int32_t line : declared) {
    const auto at = chance.find(line);
    if (at != chance.end() && at->second > most) std::tie(best, most) = *at;
  }
  for (const auto& [line, p] : chance) {
    if (p > most) std::tie(best, most) = std::tie(line, p);
  }
  return best;
}

bool Keyboard::FollowsNextLetters() const {
  return std::any_of(scanOrder.begin(), scanOrder.end(),
                     [](const auto& o) { return std::find(o.begin(), o.end(), 0) != o.end(); });
}

std::vector<int32_t> Keyboard::ScanLineOrder(SyllablePlace place) const {
  const bool declared = std::any_of(scanOrder.begin(), scanOrder.end(), [](const auto& o) { return !o.empty(); });
  if (!declared || place < 0 || place >= kSyllablePlaces) return {};
  // The place without an order of its own takes the word end's.
  const std::vector<int32_t>& first = scanOrder[static_cast<size_t>(place)].empty() ? scanOrder[kAtWordEnd]
                                                                                    : scanOrder[static_cast<size_t>(place)];
  std::vector<int32_t> lines;
  for (int32_t line : first) {
    if (line == 0) line = LikeliestNextLine(first, lines);
    if (line > 0 && !KeysInScanLine(line).empty() && std::find(lines.begin(), lines.end(), line) == lines.end()) {
      lines.push_back(line);
    }
  }
  for (int32_t line = 1; !KeysInScanLine(line).empty(); ++line) {
    if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(line);
  }
  return lines;
}

std::vector<int> Keyboard::KeysInScanBlock(int32_t line, int32_t block) const {
  std::vector<int> found;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i].scanLine == line && keys[i].scanBlock == block) found.push_back(static_cast<int>(i));
  }
  return found;
}

void Keyboard::ShowCandidates(const std::vector<std::string>& candidates) {
  size_t next = 0;
  for (KeyDef& key : keys) {
    if (!key.Has(TK_STRING)) continue;
    key.SetAllLabels(next < candidates.size() ? candidates[next] : std::string());
    ++next;
  }
}

}  // namespace tessary
