// A layout script as a user might copy it from anywhere: the keyboard is built from it,
// or it is refused and the keyboard stays as it was.
#include <memory>

#include "fakes.h"
#include "fuzz_targets.h"
#include "input/key_activation.h"
#include "input/stroke_player.h"
#include "keyboard_rig.h"
#include "prediction/predictor.h"

namespace tessary::fuzz {

namespace {

struct Snapshot {
  std::vector<KeyDef> keys;
  int32_t view, height, width, fontSize, version, language;
  bool prediction;
  std::string description;

  explicit Snapshot(const Keyboard& kb)
      : keys(kb.keys), view(kb.view), height(kb.height), width(kb.width), fontSize(kb.fontSize),
        version(kb.version), language(kb.language), prediction(kb.prediction), description(kb.description) {}
  bool operator==(const Snapshot&) const = default;
};

}  // namespace

void FuzzLayout(std::string_view data) {
  auto rig = std::make_unique<testing::KeyboardRig>();
  Keyboard& kb = rig->kb;
  ReloadLayout(kb, rig->env, kDefaultLayoutName, IL_KOREAN);
  FUZZ_CHECK(rig->messages.shown.empty() && !kb.keys.empty());
  const Snapshot before(kb);

  kb.layoutSet[IL_ENGLISH] = std::string(data);
  if (!BuildKeyboard(kb, rig->env, IL_ENGLISH)) {
    FUZZ_CHECK(Snapshot(kb) == before);
    return;
  }
  FUZZ_CHECK(kb.description.size() < Keyboard::kDescriptionBufferSize);

  // The built keyboard is usable: sized, hit, scanned, and every key activated.
  kb.ScaleKeys(520, 198);
  // A hit test looks through every key (one per pointer move), so only the first keys are
  // hit here: all of them would make a layout of tens of thousands of empty keys quadratic.
  const size_t count = std::min<size_t>(kb.keys.size(), 128);
  for (size_t i = 0; i < kb.keys.size(); ++i) {
    if (i < count) {
      const KeyRect& r = kb.keys[i].rect;
      const int hit = kb.HitTest(r.left, r.top);
      FUZZ_CHECK(hit == -1 || (hit >= 0 && static_cast<size_t>(hit) < kb.keys.size()));
    }
    for (int view = 0; view < 4; ++view) (void)kb.keys[i].Label(view);
  }
  for (int32_t line = 0; line <= 3; ++line) {
    for (int index : kb.KeysInScanLine(line)) FUZZ_CHECK(kb.keys[static_cast<size_t>(index)].scanLine == line);
  }
  CheckingStrokes strokes;
  NoPredictor predictor;
  KeyActivator activator(kb, strokes, predictor, rig->env);
  for (size_t i = 0; i < count; ++i) activator.ActivateKey(1, static_cast<int>(i));
  // The end of the program (what the keyboard sends as it goes away): nothing it pressed
  // is left down.
  kb.ReleaseModifiers();
  FUZZ_CHECK(KeysLeftDown(rig->output.sent).empty());
}

}  // namespace tessary::fuzz
