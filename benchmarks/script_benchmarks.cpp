// What start-up and every language switch pay for the script host: a fresh sandboxed
// interpreter per load, the configuration read and written.
#include <benchmark/benchmark.h>

#include "config/settings.h"
#include "fakes.h"
#include "keyboard/keyboard_model.h"
#include "keyboard_rig.h"
#include "layout/layout_loader.h"
#include "posix/us_layout.h"
#include "script/script_state.h"

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

// The built-in layouts, loaded, with fakes for everything around them.
struct BuiltinKeyboard : testing::KeyboardRig {
  BuiltinKeyboard() { LoadBuiltinLayouts(kb, env); }
};

void BM_BuildKoreanKeyboard(benchmark::State& state) {
  BuiltinKeyboard b;
  for (auto _ : state) {
    BuildKeyboard(b.kb, b.env, IL_KOREAN);
    benchmark::DoNotOptimize(b.kb.keys.data());
  }
}
BENCHMARK(BM_BuildKoreanKeyboard);

void BM_HitTest90Keys(benchmark::State& state) {
  BuiltinKeyboard b;
  BuildKeyboard(b.kb, b.env, IL_KOREAN);
  b.kb.ScaleKeys(1020, 310);
  int32_t x = 0;
  for (auto _ : state) {
    // Sweep the whole window: hits early, late, and misses.
    benchmark::DoNotOptimize(b.kb.HitTest(x, 270));
    x = (x + 7) % 1020;
  }
}
BENCHMARK(BM_HitTest90Keys);

}  // namespace
}  // namespace tessary
