// The configuration file, as a user or a helper might have edited it: read, then written
// back, and what was written must read back to the same settings.
#include "config/settings.h"
#include "fakes.h"
#include "fuzz_targets.h"

namespace tessary::fuzz {

void FuzzSettings(std::string_view data) {
  testing::FakeFileSystem files;
  testing::TestTextResources texts;
  testing::RecordingMessageBoxes messages;
  const std::string original(data);
  files.files[kConfigFileName] = original;

  Settings settings;
  const ConfigReadResult result = ReadSettings(settings, files, texts, messages);
  FUZZ_CHECK(files.files[kConfigFileName] == original);  // reading never writes
  FUZZ_CHECK(result != ConfigReadResult::kNoFile);
  if (result == ConfigReadResult::kRead) {
    FUZZ_CHECK(messages.shown.empty());
  } else {
    Settings defaults;
    SetDefaults(defaults);
    FUZZ_CHECK(settings == defaults);
    FUZZ_CHECK(messages.shown.size() == 1);
  }
  FUZZ_CHECK(settings.kbdName.size() < kKbdNameBufferSize);
  FUZZ_CHECK(settings.labelFont.lfFaceName.size() < kFaceNameBufferSize);

  // Saving a broken file keeps the user's text beside the new one.
  const bool broken = result != ConfigReadResult::kRead;
  FUZZ_CHECK(WriteSettings(settings, files, kConfigFileName, broken));
  if (broken) FUZZ_CHECK(files.files[std::string(kConfigFileName) + ".bak"] == original);
  const std::string written = FormatSettings(settings);
  FUZZ_CHECK(files.files[kConfigFileName] == written);

  Settings again;
  testing::RecordingMessageBoxes quiet;
  FUZZ_CHECK(ReadSettings(again, files, texts, quiet) == ConfigReadResult::kRead);
  FUZZ_CHECK(quiet.shown.empty());
  FUZZ_CHECK(FormatSettings(again) == written);
}

}  // namespace tessary::fuzz
