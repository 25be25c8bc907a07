#include "cli/cli.h"
#include "cli/printing_outputs.h"

#include <cstdlib>

#include "cli/scan_cost.h"
#include "config/settings.h"
#include "input/key_activation.h"
#include "input/stroke_parser.h"
#include "input/stroke_playback.h"
#include "keyboard/keyboard_model.h"
#include "layout/layout_loader.h"
#include "platform/file_system.h"
#include "platform/key_output.h"
#include "platform/message_boxes.h"
#include "platform/text_codec.h"
#include "prediction/hangul.h"
#include "prediction/ksr_simulator.h"
#include "prediction/predictor.h"
#include "prediction/word_predictor.h"
#include "shell/shell.h"

namespace tessary {

namespace {

constexpr const char* kUsage =
    "usage: tessary-cli config IN [OUT]\n"
    "       tessary-cli strokes TEXT\n"
    "       tessary-cli layout [DIR] [--lang N]\n"
    "       tessary-cli activate [DIR] [--lang N] INDEX...\n"
    "       tessary-cli compose LETTERS\n"
    "       tessary-cli jamo [--escape] TEXT\n"
    "       tessary-cli scan-cost [--dict FILE] [--mode auto|step|hold] [--learn] LAYOUT_DIR TEXT\n"
    "       tessary-cli predict [--dict FILE] [--user FILE] KEYS [--type WORD]\n"
    "       tessary-cli ksr [--dict FILE] [--user FILE] [--learn] [--keys N] TEXT\n"
    "config: reads IN as the keyboard reads Tessary.cfg at start-up and writes what it\n"
    "  would write at exit to OUT, or to the standard output.\n"
    "  Exit status: 0 done; 2 the keyboard would have shown a message box (title and\n"
    "  text on stderr, then the reason: a script error, or a value of the wrong type);\n"
    "  3 OUT could not be written; 64 wrong arguments.\n"
    "strokes: parses the stroke string TEXT (its CP949 bytes, as a layout file holds it)\n"
    "  and prints the events its playback offers,\n"
    "  one a line, then \"result N\" with the stroke error (0 success). Exit status N.\n"
    "layout: builds the built-in layouts, or the layout set in the folder DIR, for\n"
    "  language N (default 1) as the keyboard does and prints the keyboard as JSON.\n"
    "  Exit status: 0 done; 2 the keyboard would have shown a message box (title, text\n"
    "  and the reason, a script error or a value of the wrong type, on stderr).\n"
    "activate: builds the keyboard as layout does, activates the keys with the given\n"
    "  indices (from 0) in order and prints the events each sends, then its view,\n"
    "  language and latched keys; word keys predict from hangul.lex and user.lex in the\n"
    "  current directory. Exit status as for layout (2 also when a predicting layout\n"
    "  finds no dictionary).\n"
    "compose: prints the Hangul the 2-set key letters LETTERS compose to (UTF-8).\n"
    "jamo: prints the JamoCode of TEXT as hex bytes (--escape: the dictionary's\n"
    "  escapes of % + ^ { } ~). Exit status 2 when TEXT is not Korean text.\n"
    "scan-cost: types every Hangul word of the UTF-8 file TEXT, each followed by a Space,\n"
    "  with the Korean layout of the set in LAYOUT_DIR (the built-in set's name for the\n"
    "  built-in set) under the keyboard's scan rules and word prediction from FILE\n"
    "  (default hangul.lex), taking a word key as soon as it shows the word, and prints\n"
    "  \"words W steps S steps-per-word X\" (S: the highlight's steps, each one scan\n"
    "  delay). --mode: the scan mode (default auto); hold counts the steps made while the\n"
    "  switch is held, step counts the presses: \"words W presses P presses-per-word X\".\n"
    "  --learn turns word learning on, starting from nothing learnt.\n"
    "  Exit status 2 when the set, the dictionary or TEXT cannot be read or a key\n"
    "  cannot be reached by scanning.\n"
    "predict: loads the dictionaries (default hangul.lex and user.lex), activates one key\n"
    "  per character of KEYS (a small letter: its key, a capital: its key with Shift,\n"
    "  anything else: the key of that character) and prints each key's candidates,\n"
    "  tab-separated (UTF-8); --type WORD then types WORD as a word key would and prints\n"
    "  \"SendStrokes <text>\" or \"nothing\". Exit status 2 when the dictionary is missing.\n"
    "ksr: types every Hangul word of the UTF-8 file TEXT on the 2-set keys as a user\n"
    "  would who takes the word from a word key as soon as it is among the first N\n"
    "  candidates shown (default 7), with one space after each word, and prints\n"
    "  \"words W letters L keystrokes K ksr P%\" (the keystroke-saving rate); --learn\n"
    "  turns word learning on, starting from nothing learnt. Exit status 2 when the\n"
    "  dictionary or TEXT cannot be read.\n"
    "Every command refuses an argument that is not CP949 text (exit status 2).\n";

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

class Json {
 public:
  explicit Json(const TextCodec& codec) : codec_(codec) {}
  void Raw(std::string_view text) { out_ += text; }
  void Number(long long value) { out_ += std::to_string(value); }
  void Real(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    out_ += buffer;
  }
  // A CP949 text as a JSON string in UTF-8; bytes that are not CP949 become U+FFFD.
  void Text(std::string_view cp949) {
    std::string utf8 = Cp949ToUtf8(codec_, cp949);
    if (utf8.empty() && !cp949.empty()) {
      for (char c : cp949) utf8 += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : "\xEF\xBF\xBD";
    }
    out_ += '"';
    for (char c : utf8) {
      switch (c) {
        case '"': out_ += "\\\""; break;
        case '\\': out_ += "\\\\"; break;
        case '\n': out_ += "\\n"; break;
        case '\r': out_ += "\\r"; break;
        case '\t': out_ += "\\t"; break;
        default:
          if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out_ += escaped;
          } else {
            out_ += c;
          }
      }
    }
    out_ += '"';
  }
  const std::string& text() const { return out_; }

