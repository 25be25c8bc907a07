#pragma once
// The one settings record, its defaults, and the configuration file Tessary.cfg that
// holds it between runs.
#include <cstdint>
#include <string>

namespace tessary {

class FileSystem;
class MessageBoxes;
class TextResources;

enum InputMode : int32_t { IM_CLICK = 1, IM_DWELL = 2, IM_SCAN = 3 };
enum ImeDetectMethod : int32_t { IDM_CBT = 1, IDM_IMG = 2 };
// Who composes Hangul ("한글 조합"): the application's input method, the keyboard itself,
// or the keyboard where no input method is open in Hangul mode.
enum HangulComposition : int32_t { HC_IME = 1, HC_KEYBOARD = 2, HC_AUTO = 3 };
// How the scan highlight moves: on its own (automatic), one step per press of the first
// switch with the second one choosing (step), or while the switch is held, the release
// choosing (hold).
enum ScanMode : int32_t { SCAN_AUTO = 1, SCAN_STEP = 2, SCAN_HOLD = 3 };
// What the user presses as a switch: a key of the user's own keyboard, or a mouse button
// pressed anywhere on the screen (a switch interface that clicks). SWITCH_NONE: no
// second switch.
enum ScanSwitch : int32_t {
  SWITCH_NONE = 0,
  SWITCH_SPACE = 1,
  SWITCH_ENTER = 2,
  SWITCH_F1 = 11,  // SWITCH_F1 + n - 1 is the function key Fn, up to F12
  SWITCH_F12 = 22,
  SWITCH_MOUSE_LEFT = 31,
  SWITCH_MOUSE_RIGHT = 32,
  SWITCH_MOUSE_MIDDLE = 33,
};
// The name a switch is written under in the file ("SWITCH_F5"); null for a number
// without a name.
const char* ScanSwitchName(int32_t scanSwitch);
// The longest extra pause on the first item of a level.
inline constexpr int32_t kScanFirstDelayMax = 2000;

// COLORREF layout: 0x00BBGGRR.
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return (b * 256 + g) * 256 + r; }

// The name of the built-in layout set.
inline constexpr const char* kDefaultLayoutName = "누리꽃(기본)";
inline constexpr const char* kConfigFileName = "Tessary.cfg";

// Buffer sizes of the text settings, terminator included; longer texts are cut to fit.
inline constexpr size_t kKbdNameBufferSize = 256;
inline constexpr size_t kFaceNameBufferSize = 32;

// The platform's LOGFONT record for the key labels, field by field.
struct LabelFont {
  int32_t lfHeight = 12;
  int32_t lfWidth = 0;
  int32_t lfEscapement = 0;
  int32_t lfOrientation = 0;
  int32_t lfWeight = 400;
  uint8_t lfItalic = 0;
  uint8_t lfUnderline = 0;
  uint8_t lfStrikeOut = 0;
  uint8_t lfCharSet = 0;
  uint8_t lfOutPrecision = 0;
  uint8_t lfClipPrecision = 0;
  uint8_t lfQuality = 0;
  uint8_t lfPitchAndFamily = 2;
  std::string lfFaceName = "굴림";

  bool operator==(const LabelFont&) const = default;
};

struct Settings {
  int32_t left = 30;
  int32_t top = 30;
  int32_t width = 522;
  int32_t height = 200;
  bool usePrediction = false;
  bool useClickSound = true;
  bool useKeyRepeat = true;
  bool useTransparency = true;
  bool useShiftRelease = true;
  int32_t opacity = 80;
  double transparencyDelay = 100.0;
  int32_t inputMode = IM_CLICK;
  int32_t imeDetectMethod = IDM_CBT;
  int32_t idmImgDelay = 2000;
  int32_t keyRepeatDelay = 300;
  double keyRepeatAcceleration = 1.0;
  int32_t dwellDelay = 500;
  int32_t scanDelay = 3000;
  int32_t scanMaxLoop = 2;
  uint32_t bgndColor = Rgb(247, 239, 222);
  uint32_t hoverFaceColor = Rgb(255, 204, 204);
  uint32_t hoverBorderColor = Rgb(255, 102, 153);
  uint32_t dwellFillColor = Rgb(255, 160, 85);
  int32_t ellipseWidth = 5;
  int32_t ellipseHeight = 5;
  std::string kbdName = kDefaultLayoutName;
  LabelFont labelFont;
  bool useWordLearning = false;  // count the words completed, offer them (menu "단어 학습")
  // New files compose automatically; a file written before the setting reads as HC_IME.
  int32_t hangulComposition = HC_AUTO;
  // Scanning, added after the rest: a file without these lines scans as before.
  int32_t scanMode = SCAN_AUTO;
  int32_t scanSwitch = SWITCH_SPACE;
  int32_t scanSwitch2 = SWITCH_ENTER;  // the step mode's choosing switch
  int32_t scanFirstDelay = 0;          // ms added to the first step of each level
  bool useScanTick = false;            // a soft tick at each step of the highlight

  bool operator==(const Settings&) const = default;
};

// What reading the configuration file came to.
enum class ConfigReadResult {
  kNoFile,         // no file: the defaults stand
  kRead,           // every value came from the file
  kPreludeFailed,  // "설정 파일을 읽는데 문제가 있습니다." was shown; defaults
  kFileFailed,     // "설정 파일에 문제가 있습니다." was shown (with the name of a key of the
                   // wrong type, if that was the problem); defaults
};

inline constexpr const char* kConfigPreludeFailedText = "설정 파일을 읽는데 문제가 있습니다.";
inline constexpr const char* kConfigFileFailedText = "설정 파일에 문제가 있습니다.";

void SetDefaults(Settings& settings);

// Fills `settings` from the defaults and the file at `path`. A missing value, or one of
// the wrong type, is a broken file: kFileFailed, with the key's name after the message's
// text ("설정 파일에 문제가 있습니다. (useClickSound)").
// `scriptError`, when given, receives the interpreter's reason for a failed run.
ConfigReadResult ReadSettings(Settings& settings, FileSystem& files, const TextResources& texts,
                              MessageBoxes& messages, const std::string& path = kConfigFileName,
                              std::string* scriptError = nullptr);


// The 54 lines the program writes, each ended by '\n'.
std::string FormatSettings(const Settings& settings);

// Writes the file atomically: the old file stays as it was when anything fails. When
// `keepOldCopy` is set (the file that was read at start-up was broken, so the user's
// text would otherwise be lost), the old file is first copied to `path` + ".bak".
bool WriteSettings(const Settings& settings, FileSystem& files,
                   const std::string& path = kConfigFileName, bool keepOldCopy = false);

}  // namespace tessary
