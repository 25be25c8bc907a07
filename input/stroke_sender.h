#pragma once
// Where stroke strings go: the stroke player, or whatever stands in for it.
#include <string_view>

#include "input/stroke_parser.h"
#include "platform/key_output.h"

namespace tessary {

class StrokeSender {
 public:
  virtual ~StrokeSender() = default;
  virtual StrokeError SendStrokes(WindowId target, std::string_view text) = 0;
};

}  // namespace tessary