 private:
  const TextCodec& codec_;
  std::string out_;
};

std::string KeyboardJson(const Keyboard& kb, const TextCodec& codec) {
  Json j(codec);
  j.Raw("{\"version\":"); j.Number(kb.version);
  j.Raw(",\"language\":"); j.Number(kb.language);
  j.Raw(",\"description\":"); j.Text(kb.description);
  j.Raw(",\"prediction\":"); j.Raw(kb.prediction ? "true" : "false");
  j.Raw(",\"width\":"); j.Number(kb.width);
  j.Raw(",\"height\":"); j.Number(kb.height);
  j.Raw(",\"fontSize\":"); j.Number(kb.fontSize);
  j.Raw(",\"keys\":[");
  bool first = true;
  for (const KeyDef& k : kb.keys) {
    j.Raw(first ? "\n" : ",\n");
    first = false;
    j.Raw("{\"code\":"); j.Number(k.code);
    j.Raw(",\"type\":"); j.Number(k.type);
    j.Raw(",\"stroke\":"); j.Text(k.stroke);
    j.Raw(",\"labels\":["); j.Text(k.ncns); j.Raw(","); j.Text(k.ncys); j.Raw(",");
    j.Text(k.ycns); j.Raw(","); j.Text(k.ycys);
    j.Raw("],\"normal\":["); j.Number(k.normal.text); j.Raw(","); j.Number(k.normal.face); j.Raw(",");
    j.Number(k.normal.border);
    j.Raw("],\"press\":["); j.Number(k.press.text); j.Raw(","); j.Number(k.press.face); j.Raw(",");
    j.Number(k.press.border);
    j.Raw("],\"pos\":["); j.Real(k.pos.left); j.Raw(","); j.Real(k.pos.top); j.Raw(",");
    j.Real(k.pos.width); j.Raw(","); j.Real(k.pos.height);
    j.Raw("],\"scan\":["); j.Number(k.scanLine); j.Raw(","); j.Number(k.scanBlock); j.Raw("]}");
  }
  j.Raw("]}\n");
  return j.text();
}

struct LayoutArgs {
  std::string folder;
  int32_t language = IL_KOREAN;
  std::vector<int> indices;
};

// [DIR] [--lang N] and, when `withIndices`, INDEX...
bool ParseLayoutArgs(const std::vector<std::string>& args, bool withIndices, LayoutArgs& out) {
  auto number = [](const std::string& text, long& value) {
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return end != text.c_str() && *end == '\0';
  };
  bool folderTaken = false;
  for (size_t i = 1; i < args.size(); ++i) {
    long value = 0;
    if (args[i] == "--lang") {
      if (i + 1 >= args.size() || !number(args[++i], value)) return false;
      out.language = static_cast<int32_t>(value);
    } else if (withIndices && number(args[i], value)) {
      out.indices.push_back(static_cast<int>(value));
    } else if (!folderTaken && out.indices.empty() && args[i].rfind("--", 0) != 0) {
      out.folder = args[i];
      folderTaken = true;
    } else {
      return false;
    }
  }
  return !withIndices || !out.indices.empty();
}

// Builds the keyboard as the keyboard window does at its creation.
// What reading a layout set takes in the tool: messages on stderr, the default settings.
struct CliLayoutEnvironment {
  explicit CliLayoutEnvironment(CliPlatform& p)
      : messages(p.codec, p.err), env{p.files, p.texts, messages, settings, {}} {}
  StderrMessageBoxes messages;
  Settings settings;
  LayoutEnvironment env;
};

void LoadCliKeyboard(const LayoutArgs& a, Keyboard& keyboard, LayoutEnvironment& env, CliPlatform& p) {
  ReloadLayoutWith(
      keyboard, env,
      [&] {
        if (a.folder.empty()) {
          LoadBuiltinLayouts(keyboard, env);
          return true;
        }
        return LoadLayoutFolder(keyboard, env, a.folder);
      },
      a.language);
  if (!env.lastScriptError.empty()) {
    std::fprintf(p.err, "%s\n", Cp949ToUtf8(p.codec, env.lastScriptError).c_str());
  }
}

int Layout(const std::vector<std::string>& args, CliPlatform& p) {
  LayoutArgs a;
  if (!ParseLayoutArgs(args, false, a)) {
    std::fputs(kUsage, p.err);
    return kCliUsage;
  }
  CliLayoutEnvironment layouts(p);
  NoKeyOutput output;
  Keyboard keyboard(output, p.layout);
  LoadCliKeyboard(a, keyboard, layouts.env, p);
  const std::string json = KeyboardJson(keyboard, p.codec);
  std::fwrite(json.data(), 1, json.size(), p.out);
  std::fflush(p.out);
  return layouts.messages.shown() > 0 ? kCliMessageShown : 0;
}

int Activate(const std::vector<std::string>& args, CliPlatform& p) {
  LayoutArgs a;
  if (!ParseLayoutArgs(args, true, a)) {
    std::fputs(kUsage, p.err);
    return kCliUsage;
  }
  CliLayoutEnvironment layouts(p);
  PrintingKeyOutput output(p.out);
  PrintingStrokes strokes(p.out, p.codec);
  // The keyboard's own predictor on the dictionaries of the current directory, so a word
  // key types what the keyboard would.
  WordPredictor predictor(p.codec);
  const bool dictionary = predictor.loadDictionaries(p.files);
  {
    Keyboard keyboard(output, p.layout);
    LoadCliKeyboard(a, keyboard, layouts.env, p);  // its own modifier reset is not printed
    // Without the dictionary the keyboard says so at start; it matters to a layout that
    // predicts.
    if (!dictionary && keyboard.prediction) layouts.messages.Show(kDictionaryMissingText, kTitleError);
    output.printing = true;
    KeyActivator activator(keyboard, strokes, predictor, layouts.env);
    for (int index : a.indices) {
      std::fprintf(p.out, "activate %d\n", index);
      activator.ActivateKey(0, index);
      std::fprintf(p.out, "view %d language %d latched", keyboard.view, keyboard.language);
      for (size_t i = 0; i < keyboard.keys.size(); ++i) {
        if (keyboard.keys[i].latched) std::fprintf(p.out, " %zu", i);
      }
      std::fputs("\n", p.out);
    }
    output.printing = false;  // the release of every modifier at the end is not printed
  }
  std::fflush(p.out);
  return layouts.messages.shown() > 0 ? kCliMessageShown : 0;
}

int Strokes(const std::vector<std::string>& args, CliPlatform& p) {
  if (args.size() != 2) {
    std::fputs(kUsage, p.err);
    return kCliUsage;
  }
  // The CP949 bytes, as the keyboard reads a stroke string from a layout file.
  StrokeQueue queue;
  const StrokeError result = ParseStrokes(args[1], queue, p.layout);
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

int Compose(const std::vector<std::string>& args, CliPlatform& p) {
  if (args.size() != 2) {
    std::fputs(kUsage, p.err);
    return kCliUsage;
  }
  std::fprintf(p.out, "%s\n", Utf16ToUtf8(composeKeyLetters(args[1])).c_str());
  return 0;
}

int Jamo(const std::vector<std::string>& args, CliPlatform& p) {
  const bool escape = args.size() == 3 && args[1] == "--escape";
  if (args.size() != (escape ? 3u : 2u)) {
    std::fputs(kUsage, p.err);
    return kCliUsage;
  }
  const std::u16string text = widenKorean(p.codec, args.back());
  if (text.empty() && !args.back().empty()) {
    std::fputs("not CP949 text\n", p.err);
    return kCliMessageShown;
  }
  const std::string code = textToJamoCode(text, escape);
  for (size_t i = 0; i < code.size(); ++i) {
    std::fprintf(p.out, i == 0 ? "%02X" : " %02X", static_cast<unsigned>(static_cast<uint8_t>(code[i])));
  }
  std::fputs("\n", p.out);
  return 0;
}

// ---------------------------------------------------------------- scan-cost

int ScanCost(const std::vector<std::string>& args, CliPlatform& p) {
  std::string dict = kSystemDictionaryName;
  std::vector<std::string> operands;
  int32_t mode = SCAN_AUTO;
  bool learn = false;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--dict" && i + 1 < args.size()) {
      dict = args[++i];
    } else if (args[i] == "--learn") {
      learn = true;
    } else if (args[i] == "--mode" && i + 1 < args.size()) {
      const std::string& name = args[++i];
      mode = name == "auto" ? SCAN_AUTO : name == "step" ? SCAN_STEP : name == "hold" ? SCAN_HOLD : 0;
      if (mode == 0) {
        std::fputs(kUsage, p.err);
        return kCliUsage;
      }
    } else {
      operands.push_back(args[i]);
    }
  }
  if (operands.size() != 2) {
    std::fputs(kUsage, p.err);
    return kCliUsage;
  }
  CliLayoutEnvironment layouts(p);
  NoKeyOutput output;
  Keyboard keyboard(output, p.layout);
  LayoutArgs layoutArgs;  // the built-in set by its name, as in kbdName
  if (operands[0] != kDefaultLayoutName) layoutArgs.folder = operands[0];
  LoadCliKeyboard(layoutArgs, keyboard, layouts.env, p);
  WordPredictor predictor(p.codec);
  if (!predictor.loadDictionaries(p.files, dict, "")) {  // the dictionary alone, no user words
    std::fprintf(p.err, "%s\n", Cp949ToUtf8(p.codec, kDictionaryMissingText).c_str());
    return kCliMessageShown;
  }
  predictor.setLearning(learn);
  const std::optional<std::string> text = p.files.ReadWholeFile(operands[1]);
  if (!text) {
    std::fprintf(p.err, "cannot read %s\n", Cp949ToUtf8(p.codec, operands[1]).c_str());
    return kCliMessageShown;
  }
  if (layouts.messages.shown() > 0) return kCliMessageShown;  // not the set asked for
  const ScanCostResult r = MeasureScanCost(keyboard, layouts.env, predictor, p.codec, Utf8ToUtf16(*text), mode);
  if (!r.unreachable.empty()) {  // no figures for a text that could not be typed
    std::fprintf(p.err, "the scan never reaches the key %s\n", Cp949ToUtf8(p.codec, r.unreachable).c_str());
    return kCliMessageShown;
  }
  if (mode == SCAN_STEP) {
    std::fprintf(p.out, "words %zu presses %zu presses-per-word %.1f\n", r.words, r.presses, r.StepsPerWord());
  } else {
    std::fprintf(p.out, "words %zu steps %zu steps-per-word %.1f\n", r.words, r.steps, r.StepsPerWord());
  }
  std::fflush(p.out);
  return 0;
}

