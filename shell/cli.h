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
  // The arguments as they reached the program (CP949 on Windows, the bytes of the
  // command line elsewhere), beside the CP949 ones RunCli is given.
  std::vector<std::string> rawArgs;
  std::FILE* out;  // text mode: the platform's line ends
  std::FILE* err;
};

// Exit statuses besides 0 (success).
inline constexpr int kCliMessageShown = 2;  // the program would have shown a message box
inline constexpr int kCliWriteFailed = 3;
inline constexpr int kCliUsage = 64;

int RunCli(const std::vector<std::string>& args, CliPlatform& platform);

}  // namespace tessary
