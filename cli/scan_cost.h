#pragma once
// What single-switch scanning costs a user: every Hangul word of a text is typed with a
// keyboard's Korean layout by a simulated user who watches the real scan controller step
// (with a timer driven by hand) and presses the switch as soon as the highlight holds the
// key wanted next. The letters are the word's 2-set keys (Shift chosen first for the
// doubled consonants and ㅒ ㅖ; Shift release, on by default, lets it go after the
// letter, and with it off it is chosen again before a key that needs it up); a word key
// is taken as soon as it shows the word; a Space follows each word (chosen, unless the
// layout's word keys type it).
//
// In every scan mode: automatic (the cost is the highlight's timer steps), hold (the
// steps it makes while the switch is held) and step (every press moves or chooses, so
// the cost is the presses).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessary {

class Keyboard;
class Predictor;
class TextCodec;
struct LayoutEnvironment;

struct ScanCostResult {
  size_t words = 0;
  size_t steps = 0;       // timer steps of the highlight: each one costs a scan delay
  size_t presses = 0;     // switch presses
  size_t activations = 0;
  size_t wordKeys = 0;    // words taken from a word key
  std::string unreachable;  // what could not be reached by scanning (CP949); empty: all typed
  int32_t mode = 1;       // the scan mode measured (SCAN_AUTO, SCAN_STEP, SCAN_HOLD)
  // What a word costs the user: the presses in step mode, the steps in the others.
  size_t Cost() const { return mode == 2 ? presses : steps; }
  double StepsPerWord() const { return words == 0 ? 0.0 : double(Cost()) / double(words); }
};

// `keyboard` holds the layout to scan (its set must be loadable through `env`, for the
// language key); `predictor` is the one its activations feed. Stops at the first key
// that the scan never reaches.
ScanCostResult MeasureScanCost(Keyboard& keyboard, LayoutEnvironment& env, Predictor& predictor,
                               const TextCodec& codec, std::u16string_view text, int32_t scanMode = 1);

}  // namespace tessary