// ----------------------------------------------------------------

int Predict(const std::vector<std::string>& args, CliPlatform& p) {
  std::string dict = kSystemDictionaryName, user = kUserDictionaryName, keys, word;
  bool haveKeys = false, haveWord = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const bool more = i + 1 < args.size();
    if (args[i] == "--dict" && more) {
      dict = args[++i];
    } else if (args[i] == "--user" && more) {
      user = args[++i];
    } else if (args[i] == "--type" && more) {
      word = args[++i];
      haveWord = true;
    } else if (!haveKeys) {
      keys = args[i];
      haveKeys = true;
    } else {
      haveKeys = false;
      break;
    }
  }
  if (!haveKeys) {
    std::fputs(kUsage, p.err);
    return kCliUsage;
  }
  WordPredictor predictor(p.codec);
  const bool loaded = predictor.loadDictionaries(p.files, dict, user);
  if (!loaded) std::fprintf(p.err, "%s\n", Cp949ToUtf8(p.codec, kDictionaryMissingText).c_str());
  for (char c : keys) {
    const auto u = static_cast<unsigned char>(c);
    int32_t code = u, shift = 0;
    if (u >= 'a' && u <= 'z') code = u - 0x20;
    if (u >= 'A' && u <= 'Z') shift = 1;
    const std::vector<std::string> candidates = predictor.onKey(code, shift);
    for (size_t i = 0; i < candidates.size(); ++i) {
      std::fprintf(p.out, "%s%s", i == 0 ? "" : "\t", Cp949ToUtf8(p.codec, candidates[i]).c_str());
    }
    std::fputs("\n", p.out);
  }
  if (haveWord) {
    const std::string strokes = predictor.wordStrokes(word);
    if (strokes.empty()) {
      std::fputs("nothing\n", p.out);
    } else {
      PrintingStrokes(p.out, p.codec).SendStrokes(0, strokes);
      predictor.wordTyped(word);
    }
  }
  std::fflush(p.out);
  return loaded ? 0 : kCliMessageShown;
}

