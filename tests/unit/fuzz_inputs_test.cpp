// The seed inputs of the fuzzing targets, and every input a fuzzer once found, replayed
// with the targets' own property checks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "fuzz_targets.h"

namespace tessary::fuzz {

void PropertyFailed(const char* what, const char* file, int line) {
  throw std::logic_error(std::string(file) + ":" + std::to_string(line) + ": property failed: " + what);
}

namespace {

class FuzzInputsTest : public ::testing::TestWithParam<Target> {};

size_t Replay(const Target& target, const std::string& folder) {
  const std::filesystem::path dir = std::filesystem::path(TESSARY_FUZZ_INPUTS) / folder / target.name;
  if (!std::filesystem::is_directory(dir)) return 0;
  size_t count = 0;
  for (const auto& file : std::filesystem::directory_iterator(dir)) {
    std::ifstream in(file.path(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    try {
      target.run(bytes.str());
    } catch (const std::logic_error& failure) {
      ADD_FAILURE() << file.path() << ": " << failure.what();
    }
    ++count;
  }
  return count;
}

TEST_P(FuzzInputsTest, SeedsAndFoundInputsKeepEveryProperty) {
  EXPECT_GT(Replay(GetParam(), "corpus"), 0u) << "no seed inputs for " << GetParam().name;
  Replay(GetParam(), "regressions");
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzInputsTest, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<Target>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessary::fuzz
