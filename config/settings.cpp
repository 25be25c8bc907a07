#include "config/settings.h"

#include <cmath>
#include <cstdio>

#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/text_resources.h"
#include "script/script_state.h"

namespace tessary {

void SetDefaults(Settings& settings) { settings = Settings{}; }

const char* ScanSwitchName(int32_t scanSwitch) {
  static constexpr const char* kFunctionKeys[] = {"SWITCH_F1", "SWITCH_F2", "SWITCH_F3",  "SWITCH_F4",
                                                  "SWITCH_F5", "SWITCH_F6", "SWITCH_F7",  "SWITCH_F8",
                                                  "SWITCH_F9", "SWITCH_F10", "SWITCH_F11", "SWITCH_F12"};
  switch (scanSwitch) {
    case SWITCH_NONE: return "SWITCH_NONE";
    case SWITCH_SPACE: return "SWITCH_SPACE";
    case SWITCH_ENTER: return "SWITCH_ENTER";
    case SWITCH_MOUSE_LEFT: return "SWITCH_MOUSE_LEFT";
    case SWITCH_MOUSE_RIGHT: return "SWITCH_MOUSE_RIGHT";
    case SWITCH_MOUSE_MIDDLE: return "SWITCH_MOUSE_MIDDLE";
    default:
      if (scanSwitch >= SWITCH_F1 && scanSwitch <= SWITCH_F12) return kFunctionKeys[scanSwitch - SWITCH_F1];
      return nullptr;
  }
}

ConfigReadResult ReadSettings(Settings& s, FileSystem& files, const TextResources& texts,
                              MessageBoxes& messages, const std::string& path,
                              std::string* scriptError) {
  ScriptState script(&files);
  SetDefaults(s);
  if (!files.CanOpenForReading(path)) return ConfigReadResult::kNoFile;
  if (!script.RunText(texts.LoadTextResource(kConfigPreludeText))) {
    if (scriptError != nullptr) *scriptError = script.lastError();
    messages.Show(kConfigPreludeFailedText, kTitleFatalError);
    return ConfigReadResult::kPreludeFailed;
  }
  if (!script.RunFile(path)) {
    if (scriptError != nullptr) *scriptError = script.lastError();
    messages.Show(kConfigFileFailedText, kTitleFatalError);
    return ConfigReadResult::kFileFailed;
  }

  // The first value of the wrong type (a missing one is nil) ends the reading; the file
  // then takes the path of a broken one.
  const char* wrong = nullptr;
  auto check = [&](const char* name, bool ok) {
    if (!ok && wrong == nullptr) wrong = name;
    return ok && wrong == nullptr;
  };
  auto number = [&](const char* name, int32_t& field) {
    if (wrong == nullptr) check(name, script.GetNumber(name, field));
  };
  auto real = [&](const char* name, double& field) {
    if (wrong == nullptr) check(name, script.GetReal(name, field));
  };
  auto flag = [&](const char* name, bool& field) {
    if (wrong == nullptr) check(name, script.GetBool(name, field));
  };
  auto text = [&](const char* name, std::string& field, size_t bufferSize) {
    if (wrong == nullptr) check(name, script.GetString(name, field, bufferSize));
  };
  auto color = [&](const char* name, uint32_t& field) {
    int32_t value = 0;
    if (wrong == nullptr && check(name, script.GetNumber(name, value))) field = static_cast<uint32_t>(value);
  };
  auto byte = [&](const char* name, uint8_t& field) {
    int32_t value = 0;
    if (wrong == nullptr && check(name, script.GetNumber(name, value))) {
      field = static_cast<uint8_t>(value & 0xFF);
    }
  };

  number("left", s.left);
  number("top", s.top);
  number("width", s.width);
  number("height", s.height);
  flag("usePrediction", s.usePrediction);
  flag("useClickSound", s.useClickSound);
  flag("useKeyRepeat", s.useKeyRepeat);
  flag("useTransparency", s.useTransparency);
  flag("useShiftRelease", s.useShiftRelease);
  number("opacity", s.opacity);
  real("transparencyDelay", s.transparencyDelay);
  number("inputMode", s.inputMode);
  number("imeDetectMethod", s.imeDetectMethod);
  number("idmImgDelay", s.idmImgDelay);
  number("keyRepeatDelay", s.keyRepeatDelay);
  real("keyRepeatAcceleration", s.keyRepeatAcceleration);
  number("dwellDelay", s.dwellDelay);
  number("scanDelay", s.scanDelay);
  number("scanMaxLoop", s.scanMaxLoop);
  color("bgndColor", s.bgndColor);
  color("hoverFaceColor", s.hoverFaceColor);
  color("hoverBorderColor", s.hoverBorderColor);
  color("dwellFillColor", s.dwellFillColor);
  number("ellipseWidth", s.ellipseWidth);
  number("ellipseHeight", s.ellipseHeight);
  text("kbdName", s.kbdName, kKbdNameBufferSize);
  LabelFont& f = s.labelFont;
  number("lfHeight", f.lfHeight);
  number("lfWidth", f.lfWidth);
  number("lfEscapement", f.lfEscapement);
  number("lfOrientation", f.lfOrientation);
  number("lfWeight", f.lfWeight);
  byte("lfItalic", f.lfItalic);
  byte("lfUnderline", f.lfUnderline);
  byte("lfStrikeOut", f.lfStrikeOut);
  byte("lfCharSet", f.lfCharSet);
  byte("lfOutPrecision", f.lfOutPrecision);
  byte("lfClipPrecision", f.lfClipPrecision);
  byte("lfQuality", f.lfQuality);
  byte("lfPitchAndFamily", f.lfPitchAndFamily);
  text("lfFaceName", f.lfFaceName, kFaceNameBufferSize);
  // Added later than the rest: a file without it learns nothing, as before.
  if (wrong == nullptr) check("useWordLearning", script.GetOptionalBool("useWordLearning", s.useWordLearning));
  // Added later still: a file without it leaves Hangul to the input method, as before.
  s.hangulComposition = HC_IME;
  if (wrong == nullptr) check("hangulComposition", script.GetOptionalNumber("hangulComposition", s.hangulComposition));
  // Added with the choice of switch and scan mode: a file without them scans as before.
  auto optionalNumber = [&](const char* name, int32_t& field) {
    if (wrong == nullptr) check(name, script.GetOptionalNumber(name, field));
  };
  optionalNumber("scanMode", s.scanMode);
  optionalNumber("scanSwitch", s.scanSwitch);
  optionalNumber("scanSwitch2", s.scanSwitch2);
  optionalNumber("scanFirstDelay", s.scanFirstDelay);
  // Added with the scan tick: a file without it scans silently, as before.
  if (wrong == nullptr) check("useScanTick", script.GetOptionalBool("useScanTick", s.useScanTick));
  if (wrong != nullptr) {
    if (scriptError != nullptr) *scriptError = script.lastError();
    SetDefaults(s);
    messages.Show(std::string(kConfigFileFailedText) + " (" + wrong + ")", kTitleFatalError);
    return ConfigReadResult::kFileFailed;
  }
  return ConfigReadResult::kRead;
}

namespace {

class Lines {
 public:
  template <typename... Args>
  void Add(const char* format, Args... args) {
    const int n = std::snprintf(nullptr, 0, format, args...);
    if (n <= 0) return;
    const size_t at = text_.size();
    text_.resize(at + static_cast<size_t>(n) + 1);
    std::snprintf(text_.data() + at, static_cast<size_t>(n) + 1, format, args...);
    text_.resize(at + static_cast<size_t>(n));
  }
  void Blank() { text_ += '\n'; }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

const char* Bool(bool value) { return value ? "true" : "false"; }

// The text between the double quotes of a written string. Lua reads it back as the
// same bytes: a quote, a backslash or a line break would otherwise break the file.
// (CP949 trail bytes never fall on these characters.)
// A real as "%g" writes it, except the values "%g" would write as words ("inf", "nan"),
// which the next start would read as missing numbers, a broken file: those are written
// as the expressions that give them back.
std::string Real(double value) {
  if (std::isnan(value)) return "0/0";
  if (std::isinf(value)) return value > 0 ? "1/0" : "-1/0";
  // Minus zero is zero to every reader of the value, and the interpreter may read a 0
  // in the file as either; it is written as "0", so what is written reads back the same.
  if (value == 0) value = 0;
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string Quoted(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

void Color(Lines& lines, const char* format, uint32_t c) {
  lines.Add(format, static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
            static_cast<int>((c >> 16) & 0xFF));
}

// "key = NAME" for a value with a name, "key = 123" for one without (which reads back the
// same). `key` holds the setting's name and its padding up to the "=".
void Named(Lines& lines, const char* key, const char* name, int32_t value) {
  if (name != nullptr) {
    lines.Add("%s= %s\n", key, name);
  } else {
    lines.Add("%s= %d\n", key, value);
  }
}

const char* InputModeName(int32_t v) {
  return v == IM_CLICK ? "IM_CLICK" : v == IM_DWELL ? "IM_DWELL" : v == IM_SCAN ? "IM_SCAN" : nullptr;
}
const char* ImeMethodName(int32_t v) { return v == IDM_CBT ? "IDM_CBT" : v == IDM_IMG ? "IDM_IMG" : nullptr; }
const char* CompositionName(int32_t v) {
  return v == HC_IME ? "HC_IME" : v == HC_KEYBOARD ? "HC_KEYBOARD" : v == HC_AUTO ? "HC_AUTO" : nullptr;
}
const char* ScanModeName(int32_t v) {
  return v == SCAN_AUTO ? "SCAN_AUTO" : v == SCAN_STEP ? "SCAN_STEP" : v == SCAN_HOLD ? "SCAN_HOLD" : nullptr;
}

}  // namespace

std::string FormatSettings(const Settings& s) {
  Lines lines;
  lines.Add("left             = %3d\n", s.left);
  lines.Add("top              = %3d\n", s.top);
  lines.Add("width            = %3d\n", s.width);
  lines.Add("height           = %3d\n", s.height);
  lines.Blank();
  lines.Add("usePrediction   = %s\n", Bool(s.usePrediction));
  lines.Add("useClickSound   = %s\n", Bool(s.useClickSound));
  lines.Add("useKeyRepeat    = %s\n", Bool(s.useKeyRepeat));
  lines.Add("useTransparency = %s\n", Bool(s.useTransparency));
  lines.Add("useShiftRelease = %s\n", Bool(s.useShiftRelease));
  lines.Add("opacity           = %3d      -- %s\n", s.opacity, "0 = transparent,  255 = opaque");
  lines.Add("transparencyDelay = %s\n", Real(s.transparencyDelay).c_str());
  lines.Blank();
  // Values without a name are written as numbers, which read back the same.
  Named(lines, "inputMode        ", InputModeName(s.inputMode), s.inputMode);
  Named(lines, "imeDetectMethod  ", ImeMethodName(s.imeDetectMethod), s.imeDetectMethod);
  lines.Add("idmImgDelay      = %d\n", s.idmImgDelay);
  lines.Blank();
  lines.Add("keyRepeatDelay        = %3d\n", s.keyRepeatDelay);
  lines.Add("keyRepeatAcceleration = %s\n", Real(s.keyRepeatAcceleration).c_str());
  lines.Add("dwellDelay            = %3d\n", s.dwellDelay);
  lines.Add("scanDelay             = %3d\n", s.scanDelay);
  lines.Add("scanMaxLoop           = %3d\n", s.scanMaxLoop);
  lines.Blank();
  Color(lines, "bgndColor        = RGB(%3d, %3d, %3d)\n", s.bgndColor);
  Color(lines, "hoverFaceColor   = RGB(%3d, %3d, %3d)\n", s.hoverFaceColor);
  Color(lines, "hoverBorderColor = RGB(%3d, %3d, %3d)\n", s.hoverBorderColor);
  Color(lines, "dwellFillColor   = RGB(%3d, %3d, %3d)\n", s.dwellFillColor);
  lines.Blank();
  lines.Add("ellipseWidth     = %3d\n", s.ellipseWidth);
  lines.Add("ellipseHeight    = %3d\n", s.ellipseHeight);
  lines.Blank();
  lines.Add("kbdName          = \"%s\"\n", Quoted(s.kbdName).c_str());
  lines.Blank();
  const LabelFont& f = s.labelFont;
  lines.Add("lfHeight         = %3d\n", f.lfHeight);
  lines.Add("lfWidth          = %3d\n", f.lfWidth);
  lines.Add("lfEscapement     = %3d\n", f.lfEscapement);
  lines.Add("lfOrientation    = %3d\n", f.lfOrientation);
  lines.Add("lfWeight         = %3d\n", f.lfWeight);
  lines.Add("lfItalic         = %3d\n", static_cast<int>(f.lfItalic));
  lines.Add("lfUnderline      = %3d\n", static_cast<int>(f.lfUnderline));
  lines.Add("lfStrikeOut      = %3d\n", static_cast<int>(f.lfStrikeOut));
  lines.Add("lfCharSet        = %3d\n", static_cast<int>(f.lfCharSet));
  lines.Add("lfOutPrecision   = %3d\n", static_cast<int>(f.lfOutPrecision));
  lines.Add("lfClipPrecision  = %3d\n", static_cast<int>(f.lfClipPrecision));
  lines.Add("lfQuality        = %3d\n", static_cast<int>(f.lfQuality));
  lines.Add("lfPitchAndFamily = %3d\n", static_cast<int>(f.lfPitchAndFamily));
  lines.Add("lfFaceName       = \"%s\"\n", Quoted(f.lfFaceName).c_str());
  lines.Add("useWordLearning  = %s\n", Bool(s.useWordLearning));
  Named(lines, "hangulComposition ", CompositionName(s.hangulComposition), s.hangulComposition);
  Named(lines, "scanMode         ", ScanModeName(s.scanMode), s.scanMode);
  Named(lines, "scanSwitch       ", ScanSwitchName(s.scanSwitch), s.scanSwitch);
  Named(lines, "scanSwitch2      ", ScanSwitchName(s.scanSwitch2), s.scanSwitch2);
  lines.Add("scanFirstDelay   = %d\n", s.scanFirstDelay);
  lines.Add("useScanTick      = %s\n", Bool(s.useScanTick));
  return lines.Take();
}

bool WriteSettings(const Settings& settings, FileSystem& files, const std::string& path,
                   bool keepOldCopy) {
  if (keepOldCopy) {
    if (std::optional<std::string> old = files.ReadWholeFile(path)) {
      const std::string backup = path + ".bak";
      if (!files.WriteNewFile(backup, *old)) return false;  // keep the old file rather than lose it
    }
  }
  return WriteTextFileAtomically(files, path, FormatSettings(settings));
}

}  // namespace tessary
