#pragma once
// Turning a stroke queue into the ordered key events that playback offers the system.
#include <cstdint>
#include <vector>

#include "input/stroke_parser.h"
#include "platform/window_messages.h"

namespace tessary {

// The event being offered: a key going down or up, or (code -1) a queue-sync marker.
struct OfferedEvent {
  int16_t code = 0;
  bool down = false;
  bool system = false;
  bool operator==(const OfferedEvent&) const = default;
};

// The message a played event becomes: kQueueSyncMessage, or WM_(SYS)KEYDOWN/UP.
unsigned EventMessage(const OfferedEvent& event);

// The read position and the modifier state of the played events (not of the real
// keyboard).
class PlaybackState {
 public:
  void Reset(const StrokeQueue* queue);
  // Chooses the next event into `offered`; false when nothing is left.
  bool NextEvent();
  const OfferedEvent& offered() const { return offered_; }
  // The modifiers (kShiftItem, kCtrlItem, kAltItem) the events so far, the offered one
  // included, left down.
  std::vector<int16_t> ModifiersDown() const;

 private:
  const StrokeQueue* queue_ = nullptr;
  size_t position_ = 0;
  int16_t current_ = 0;
  bool shiftDown_ = false;
  bool ctrlDown_ = false;
  bool altDown_ = false;
  bool altUsed_ = false;
  OfferedEvent offered_;
};

// Every event a playback of `queue` offers, in order.
std::vector<OfferedEvent> PlaybackEvents(const StrokeQueue& queue);

}  // namespace tessary
