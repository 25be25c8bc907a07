// tessary-cli on Windows. Arguments arrive as wide text and are handed on as CP949.
#include <windows.h>

#include <shellapi.h>

#include "cli/cli.h"
#include "win32/key_output.h"
#include "win32/win32_platform.h"

int main() {
  using namespace tessary;
  win32::Cp949Codec codec;
  win32::Win32FileSystem files;
  win32::ResourceTexts texts;
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> args;
  std::vector<size_t> notCp949;
  for (int i = 1; argv != nullptr && i < argc; ++i) {
    const std::u16string wide(reinterpret_cast<const char16_t*>(argv[i]));
    std::string arg = codec.Utf16ToCp949(wide);
    // A character CP949 lacks has no bytes (or only those of a look-alike).
    if (codec.Cp949ToUtf16(arg) != wide) notCp949.push_back(args.size());
    args.push_back(std::move(arg));
  }
  LocalFree(argv);
  win32::Win32KeyLayout layout;
  CliPlatform platform{files, texts, codec, layout, stdout, stderr, notCp949};
  return RunCli(args, platform);
}