int Ksr(const std::vector<std::string>& args, CliPlatform& p) {
  std::string dict = kSystemDictionaryName, user = kUserDictionaryName, textPath;
  bool learn = false, usage = false;
  size_t keys = 7;
  for (size_t i = 1; i < args.size() && !usage; ++i) {
    const bool more = i + 1 < args.size();
    if (args[i] == "--dict" && more) {
      dict = args[++i];
    } else if (args[i] == "--user" && more) {
      user = args[++i];
    } else if (args[i] == "--learn") {
      learn = true;
    } else if (args[i] == "--keys" && more) {
      const std::string& n = args[++i];
      usage = n.empty() || n.size() > 2 || n.find_first_not_of("0123456789") != std::string::npos;
      if (!usage) keys = std::stoul(n);
      usage = usage || keys == 0;
    } else if (textPath.empty() && !args[i].empty()) {
      textPath = args[i];
    } else {
      usage = true;
    }
  }
  if (usage || textPath.empty()) {
    std::fputs(kUsage, p.err);
    return kCliUsage;
  }
  WordPredictor predictor(p.codec);
  if (!predictor.loadDictionaries(p.files, dict, user)) {
    std::fprintf(p.err, "%s\n", Cp949ToUtf8(p.codec, kDictionaryMissingText).c_str());
    return kCliMessageShown;
  }
  predictor.setLearning(learn);
  const std::optional<std::string> text = p.files.ReadWholeFile(textPath);
  if (!text) {
    std::fprintf(p.err, "cannot read %s\n", Cp949ToUtf8(p.codec, textPath).c_str());
    return kCliMessageShown;
  }
  const KsrResult r = SimulateTyping(predictor, p.codec, Utf8ToUtf16(*text), keys);
  std::fprintf(p.out, "words %zu letters %zu keystrokes %zu ksr %.1f%%\n", r.words, r.letters, r.keystrokes, r.Rate());
  std::fflush(p.out);
  return 0;
}

}  // namespace

