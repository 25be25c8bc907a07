#include <map>

#include "fakes.h"
#include "fuzz_targets.h"
#include "input/stroke_player.h"
#include "posix/us_layout.h"

namespace tessary::fuzz {

void CheckPlayback(const std::vector<OfferedEvent>& events) {
  std::map<int16_t, bool> modifierDown{{kShiftItem, false}, {kCtrlItem, false}, {kAltItem, false}};
  for (size_t i = 0; i < events.size(); ++i) {
    const OfferedEvent& e = events[i];
    if (e.code == kQueueSyncItem) continue;
    if (e.system) FUZZ_CHECK(!modifierDown[kCtrlItem] || e.code == kCtrlItem);
    auto modifier = modifierDown.find(e.code);
    if (modifier != modifierDown.end()) {
      FUZZ_CHECK(e.down != modifier->second);
      modifier->second = e.down;
      continue;
    }
    FUZZ_CHECK(e.down);
    FUZZ_CHECK(i + 1 < events.size());
    FUZZ_CHECK(events[i + 1].code == e.code && !events[i + 1].down);
    ++i;
  }
  for (auto [code, down] : modifierDown) FUZZ_CHECK(!down);
}

std::vector<uint16_t> KeysLeftDown(const std::vector<KeyInputRecord>& sent) {
  std::map<uint16_t, bool> down;
  for (const KeyInputRecord& r : sent) down[r.code] = !r.keyUp;
  std::vector<uint16_t> held;
  for (auto [code, isDown] : down) {
    if (isDown) held.push_back(code);
  }
  return held;
}

void CheckStrokeString(std::string_view text) {
  UsEnglishLayout layout;
  StrokeQueue queue;
  const StrokeError error = ParseStrokes(text, queue, layout);
  FUZZ_CHECK(error >= kStrokeOk && error <= kStrokeQueueFull);
  FUZZ_CHECK(queue.size() <= StrokeQueue::kCapacity);

  // The journal: the system asks for each event and skips past it.
  testing::FakeKeyOutput journal;
  StrokePlayer player(journal, layout);
  FUZZ_CHECK(player.SendStrokes(7, text) == error);
  if (error != kStrokeOk) {
    FUZZ_CHECK(!player.playing() && journal.log.empty());  // nothing played, nothing touched
    return;
  }
  const std::vector<OfferedEvent> events = PlaybackEvents(queue);
  CheckPlayback(events);
  size_t played = 0;
  while (player.playing()) {
    FUZZ_CHECK(played < events.size());
    const std::optional<PlaybackMessage> record = player.OnHookCall(HookCall::kGetNext);
    FUZZ_CHECK(record.has_value());
    FUZZ_CHECK(record->message == EventMessage(events[played]));
    if (events[played].code != kQueueSyncItem) {
      FUZZ_CHECK(record->paramL == static_cast<uint16_t>(events[played].code));
    }
    player.OnHookCall(HookCall::kSkip);
    ++played;
  }
  FUZZ_CHECK(played == events.size());
  FUZZ_CHECK(!journal.hooked);

  // No journal on this platform: the same events through SendInput.
  testing::FakeKeyOutput direct;
  direct.journal = testing::FakeKeyOutput::Journal::kRefused;
  StrokePlayer fallback(direct, layout);
  const StrokeError fallbackError = fallback.SendStrokes(7, text);
  FUZZ_CHECK(fallbackError == kStrokeOk || (fallbackError == kStrokeHookFailed && direct.sent.empty()));
  FUZZ_CHECK(KeysLeftDown(direct.sent).empty());
}

}  // namespace tessary::fuzz
