#include "input/stroke_player.h"

namespace tessary {

StrokeError StrokePlayer::SendStrokes(WindowId target, std::string_view text) {
  Pending next;
  next.target = target;
  if (StrokeError e = ParseStrokes(text, next.queue, layout_)) return e;
  if (next.queue.empty()) return kStrokeOk;
  if (playing_) {
    pending_.push_back(next);
    return kStrokeOk;
  }
  return Start(next.queue, target);
}

// The one place that chooses how a playback is played.
StrokeError StrokePlayer::Start(const StrokeQueue& queue, WindowId target) {
  queue_ = queue;
  target_ = target;
  state_.Reset(&queue_);
  firstCall_ = true;
  hookCalled_ = false;
  playing_ = true;
  if (!journalMissing_) {
    if (output_.InstallPlaybackHook()) {
      hooked_ = true;
      output_.ResetModifierKeyState();
      output_.StartWatchdog(kWatchdogMs);
      return kStrokeOk;
    }
    journalMissing_ = true;  // the platform has no journal playback (any more)
  }
  output_.ResetModifierKeyState();
  const bool played = PlayThroughSendInput();
  playing_ = false;  // played to the end already
  return played ? kStrokeOk : kStrokeHookFailed;
}

bool StrokePlayer::PlayThroughSendInput() {
  state_.Reset(&queue_);
  std::vector<KeyInputRecord> batch;
  bool anyTaken = false;
  auto flush = [&] {
    if (batch.empty()) return;
    anyTaken = output_.SendInput(batch) || anyTaken;
    batch.clear();
  };
  while (state_.NextEvent()) {
    const OfferedEvent& event = state_.offered();
    if (event.code == kQueueSyncItem) {
      // Everything before the marker is in the system's input queue before it is posted.
      flush();
      output_.PostQueueSync(target_);
      anyTaken = true;
      continue;
    }
    // No system-key flag here: with Alt down the system makes WM_SYSKEY* itself.
    const auto code = static_cast<uint16_t>(static_cast<uint16_t>(event.code) & 0xFF);
    batch.push_back({code, static_cast<uint16_t>(layout_.MapVirtualKey(code)), !event.down, false});
  }
  flush();
  return anyTaken;
}

std::optional<PlaybackMessage> StrokePlayer::OnHookCall(HookCall call) {
  if (!hooked_) return std::nullopt;
  hookCalled_ = true;
  if (firstCall_) {
    firstCall_ = false;
    state_.NextEvent();
  }
  switch (call) {
    case HookCall::kGetNext: {
      const OfferedEvent& event = state_.offered();
      PlaybackMessage record;
      record.message = EventMessage(event);
      if (event.code == kQueueSyncItem) {
        record.paramL = target_;
      } else {
        record.paramL = static_cast<uint16_t>(event.code);
        record.paramH = layout_.MapVirtualKey(static_cast<uint16_t>(event.code));
      }
      return record;
    }
    case HookCall::kSkip:
      if (!state_.NextEvent()) {
        output_.CancelWatchdog();
        output_.RemovePlaybackHook();
        hooked_ = false;
        Finished();
      }
      return std::nullopt;
    case HookCall::kOther:
      return std::nullopt;
  }
  return std::nullopt;
}

void StrokePlayer::OnWatchdog() {
  if (!hooked_ || hookCalled_) return;
  // Installed, yet never called: the system has no journal playback for us.
  output_.RemovePlaybackHook();
  hooked_ = false;
  journalMissing_ = true;
  hookNeverCalled_ = true;
  PlayThroughSendInput();
  Finished();
}

void StrokePlayer::OnPlaybackCancelled() {
  if (!hooked_) return;
  output_.CancelWatchdog();
  output_.RemovePlaybackHook();  // gone already; this forgets it
  hooked_ = false;
  playing_ = false;
  pending_.clear();
  for (int16_t modifier : state_.ModifiersDown()) {
    SendKeyEvent(output_, layout_, static_cast<uint16_t>(modifier), false);
  }
}

void StrokePlayer::Finished() {
  playing_ = false;
  // The playbacks that waited follow in order; with SendInput they play at once.
  while (!playing_ && !pending_.empty()) {
    Pending next = pending_.front();
    pending_.pop_front();
    Start(next.queue, next.target);
  }
}

}  // namespace tessary
