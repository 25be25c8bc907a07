#pragma once
// Keystroke synthesis: single key events and keystrokes through SendInput, and stroke
// strings played as a journal playback, or through SendInput where the platform offers
// no journal playback.
#include <cstdint>
#include <deque>
#include <optional>
#include <string_view>

#include "input/stroke_parser.h"
#include "input/stroke_playback.h"
#include "input/stroke_sender.h"
#include "platform/key_output.h"

namespace tessary {

// What the journal playback hook is called with.
enum class HookCall { kGetNext, kSkip, kOther };

// What HC_GETNEXT answers: the fields of the platform's EVENTMSG record.
struct PlaybackMessage {
  unsigned message = 0;
  uintptr_t paramL = 0;
  uint32_t paramH = 0;
};

enum class PlaybackPath {
  kJournal,    // journal playback: the system takes the events as hardware input
  kSendInput,  // the same ordered events through SendInput
};

class StrokePlayer final : public StrokeSender {
 public:
  // How long an installed playback hook may go uncalled before the platform is taken
  // to have none.
  static constexpr uint32_t kWatchdogMs = 200;

  StrokePlayer(KeyOutput& output, const KeyLayout& layout) : output_(output), layout_(layout) {}

  // Parses `text` and plays it. A parse error is returned at once and nothing is
  // played. An empty queue plays nothing. While another playback runs, the new one waits
  // behind it and follows in order. Returns 6 only when neither way of playing works.
  StrokeError SendStrokes(WindowId target, std::string_view text) override;

  // The journal playback hook. Returns the record for kGetNext (nothing otherwise).
  std::optional<PlaybackMessage> OnHookCall(HookCall call);
  // The watchdog timer: a hook that was never called is given up for SendInput, now
  // and for the rest of the process.
  void OnWatchdog();
  // The system cancelled the playback and removed its hook (WM_CANCELJOURNAL, after
  // Ctrl+Esc or Ctrl+Alt+Del): the playback and the ones waiting behind it are
  // forgotten, and the modifiers it left down are released. Later playbacks start
  // afresh with a new hook.
  void OnPlaybackCancelled();

  bool playing() const { return playing_; }
  size_t waiting() const { return pending_.size(); }
  // The path playbacks take now: the journal until it is found missing.
  PlaybackPath path() const { return journalMissing_ ? PlaybackPath::kSendInput : PlaybackPath::kJournal; }
  // Whether the watchdog found an installed hook that the system never called.
  bool hookNeverCalled() const { return hookNeverCalled_; }

 private:
  struct Pending {
    StrokeQueue queue;
    WindowId target;
  };

  StrokeError Start(const StrokeQueue& queue, WindowId target);
  bool PlayThroughSendInput();
  void Finished();

  KeyOutput& output_;
  const KeyLayout& layout_;
  StrokeQueue queue_;  // the playback's own copy
  PlaybackState state_;
  WindowId target_ = 0;
  bool playing_ = false;
  bool hooked_ = false;
  bool firstCall_ = false;
  bool hookCalled_ = false;
  bool journalMissing_ = false;
  bool hookNeverCalled_ = false;
  std::deque<Pending> pending_;
};

}  // namespace tessary
