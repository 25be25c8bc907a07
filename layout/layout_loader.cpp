#include "layout/layout_loader.h"

#include <algorithm>
#include <array>
#include <optional>

#include "config/settings.h"
#include "keyboard/keyboard_model.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/numbers.h"
#include "platform/text_resources.h"
#include "script/lua.h"
#include "script/script_state.h"

namespace tessary {

namespace {

constexpr const char* kResetKeyTable = "Keys = {};  KeyCount = 0";
constexpr const char* kReadScanOrder = "ScanOrderText = GetScanOrder()";
constexpr size_t kScanOrderTextSize = 1024;

// The prelude's text of the scan order: a group of line numbers per place, ";" between.
std::array<std::vector<int32_t>, kSyllablePlaces> ParseScanOrder(const std::string& text) {
  std::array<std::vector<int32_t>, kSyllablePlaces> order;
  size_t place = 0;
  int32_t number = -1;
  for (size_t i = 0; i <= text.size() && place < order.size(); ++i) {
    const char c = i < text.size() ? text[i] : ';';
    if (c >= '0' && c <= '9') {
      number = std::min<int32_t>(number < 0 ? c - '0' : number * 10 + (c - '0'), 100000);
      continue;
    }
    if (number >= 0) order[place].push_back(number);  // 0: the line of the next letters
    number = -1;
    if (c == ';') ++place;
  }
  return order;
}

bool EndsWithKdf(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return tail == ".kdf";
}

// Reads are raw: a metatable the script set does not run.
void RawGlobal(lua_State* L, const char* name) {
  lua_pushstring(L, name);
  lua_rawget(L, LUA_GLOBALSINDEX);
}
void RawField(lua_State* L, int table, const char* name) {
  lua_pushstring(L, name);
  lua_rawget(L, table < 0 ? table - 1 : table);
}

// Calls the prelude accessor `name` with key i; its results are left on the stack. An
// error it raises ends the protected call ReadKey runs in.
void CallAccessor(lua_State* L, const char* name, int i, int results) {
  RawGlobal(L, name);
  lua_pushnumber(L, i);
  lua_call(L, 1, results);
}

double Real(lua_State* L, int index) { return lua_tonumber(L, index); }
int32_t Integer(lua_State* L, int index) { return TruncateToInt32(lua_tonumber(L, index)); }

// One key to read, handed to ReadKeyProtected through lua_cpcall. Trivially
// destructible, like every local there: an error leaves by a long jump.
struct KeyRead {
  KeyDef* key;
  int index;
  // Bytes the texts of this build may still copy: the texts a script makes are bounded
  // by the memory bound, but one text can be shared by any number of keys.
  size_t* copyBudget;
  const char* failure = nullptr;  // why the record was refused, when no error was raised
};

// A label or stroke: a string or a number; anything else has no text. The number's text
// is made here, inside the protected call.
bool Text(lua_State* L, int index, std::string& out, KeyRead& read) {
  if (!lua_isstring(L, index)) {
    read.failure = "a label or the stroke has no text";
    return false;
  }
  size_t length = 0;
  const char* bytes = lua_tolstring(L, index, &length);
  std::string_view text(bytes, length);
  text = text.substr(0, text.find('\0'));
  if (text.size() > *read.copyBudget) {
    read.failure = "the texts of the keys are too long";
    return false;
  }
  *read.copyBudget -= text.size();
  out.assign(text);
  return true;
}

// Key i of the table Keys through the prelude's accessors, inside lua_cpcall.
int ReadKeyProtected(lua_State* L) {
  KeyRead& read = *static_cast<KeyRead*>(lua_touserdata(L, 1));
  KeyDef& key = *read.key;
  const int i = read.index;
  lua_settop(L, 0);
  RawGlobal(L, "Keys");
  if (!lua_istable(L, -1)) {
    read.failure = "Keys is not a table";
    return 0;
  }
  lua_rawgeti(L, -1, i);
  if (!lua_istable(L, -1)) {
    read.failure = "no record in Keys";
    return 0;
  }
  RawField(L, -1, "code");
  key.code = Integer(L, -1);
  RawField(L, -2, "type");
  key.type = Integer(L, -1);
  lua_settop(L, 0);

  CallAccessor(L, "GetPosition", i, 4);
  key.pos = {Real(L, -4), Real(L, -3), Real(L, -2), Real(L, -1)};
  lua_settop(L, 0);
  CallAccessor(L, "GetLabel", i, 4);
  if (!Text(L, -4, key.ncns, read) || !Text(L, -3, key.ncys, read) || !Text(L, -2, key.ycns, read) ||
      !Text(L, -1, key.ycys, read)) {
    return 0;
  }
  lua_settop(L, 0);
  CallAccessor(L, "GetStroke", i, 1);
  if (!Text(L, -1, key.stroke, read)) return 0;
  lua_settop(L, 0);
  CallAccessor(L, "GetNormalColor", i, 3);
  key.normal = {static_cast<uint32_t>(Integer(L, -3)), static_cast<uint32_t>(Integer(L, -2)),
                static_cast<uint32_t>(Integer(L, -1))};
  lua_settop(L, 0);
  CallAccessor(L, "GetPressColor", i, 3);
  key.press = {static_cast<uint32_t>(Integer(L, -3)), static_cast<uint32_t>(Integer(L, -2)),
               static_cast<uint32_t>(Integer(L, -1))};
  lua_settop(L, 0);
  CallAccessor(L, "GetScanInfo", i, 2);
  key.scanLine = Integer(L, -2);
  key.scanBlock = Integer(L, -1);
  return 0;
}

// Key i; nothing when a part of the record is missing, has no text or raises an error
// (the build then fails like a failed script), with the reason in `error`.
std::optional<KeyDef> ReadKey(ScriptState& script, int i, size_t& copyBudget, std::string& error) {
  lua_State* L = script.lua();
  KeyDef key;
  KeyRead read{&key, i, &copyBudget};
  const int top = lua_gettop(L);
  const int status = lua_cpcall(L, ReadKeyProtected, &read);
  if (status != 0 || read.failure != nullptr) {
    error = "key " + std::to_string(i) + ": " + (status != 0 ? ErrorMessage(L, -1) : read.failure);
    lua_settop(L, top);
    return std::nullopt;
  }
  lua_settop(L, top);
  return key;
}

}  // namespace

void LoadBuiltinLayouts(Keyboard& keyboard, LayoutEnvironment& env) {
  keyboard.layoutSet.clear();
  keyboard.layoutSet[IL_KOREAN] = env.texts.LoadTextResource(kBuiltinKoreanLayoutText);
  keyboard.layoutSet[IL_ENGLISH] = env.texts.LoadTextResource(kBuiltinEnglishLayoutText);
  env.settings.kbdName = kDefaultLayoutName;
}

bool LoadLayoutSet(Keyboard& keyboard, LayoutEnvironment& env, const std::string& name) {
  if (name == kDefaultLayoutName) {
    LoadBuiltinLayouts(keyboard, env);
    return true;
  }
  const std::string folder =
      env.files.CurrentDirectory() + "\\" + kLayoutFolderName + "\\" + name;
  return LoadLayoutFolder(keyboard, env, folder);
}

bool LoadLayoutFolder(Keyboard& keyboard, LayoutEnvironment& env, const std::string& folder) {
  env.lastScriptError.clear();
  ScriptState script(&env.files);
  const std::optional<std::vector<DirectoryEntry>> entries = env.files.ListDirectory(folder);
  if (!entries) return false;
  std::vector<DirectoryEntry> matches;
  for (const DirectoryEntry& entry : *entries) {
    if (EndsWithKdf(entry.name)) matches.push_back(entry);
  }
  if (matches.empty()) return false;
  if (!script.RunText(env.texts.LoadTextResource(kLayoutPreludeText))) {
    env.lastScriptError = script.lastError();
    return false;
  }
  keyboard.layoutSet.clear();
  for (const DirectoryEntry& match : matches) {
    if (match.isDirectory) continue;
    const std::string path = folder + "\\" + match.name;
    std::optional<std::string> text = env.files.ReadWholeFile(path);
    if (!text) {
      env.lastScriptError = "cannot read " + path;
      return false;
    }
    // A script that fails here ends the search like an unreadable file: its Language
    // cannot be known.
    if (!script.RunText(*text, ("@" + path).c_str())) {
      env.lastScriptError = script.lastError();
      return false;
    }
    int32_t language = 0;
    if (!script.GetNumber("Language", language)) {
      env.lastScriptError = path + ": " + script.lastError();
      return false;
    }
    keyboard.layoutSet[language] = std::move(*text);
    script.RunText(kResetKeyTable);
  }
  return true;
}

bool BuildKeyboard(Keyboard& keyboard, LayoutEnvironment& env, int32_t language) {
  env.lastScriptError.clear();
  ScriptState script(&env.files);
  auto entry = keyboard.layoutSet.find(language);
  const std::string empty;
  const std::string& text = entry != keyboard.layoutSet.end() ? entry->second : empty;
  if (!script.RunText(env.texts.LoadTextResource(kLayoutPreludeText)) || !script.RunText(text)) {
    env.lastScriptError = script.lastError();
    return false;
  }
  // Everything is read first and taken over only when the whole keyboard could be read.
  int32_t version = 0, builtLanguage = 0, width = 0, height = 0, fontSize = 0, count = 0;
  std::string description;
  bool prediction = false;
  bool spaceAfterWord = false;
  // A value of the wrong type fails the build like a script error.
  if (!script.GetNumber("Version", version) || !script.GetNumber("Language", builtLanguage) ||
      !script.GetString("Description", description, Keyboard::kDescriptionBufferSize) ||
      !script.GetBool("Prediction", prediction) || !script.GetBool("SpaceAfterWord", spaceAfterWord) ||
      !script.GetNumber("Width", width) ||
      !script.GetNumber("Height", height) || !script.GetNumber("FontSize", fontSize) ||
      !script.GetNumber("KeyCount", count)) {
    env.lastScriptError = script.lastError();
    return false;
  }
  std::string scanOrderText;
  if (!script.RunText(kReadScanOrder) || !script.GetString("ScanOrderText", scanOrderText, kScanOrderTextSize)) {
    env.lastScriptError = script.lastError();
    return false;
  }

  std::vector<KeyDef> keys;
  size_t copyBudget = ScriptLimits{}.maxMemory;
  script.ArmLimits();
  for (int i = 1; i <= count; ++i) {
    std::optional<KeyDef> key = ReadKey(script, i, copyBudget, env.lastScriptError);
    if (!key) return false;
    keys.push_back(std::move(*key));
  }
  keyboard.version = version;
  keyboard.language = builtLanguage;
  keyboard.description = std::move(description);
  keyboard.prediction = prediction;
  keyboard.spaceAfterWord = spaceAfterWord;
  keyboard.scanOrder = ParseScanOrder(scanOrderText);
  keyboard.width = width;
  keyboard.height = height;
  keyboard.fontSize = fontSize;
  keyboard.keys = std::move(keys);
  return true;
}

void ToggleLanguage(Keyboard& keyboard, LayoutEnvironment& env) {
  if (keyboard.language == IL_KOREAN) {
    BuildKeyboard(keyboard, env, IL_ENGLISH);
  } else if (keyboard.language == IL_ENGLISH) {
    BuildKeyboard(keyboard, env, IL_KOREAN);
  } else {
    return;
  }
  keyboard.ResetModifiers();
}

void SetLanguage(Keyboard& keyboard, LayoutEnvironment& env, int32_t language) {
  if (language == -1 || language == keyboard.language) return;
  BuildKeyboard(keyboard, env, language);
  keyboard.ResetModifiers();
}

void ReloadLayoutWith(Keyboard& keyboard, LayoutEnvironment& env, const std::function<bool()>& load,
                      int32_t language) {
  if (!load()) {
    const std::string reason = env.lastScriptError;
    env.messages.Show(kLayoutMissingText, kTitleError);
    LoadBuiltinLayouts(keyboard, env);
    env.lastScriptError = reason;
  }
  const std::string loadError = env.lastScriptError;
  bool built = BuildKeyboard(keyboard, env, language);
  if (!built) {
    env.messages.Show(kLayoutBrokenText, kTitleError);
    if (keyboard.keys.empty()) {
      // Nothing to keep: a keyboard without keys would leave its user with no keyboard.
      const std::string reason = env.lastScriptError;
      LoadBuiltinLayouts(keyboard, env);
      built = BuildKeyboard(keyboard, env, language);
      env.lastScriptError = reason;
    }
  }
  if (built) {
    keyboard.ResetModifiers();
    keyboard.SyncLockKeys();
    if (env.lastScriptError.empty()) env.lastScriptError = loadError;
  }
}

void ReloadLayout(Keyboard& keyboard, LayoutEnvironment& env, const std::string& name, int32_t language) {
  ReloadLayoutWith(keyboard, env, [&] { return LoadLayoutSet(keyboard, env, name); }, language);
}

}  // namespace tessary
