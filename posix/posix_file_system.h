#pragma once
// Files on a Linux file system, whose names are UTF-8: the CP949 paths of the core are
// converted here, at the boundary.
#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace tessary {

class PosixFileSystem final : public FileSystem {
 public:
  explicit PosixFileSystem(const TextCodec& codec) : codec_(codec) {}

  std::string CurrentDirectory() override;
  // Listed in byte order of the names, as NTFS lists them, so that layout sets load the
  // same way on every run.
  std::optional<std::vector<DirectoryEntry>> ListDirectory(const std::string& path) override;
  bool CanOpenForReading(const std::string& path) override;
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  bool WriteNewFile(const std::string& path, std::string_view bytes) override;
  bool ReplaceFile(const std::string& from, const std::string& to) override;
  void RemoveFile(const std::string& path) override;
  std::string_view LineEnd() const override { return "\n"; }

  // The name as the file system spells it.
  std::string NativePath(const std::string& path) const;

 private:
  const TextCodec& codec_;
};

}  // namespace tessary
