#include "posix/posix_file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "config/settings.h"
#include "posix/iconv_codec.h"

namespace tessary {
namespace {

namespace fs = std::filesystem;

class PosixFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("tessary-fs-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    base_ = dir_.string() + "/";
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  IconvCodec codec_;
  PosixFileSystem files_{codec_};
  fs::path dir_;
  std::string base_;
};

TEST_F(PosixFileSystemTest, CorePathsAreCp949AndNamesOnDiskAreUtf8) {
  const std::string cp949 = base_ + "키보드\\한글.kdf";  // CP949 in the core
  fs::create_directories(dir_ / u8"키보드");
  ASSERT_TRUE(files_.WriteNewFile(cp949, "Language = 1"));
  EXPECT_TRUE(fs::exists(dir_ / u8"키보드" / u8"한글.kdf"));
  EXPECT_TRUE(files_.CanOpenForReading(cp949));
  EXPECT_EQ(files_.ReadWholeFile(cp949), "Language = 1");
}

TEST_F(PosixFileSystemTest, DirectoriesAndMissingFilesCannotBeRead) {
  EXPECT_FALSE(files_.CanOpenForReading(base_ + "missing"));
  EXPECT_FALSE(files_.ReadWholeFile(base_ + "missing").has_value());
  fs::create_directories(dir_ / "folder");
  EXPECT_FALSE(files_.CanOpenForReading(base_ + "folder"));
  EXPECT_FALSE(files_.ReadWholeFile(base_ + "folder").has_value());
}

TEST_F(PosixFileSystemTest, AFailedWriteLeavesTheOldSettingsFile) {
  const std::string path = base_ + "Tessary.cfg";
  ASSERT_TRUE(files_.WriteNewFile(path, "left = 1"));
  // A directory where the temporary file should go makes the write fail for real.
  fs::create_directories(TemporaryPathFor(path));
  EXPECT_FALSE(WriteSettings(Settings{}, files_, path));
  EXPECT_EQ(Slurp(path), "left = 1");

  fs::remove_all(TemporaryPathFor(path));
  EXPECT_TRUE(WriteSettings(Settings{}, files_, path));
  EXPECT_EQ(Slurp(path), FormatSettings(Settings{}));
  EXPECT_FALSE(fs::exists(TemporaryPathFor(path)));
}

TEST_F(PosixFileSystemTest, ReadsLargeAndBinaryFilesWhole) {
  std::string big(200000, 'x');
  big[1000] = '\0';
  ASSERT_TRUE(files_.WriteNewFile(base_ + "big", big));
  EXPECT_EQ(files_.ReadWholeFile(base_ + "big"), big);
}

}  // namespace
}  // namespace tessary
