// What start-up and every language switch pay for the script host: a fresh sandboxed
// interpreter per load, the configuration read and written.
#include <benchmark/benchmark.h>

#include "fakes.h"
#include "layout/script_state.h"
#include "shell/settings.h"

namespace tessary {
namespace {

void BM_NewScriptState(benchmark::State& state) {
  for (auto _ : state) {
    ScriptState script;
    benchmark::DoNotOptimize(script.lua());
  }
}
BENCHMARK(BM_NewScriptState);

void BM_ReadSettings(benchmark::State& state) {
  testing::FakeFileSystem files;
  testing::TestTextResources texts;
  testing::RecordingMessageBoxes messages;
  files.files[kConfigFileName] = FormatSettings(Settings{});
  for (auto _ : state) {
    Settings settings;
    ReadSettings(settings, files, texts, messages);
    benchmark::DoNotOptimize(settings.left);
  }
}
BENCHMARK(BM_ReadSettings);

void BM_FormatSettings(benchmark::State& state) {
  const Settings settings;
  for (auto _ : state) benchmark::DoNotOptimize(FormatSettings(settings));
}
BENCHMARK(BM_FormatSettings);

}  // namespace
}  // namespace tessary
