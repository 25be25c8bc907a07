#include "shell/cli.h"

#include "input/stroke_parser.h"
#include "input/stroke_playback.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/text_codec.h"
#include "shell/settings.h"

namespace tessary {

namespace {

constexpr const char* kUsage =
    "usage: tessary-cli config IN [OUT]\n"
    "       tessary-cli strokes TEXT\n"
    "config: reads IN as the keyboard reads Tessary.cfg at start-up and writes what it\n"
    "  would write at exit to OUT, or to the standard output.\n"
    "  Exit status: 0 done; 1 a value of the wrong type (message on stderr);\n"
    "  2 the keyboard would have shown a message box (title and text on stderr);\n"
    "  3 OUT could not be written; 64 wrong arguments.\n"
    "strokes: parses the stroke string TEXT and prints the events its playback offers,\n"
    "  one a line, then \"result N\" with the stroke error (0 success). Exit status N.\n";

// Message boxes become lines on the error stream, in UTF-8.
class StderrMessageBoxes final : public MessageBoxes {
 public:
  StderrMessageBoxes(const TextCodec& codec, std::FILE* err) : codec_(codec), err_(err) {}
  void Show(std::string_view text, std::string_view title) override {
    ++shown_;
    std::fprintf(err_, "%s: %s\n", Cp949ToUtf8(codec_, title).c_str(), Cp949ToUtf8(codec_, text).c_str());
  }
  int shown() const { return shown_; }

 private:
  const TextCodec& codec_;
  std::FILE* err_;
  int shown_ = 0;
};

int Config(const std::vector<std::string>& args, CliPlatform& p) {
  if (args.size() < 2 || args.size() > 3) {
    std::fputs(kUsage, p.err);
    return kCliUsage;
  }
  StderrMessageBoxes messages(p.codec, p.err);
  Settings settings;
  std::string scriptError;
  ReadSettings(settings, p.files, p.texts, messages, args[1], &scriptError);
  if (!scriptError.empty()) std::fprintf(p.err, "%s\n", Cp949ToUtf8(p.codec, scriptError).c_str());
  const std::string text = FormatSettings(settings);
  if (args.size() == 3) {
    if (!WriteTextFileAtomically(p.files, args[2], text)) {
      std::fprintf(p.err, "cannot write %s\n", args[2].c_str());
      return kCliWriteFailed;
    }
  } else {
    std::fwrite(text.data(), 1, text.size(), p.out);
    std::fflush(p.out);
  }
  return messages.shown() > 0 ? kCliMessageShown : 0;
}

int Strokes(const std::vector<std::string>& args, CliPlatform& p) {
  if (args.size() != 2) {
    std::fputs(kUsage, p.err);
    return kCliUsage;
  }
  const std::string& text = p.rawArgs.size() == args.size() ? p.rawArgs[1] : args[1];
  StrokeQueue queue;
  const StrokeError result = ParseStrokes(text, queue, p.layout);
  if (result == kStrokeOk) {
    for (const OfferedEvent& event : PlaybackEvents(queue)) {
      switch (EventMessage(event)) {
        case kQueueSyncMessage: std::fputs("WM_QUEUESYNC\n", p.out); break;
        case kKeyDownMessage: std::fprintf(p.out, "WM_KEYDOWN %d\n", event.code); break;
        case kKeyUpMessage: std::fprintf(p.out, "WM_KEYUP %d\n", event.code); break;
        case kSysKeyDownMessage: std::fprintf(p.out, "WM_SYSKEYDOWN %d\n", event.code); break;
        case kSysKeyUpMessage: std::fprintf(p.out, "WM_SYSKEYUP %d\n", event.code); break;
      }
    }
  }
  std::fprintf(p.out, "result %d\n", static_cast<int>(result));
  std::fflush(p.out);
  return static_cast<int>(result);
}

}  // namespace

int RunCli(const std::vector<std::string>& args, CliPlatform& platform) {
  if (!args.empty() && args[0] == "config") return Config(args, platform);
  if (!args.empty() && args[0] == "strokes") return Strokes(args, platform);
  std::fputs(kUsage, platform.err);
  return kCliUsage;
}

}  // namespace tessary
