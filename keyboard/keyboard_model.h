#pragma once
// The in-memory keyboard: the keys of the layout now built, its design metrics, the
// view, the latches, and the layout scripts by language.
//
// Built, changed and read on the user-interface thread only: nothing else touches the
// key list, so a rebuild can never meet a reader half-way.
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tessary {

class KeyLayout;
class KeyOutput;

enum KeyType : int32_t {
  TK_TOGGLE = 1,
  TK_STRING = 2,
  TK_CHANGEVIEW = 4,
  TK_SWITCH = 8,
  TK_EXTENDED = 16,
  TK_SHIFT = 32,
  TK_MACRO = 64,
};
enum Language : int32_t { IL_ENGLISH = 0, IL_KOREAN = 1 };

// Where the user is in the Hangul syllable, from the last key the scan chose: what a
// layout's syllable-following scan order (`ScanOrder`) is declared for.
enum SyllablePlace : int32_t {
  kAtWordEnd = 0,    // at the start, after Space, Enter, a sign or another key that ends a word
  kAfterInitial,     // after a consonant that begins a syllable
  kAfterVowel,       // after a vowel
  kAfterFinal,       // after a consonant that follows a vowel: a final, or the next initial
  kAfterWordKey,     // after a word key
  kSyllablePlaces
};

// A letter key (its code) and the chance that it is the next one typed.
struct LetterChance {
  int32_t code = 0;
  double chance = 0;
  bool operator==(const LetterChance&) const = default;
};

// A font object of the platform, made from a font description; deleting it deletes
// the platform font.
class Font {
 public:
  virtual ~Font() = default;
};

// Index values for "no key".
inline constexpr int kNoKey = -1;
inline constexpr int kNoKeyRemembered = -2;

struct KeyColors {
  uint32_t text = 0, face = 0, border = 0;
  bool operator==(const KeyColors&) const = default;
};
struct KeyPos {
  double left = 0, top = 0, width = 0, height = 0;
  bool operator==(const KeyPos&) const = default;
};
struct KeyRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool Contains(int32_t x, int32_t y) const { return left <= x && x < right && top <= y && y < bottom; }
  bool operator==(const KeyRect&) const = default;
};

struct KeyDef {
  bool latched = false;
  int32_t code = 0;
  int32_t type = 0;
  std::string stroke;
  std::string ncns, ncys, ycns, ycys;  // the labels of views 0 to 3
  KeyColors normal, press;
  KeyPos pos;    // layout units, as the layout gives them
  KeyRect rect;  // client pixels, from the last ScaleKeys
  int32_t scanLine = 0;
  int32_t scanBlock = 0;

  bool Has(int32_t flag) const { return (type & flag) != 0; }
  // Whether holding the key repeats it: only keys that type do. Not the language keys,
  // not a latching key (TK_TOGGLE) or a lock, not a word key (TK_STRING), not Shift,
  // Ctrl, Alt or Win whatever their flags: repeating those would flip the layout, the
  // latch or the lock at every step, or type the word again and again.
  bool Repeats() const;
  const std::string& Label(int view) const;
  void SetAllLabels(const std::string& text) { ncns = ncys = ycns = ycys = text; }
  bool operator==(const KeyDef&) const = default;
};

class Keyboard {
 public:
  static constexpr size_t kDescriptionBufferSize = 1024;

  // The key output serves ResetModifiers, SyncLockKeys and the release of every
  // modifier when the keyboard goes away.
  Keyboard(KeyOutput& output, const KeyLayout& layout) : output_(output), layout_(layout) {}
  ~Keyboard();
  Keyboard(const Keyboard&) = delete;
  Keyboard& operator=(const Keyboard&) = delete;