std::vector<std::string> Utf8ArgsToCp949(const TextCodec& codec, const std::vector<std::string>& utf8,
                                         std::vector<size_t>& notCp949) {
  std::vector<std::string> args;
  for (const std::string& arg : utf8) {
    std::string cp949 = Utf8ToCp949(codec, arg);
    if (Cp949ToUtf8(codec, cp949) != arg) notCp949.push_back(args.size());
    args.push_back(cp949.empty() ? arg : std::move(cp949));
  }
  return args;
}

int RunCli(const std::vector<std::string>& args, CliPlatform& platform) {
  if (!platform.notCp949.empty()) {
    std::fprintf(platform.err, "argument %zu is not CP949 text (the keyboard works on CP949)\n",
                 platform.notCp949.front() + 1);
    return kCliMessageShown;
  }
  if (!args.empty() && args[0] == "config") return Config(args, platform);
  if (!args.empty() && args[0] == "strokes") return Strokes(args, platform);
  if (!args.empty() && args[0] == "layout") return Layout(args, platform);
  if (!args.empty() && args[0] == "activate") return Activate(args, platform);
  if (!args.empty() && args[0] == "compose") return Compose(args, platform);
  if (!args.empty() && args[0] == "jamo") return Jamo(args, platform);
  if (!args.empty() && args[0] == "scan-cost") return ScanCost(args, platform);
  if (!args.empty() && args[0] == "predict") return Predict(args, platform);
  if (!args.empty() && args[0] == "ksr") return Ksr(args, platform);
  std::fputs(kUsage, platform.err);
  return kCliUsage;
}

}  // namespace tessary
