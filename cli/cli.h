#pragma once
// tessary-cli: the maintainers' and layout authors' tool. Portable; each platform's
// main() hands it its adapters.
#include <cstdio>
#include <string>
#include <vector>

namespace tessary {

class FileSystem;
class KeyLayout;
class TextCodec;
class TextResources;

struct CliPlatform {
  FileSystem& files;
  const TextResources& texts;
  const TextCodec& codec;
  const KeyLayout& layout;  // for stroke strings: the platform's, or the US stand-in
  std::FILE* out;  // text mode: the platform's line ends
  std::FILE* err;
  // The positions (from 0) of the arguments that are not CP949 text: the core would
  // read other bytes as CP949, so RunCli refuses them.
  std::vector<size_t> notCp949;
};

// Exit statuses besides 0 (success).
inline constexpr int kCliMessageShown = 2;  // the program would have shown a message box
inline constexpr int kCliWriteFailed = 3;
inline constexpr int kCliUsage = 64;

int RunCli(const std::vector<std::string>& args, CliPlatform& platform);

// Arguments given as UTF-8 (the Linux command line) into CP949 for RunCli, with the
// positions of those that are not CP949 text (kept as they were) in `notCp949`.
std::vector<std::string> Utf8ArgsToCp949(const TextCodec& codec, const std::vector<std::string>& utf8,
                                         std::vector<size_t>& notCp949);

}  // namespace tessary
