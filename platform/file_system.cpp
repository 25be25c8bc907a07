#include "platform/file_system.h"

namespace tessary {

std::string TemporaryPathFor(const std::string& path) { return path + ".new"; }

bool WriteTextFileAtomically(FileSystem& fs, const std::string& path, std::string_view text) {
  std::string bytes;
  const std::string_view lineEnd = fs.LineEnd();
  bytes.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') {
      bytes.append(lineEnd);
    } else {
      bytes.push_back(c);
    }
  }
  const std::string temporary = TemporaryPathFor(path);
  if (!fs.WriteNewFile(temporary, bytes) || !fs.ReplaceFile(temporary, path)) {
    fs.RemoveFile(temporary);
    return false;
  }
  return true;
}

}  // namespace tessary
