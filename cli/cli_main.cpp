// tessary-cli on Linux. Arguments are UTF-8 file names; the core works on CP949.
#include "cli/cli.h"
#include "posix/embedded_texts.h"
#include "posix/iconv_codec.h"
#include "posix/posix_file_system.h"
#include "posix/us_layout.h"

int main(int argc, char** argv) {
  tessary::IconvCodec codec;
  tessary::PosixFileSystem files(codec);
  tessary::EmbeddedTextResources texts;
  tessary::UsEnglishLayout layout;  // Linux has no keyboard layout to ask
  const std::vector<std::string> raw(argv + 1, argv + argc);
  std::vector<size_t> notCp949;
  const std::vector<std::string> args = tessary::Utf8ArgsToCp949(codec, raw, notCp949);
  tessary::CliPlatform platform{files, texts, codec, layout, stdout, stderr, notCp949};
  return tessary::RunCli(args, platform);
}