  int HitTest(int32_t x, int32_t y) const;
  // Rescales every key to a client area; a zero design width or height gives every key
  // an empty rectangle.
  void ScaleKeys(uint32_t clientWidth, uint32_t clientHeight);
  int32_t KeyCode(int index) const { return keys[static_cast<size_t>(index)].code; }
  bool IsLatched(int32_t code) const;
  void Unlatch(int32_t code);
  // The latched Shift key that a one-shot Shift releases: `preferred` when it is one,
  // else the first; kNoKey when no Shift key is latched.
  int LatchedShiftKey(int preferred) const;
  // Key-ups of Ctrl, Shift, Alt and Win: what the keyboard's end sends.
  void ReleaseModifiers();
  // Caps Lock off (if the Caps view is on), key-ups of Ctrl, Shift, Alt and Win, view 0.
  void ResetModifiers();
  // Caps, Num and Scroll Lock keys take the system's lock state.
  void SyncLockKeys();
  std::vector<int> KeysInScanLine(int32_t line) const;
  std::vector<int> KeysInScanBlock(int32_t line, int32_t block) const;
  // The scan lines in the order the line scan visits them at `place`: the lines the
  // layout declares for it, then the others by number; empty when the layout declares
  // no order (the line scan then resumes on the line of the last key). A declared 0 is
  // the line not yet listed whose letter keys are the likeliest next (the chances of
  // `nextLetters` added up by line; of two as likely, the one declared first); it is left
  // out when no such line has a chance.
  std::vector<int32_t> ScanLineOrder(SyllablePlace place) const;
  // Whether the declared scan order has a 0 (follows `nextLetters`) at some place.
  bool FollowsNextLetters() const;
  // Puts the candidates on the word keys (TK_STRING), best first; the rest are blanked.
  void ShowCandidates(const std::vector<std::string>& candidates);

  int32_t view = 0;
  int32_t height = 0;
  int32_t width = 0;
  int32_t fontSize = 0;
  bool prediction = false;
  // The word keys type a space after the word (the layout's SpaceAfterWord).
  bool spaceAfterWord = false;
  // The layout's declared scan order: for each place in the syllable, the scan lines to
  // visit first, in order. All empty: the layout declares none.
  std::array<std::vector<int32_t>, kSyllablePlaces> scanOrder;
  // The chance of each letter key being the next one typed, as word prediction has it
  // after the last key: what a declared 0 in the scan order follows.
  std::vector<LetterChance> nextLetters;
  std::vector<KeyDef> keys;
  int32_t version = 0;
  int32_t language = IL_KOREAN;
  std::string description;  // at most 1023 bytes
  std::map<int32_t, std::string> layoutSet;
  // The label fonts by their height in pixels, each made when a label first needs it
  // and all made afresh at every full repaint (the face or the size may have changed).
  std::map<int32_t, std::unique_ptr<Font>> labelFonts;
  // The same in their narrow form, for long labels on narrow keys.
  std::map<int32_t, std::unique_ptr<Font>> narrowLabelFonts;
  // The density of the screen the keys are drawn on; the configured label height is
  // in design pixels (96 DPI) and drawn scaled to it.
  int32_t dpi = 96;

  KeyOutput& output() { return output_; }
  const KeyLayout& layout() const { return layout_; }

 private:
  int32_t LikeliestNextLine(const std::vector<int32_t>& declared, const std::vector<int32_t>& listed) const;
  KeyOutput& output_;
  const KeyLayout& layout_;
};

// While it lives, an exit() from anywhere in the process (the runtime's or a library's;
// nothing of ours ends the program that way) first releases the modifiers of its
// keyboard. One keyboard at a time: a newer guard takes over from an older one.
class ModifierReleaseAtExit {
 public:
  explicit ModifierReleaseAtExit(Keyboard& keyboard);
  ~ModifierReleaseAtExit();
  ModifierReleaseAtExit(const ModifierReleaseAtExit&) = delete;
  ModifierReleaseAtExit& operator=(const ModifierReleaseAtExit&) = delete;

 private:
  Keyboard* previous_;
};

}  // namespace tessary
