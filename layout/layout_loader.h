#pragma once
// Layout sets into the keyboard: finding a set in the folder "키보드" (or taking the two
// built-in layouts), keeping one script per language, and building the keyboard of one
// language from its script.
#include <functional>
#include <string>

namespace tessary {

class FileSystem;
class Keyboard;
class MessageBoxes;
class TextResources;
struct Settings;

inline constexpr const char* kLayoutFolderName = "키보드";
inline constexpr const char* kLayoutMissingText =
    "선택하신 키보드를 찾을 수 없어 '누리꽃(기본)' 자판을 사용합니다.";
inline constexpr const char* kLayoutBrokenText =
    "키보드 파일에 문제가 있어 프로그램이 정상 작동하지 않을 수 있습니다.";

struct LayoutEnvironment {
  FileSystem& files;
  const TextResources& texts;
  MessageBoxes& messages;
  Settings& settings;
  // The interpreter's reason for the last failed load or build ("" otherwise), for
  // layout authors.
  std::string lastScriptError;
};

// The set named `name`: the built-ins for the default name, otherwise the folder
// "<current directory>\키보드\<name>". False when the folder holds no layout, a file
// cannot be read, or a script fails to run.
bool LoadLayoutSet(Keyboard& keyboard, LayoutEnvironment& env, const std::string& name);
// The same for a folder given by its path.
bool LoadLayoutFolder(Keyboard& keyboard, LayoutEnvironment& env, const std::string& folder);
// Texts 179 (Korean) and 178 (English); `kbdName` becomes the default name.
void LoadBuiltinLayouts(Keyboard& keyboard, LayoutEnvironment& env);
// Runs the prelude and the script of `language` in a fresh interpreter and rebuilds the
// keyboard from it. False (the keyboard keeps its keys and globals, the reason is in
// env.lastScriptError) when a script fails, a global has the wrong type, a key record
// lacks a part, or the keys' texts together pass the memory bound of a script.
bool BuildKeyboard(Keyboard& keyboard, LayoutEnvironment& env, int32_t language);
void ToggleLanguage(Keyboard& keyboard, LayoutEnvironment& env);
// -1 (no state determined) and the current language change nothing.
void SetLanguage(Keyboard& keyboard, LayoutEnvironment& env, int32_t language);
// Loads the set `name` (falling back to the built-ins with the first message) and builds
// `language` (the second message when that fails). A keyboard that has no keys yet (at
// start-up) then takes the built-in layouts rather than stay empty.
void ReloadLayout(Keyboard& keyboard, LayoutEnvironment& env, const std::string& name, int32_t language);
// ReloadLayout with another way of loading the set (tessary-cli loads a folder).
void ReloadLayoutWith(Keyboard& keyboard, LayoutEnvironment& env, const std::function<bool()>& load,
                      int32_t language);

}  // namespace tessary
