// tessary-cli on Linux. Arguments are UTF-8 file names; the core works on CP949.
#include "input/us_layout.h"
#include "posix/embedded_texts.h"
#include "posix/iconv_codec.h"
#include "posix/posix_file_system.h"
#include "shell/cli.h"

int main(int argc, char** argv) {
  tessary::IconvCodec codec;
  tessary::PosixFileSystem files(codec);
  tessary::EmbeddedTextResources texts;
  tessary::UsEnglishLayout layout;  // Linux has no keyboard layout to ask
  std::vector<std::string> args, raw;
  for (int i = 1; i < argc; ++i) {
    std::string arg = tessary::Utf8ToCp949(codec, argv[i]);
    args.push_back(arg.empty() ? std::string(argv[i]) : arg);
    raw.emplace_back(argv[i]);
  }
  tessary::CliPlatform platform{files, texts, codec, layout, raw, stdout, stderr};
  return tessary::RunCli(args, platform);
}
