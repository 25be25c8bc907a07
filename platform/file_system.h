#pragma once
// Files, found relative to the current directory. Paths are CP949 byte strings; an
// adapter converts them to what its file system expects (UTF-16 on Windows, UTF-8 on
// Linux).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessary {

struct DirectoryEntry {
  std::string name;  // CP949
  bool isDirectory = false;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The current directory, without a trailing separator.
  virtual std::string CurrentDirectory() = 0;
  // The entries of a folder in the order the platform lists them ("." and ".." left
  // out), or nothing when the folder cannot be listed.
  virtual std::optional<std::vector<DirectoryEntry>> ListDirectory(const std::string& path) = 0;

  // Whether the file exists and can be opened for reading without sharing.
  virtual bool CanOpenForReading(const std::string& path) = 0;
  // The whole file, or nothing when it cannot be opened or read.
  virtual std::optional<std::string> ReadWholeFile(const std::string& path) = 0;
  // Creates or empties `path`, writes every byte, pushes it to the disk and closes it.
  // False when any of that fails (the file may then be left incomplete).
  virtual bool WriteNewFile(const std::string& path, std::string_view bytes) = 0;
  // Puts `from` in the place of `to` in one step, replacing an existing `to`.
  virtual bool ReplaceFile(const std::string& from, const std::string& to) = 0;
  virtual void RemoveFile(const std::string& path) = 0;
  // The line end text files carry on this platform: "\r\n" on Windows, "\n" elsewhere.
  virtual std::string_view LineEnd() const = 0;
};

// Writes `text` (lines ended by '\n') to `path` with the platform's line ends, through
// a temporary file beside it that replaces `path` only once it is complete. When
// anything fails, `path` keeps its old content and the temporary file is removed.
bool WriteTextFileAtomically(FileSystem& fs, const std::string& path, std::string_view text);

// The name of the temporary file WriteTextFileAtomically writes first.
std::string TemporaryPathFor(const std::string& path);

}  // namespace tessary
