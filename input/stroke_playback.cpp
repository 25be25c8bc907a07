#include "input/stroke_playback.h"

namespace tessary {

namespace {
bool IsModifier(int16_t item) { return item == kShiftItem || item == kCtrlItem || item == kAltItem; }
}  // namespace

std::vector<int16_t> PlaybackState::ModifiersDown() const {
  std::vector<int16_t> down;
  if (shiftDown_) down.push_back(kShiftItem);
  if (ctrlDown_) down.push_back(kCtrlItem);
  if (altDown_) down.push_back(kAltItem);
  return down;
}

unsigned EventMessage(const OfferedEvent& event) {
  if (event.code == kQueueSyncItem) return kQueueSyncMessage;
  if (event.system) return event.down ? kSysKeyDownMessage : kSysKeyUpMessage;
  return event.down ? kKeyDownMessage : kKeyUpMessage;
}

void PlaybackState::Reset(const StrokeQueue* queue) {
  queue_ = queue;
  position_ = 0;
  current_ = 0;
  shiftDown_ = ctrlDown_ = altDown_ = altUsed_ = false;
}

bool PlaybackState::NextEvent() {
  // The key-up of the ordinary key offered last.
  if (current_ != 0 && !IsModifier(current_)) {
    offered_.down = false;
    altUsed_ = true;
    current_ = 0;
    offered_.system = altDown_ && !ctrlDown_;
    return true;
  }
  if (queue_ == nullptr || position_ >= queue_->size()) return false;
  const int16_t item = (*queue_)[position_++];
  current_ = item;
  offered_.code = item;
  switch (item) {
    case kQueueSyncItem:
      current_ = 0;
      offered_.system = altDown_ && !ctrlDown_;
      return true;
    case kShiftItem:
      shiftDown_ = !shiftDown_;
      offered_.down = shiftDown_;
      break;
    case kCtrlItem:
      ctrlDown_ = !ctrlDown_;
      offered_.down = ctrlDown_;
      break;
    case kAltItem:
      altDown_ = !altDown_;
      offered_.down = altDown_;
      if (altDown_) altUsed_ = false;
      break;
    default:
      altUsed_ = true;
      offered_.down = true;
      break;
  }
  if (item == kAltItem) {
    // Alt pressed and released alone ends in a system key-up, as on a real keyboard.
    offered_.system = altDown_ ? !ctrlDown_ : (!altUsed_ && !ctrlDown_);
  } else {
    offered_.system = altDown_ && !ctrlDown_;
  }
  return true;
}

std::vector<OfferedEvent> PlaybackEvents(const StrokeQueue& queue) {
  PlaybackState state;
  state.Reset(&queue);
  std::vector<OfferedEvent> events;
  while (state.NextEvent()) events.push_back(state.offered());
  return events;
}

}  // namespace tessary
