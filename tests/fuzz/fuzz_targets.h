#pragma once
// The fuzzing targets: each takes arbitrary bytes, feeds them to one of the program's
// readers and checks what the reader promises about any input. The libFuzzer builds call
// them with generated inputs; the unit tests replay the seed inputs and every input a
// fuzzer once found, so a fixed fault stays fixed.
#include <string>
#include <string_view>
#include <vector>

#include "input/key_activation.h"
#include "input/stroke_playback.h"
#include "platform/key_output.h"

namespace tessary::fuzz {

// A broken property: the fuzzers abort, the unit tests report a failure.
[[noreturn]] void PropertyFailed(const char* what, const char* file, int line);

#define FUZZ_CHECK(condition)                                                      \
  do {                                                                             \
    if (!(condition)) ::tessary::fuzz::PropertyFailed(#condition, __FILE__, __LINE__); \
  } while (0)

// The stroke-string properties every played queue must have: a plain key's down is
// followed at once by its up, modifiers alternate down and up and none is left down, and
// no event with Ctrl down is a system-key event.
void CheckPlayback(const std::vector<OfferedEvent>& events);
// The codes whose last record in `sent` is a key-down.
std::vector<uint16_t> KeysLeftDown(const std::vector<KeyInputRecord>& sent);
// Parses and plays `text` both ways (journal and SendInput) and checks both.
void CheckStrokeString(std::string_view text);

// A stroke sender that checks every stroke string it is given, and counts them.
class CheckingStrokes final : public StrokeSender {
 public:
  StrokeError SendStrokes(WindowId, std::string_view text) override {
    CheckStrokeString(text);
    ++sent;
    return kStrokeOk;
  }
  int sent = 0;
};

void FuzzStrokes(std::string_view data);
void FuzzLayout(std::string_view data);
void FuzzSettings(std::string_view data);
void FuzzDictionary(std::string_view data);
void FuzzHangul(std::string_view data);

struct Target {
  const char* name;
  void (*run)(std::string_view data);
};
inline constexpr Target kTargets[] = {
    {"strokes", FuzzStrokes},       {"layout", FuzzLayout}, {"settings", FuzzSettings},
    {"dictionary", FuzzDictionary}, {"hangul", FuzzHangul},
};

}  // namespace tessary::fuzz
