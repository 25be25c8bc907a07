#pragma once
// A keyboard with fakes for everything around it, for the tests and benchmarks of the
// model, the loader and activation.
#include "config/settings.h"
#include "fakes.h"
#include "keyboard/keyboard_model.h"
#include "layout/layout_loader.h"
#include "posix/us_layout.h"

namespace tessary::testing {

struct KeyboardRig {
  FakeFileSystem files;
  TestTextResources texts;
  RecordingMessageBoxes messages;
  Settings settings;
  LayoutEnvironment env{files, texts, messages, settings, {}};
  FakeKeyOutput output;
  UsEnglishLayout layout;
  Keyboard kb{output, layout};
};

}  // namespace tessary::testing
