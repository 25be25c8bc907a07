#include "layout/layout_loader.h"

#include <optional>

#include "keyboard/keyboard_model.h"
#include "layout/lua.h"
#include "layout/script_state.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/numbers.h"
#include "platform/text_resources.h"
#include "shell/settings.h"

namespace tessary {

namespace {

constexpr const char* kResetKeyTable = "Keys = {};  KeyCount = 0";

bool EndsWithKdf(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return tail == ".kdf";
}

// Reads outside a protected call are raw: a metatable the script set must not run there,
// since an error it raised would end the process.
void RawGlobal(lua_State* L, const char* name) {
  lua_pushstring(L, name);
  lua_rawget(L, LUA_GLOBALSINDEX);
}
void RawField(lua_State* L, int table, const char* name) {
  lua_pushstring(L, name);
  lua_rawget(L, table < 0 ? table - 1 : table);
}

// Calls the prelude accessor `name` with key i; its results are left on the stack.
bool CallAccessor(lua_State* L, const char* name, int i, int results) {
  RawGlobal(L, name);
  lua_pushnumber(L, i);
  return lua_pcall(L, 1, results, 0) == 0;
}

double Real(lua_State* L, int index) { return lua_tonumber(L, index); }
int32_t Integer(lua_State* L, int index) { return TruncateToInt32(lua_tonumber(L, index)); }

// A label or stroke: a string or a number; anything else has no text.
bool Text(lua_State* L, int index, std::string& out) {
  if (!lua_isstring(L, index)) return false;
  size_t length = 0;
  const char* bytes = lua_tolstring(L, index, &length);
  std::string_view text(bytes, length);
  out.assign(text.substr(0, text.find('\0')));
  return true;
}

// Key i of the table Keys through the prelude's accessors; nothing when a part of the
// record is missing or has no text (the build then fails like a failed script).
std::optional<KeyDef> ReadKey(ScriptState& script, int i, std::string& error) {
  lua_State* L = script.lua();
  const int top = lua_gettop(L);
  RawGlobal(L, "Keys");
  if (!lua_istable(L, -1)) script.Fatal(kNotAValidTable);
  lua_rawgeti(L, -1, i);
  if (!lua_istable(L, -1)) script.Fatal(kInvalidTable);
  KeyDef key;
  RawField(L, -1, "code");
  key.code = Integer(L, -1);
  RawField(L, -2, "type");
  key.type = Integer(L, -1);
  lua_settop(L, top);

  auto fail = [&](const char* what) {
    const char* message = lua_isstring(L, -1) ? lua_tostring(L, -1) : nullptr;
    error = "key " + std::to_string(i) + ": " + (message != nullptr ? message : what);
    lua_settop(L, top);
    return std::nullopt;
  };
  if (!CallAccessor(L, "GetPosition", i, 4)) return fail("no position");
  key.pos = {Real(L, -4), Real(L, -3), Real(L, -2), Real(L, -1)};
  lua_settop(L, top);
  if (!CallAccessor(L, "GetLabel", i, 4)) return fail("no labels");
  if (!Text(L, -4, key.ncns) || !Text(L, -3, key.ncys) || !Text(L, -2, key.ycns) || !Text(L, -1, key.ycys)) {
    lua_settop(L, top);
    lua_pushstring(L, "a label has no text");
    return fail("");
  }
  lua_settop(L, top);
  if (!CallAccessor(L, "GetStroke", i, 1)) return fail("no stroke");
  if (!Text(L, -1, key.stroke)) {
    lua_settop(L, top);
    lua_pushstring(L, "the stroke has no text");
    return fail("");
  }
  lua_settop(L, top);
  if (!CallAccessor(L, "GetNormalColor", i, 3)) return fail("no normal colours");
  key.normal = {static_cast<uint32_t>(Integer(L, -3)), static_cast<uint32_t>(Integer(L, -2)),
                static_cast<uint32_t>(Integer(L, -1))};
  lua_settop(L, top);
  if (!CallAccessor(L, "GetPressColor", i, 3)) return fail("no press colours");
  key.press = {static_cast<uint32_t>(Integer(L, -3)), static_cast<uint32_t>(Integer(L, -2)),
               static_cast<uint32_t>(Integer(L, -1))};
  lua_settop(L, top);
  if (!CallAccessor(L, "GetScanInfo", i, 2)) return fail("no scan line and block");
  key.scanLine = Integer(L, -2);
  key.scanBlock = Integer(L, -1);
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
    script.GetNumber("Language", language);
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
  script.GetNumber("Version", version);
  script.GetNumber("Language", builtLanguage);
  script.GetString("Description", description, Keyboard::kDescriptionBufferSize);
  script.GetBool("Prediction", prediction);
  script.GetNumber("Width", width);
  script.GetNumber("Height", height);
  script.GetNumber("FontSize", fontSize);
  script.GetNumber("KeyCount", count);

  std::vector<KeyDef> keys;
  script.ArmLimits();
  for (int i = 1; i <= count; ++i) {
    std::optional<KeyDef> key = ReadKey(script, i, env.lastScriptError);
    if (!key) return false;
    keys.push_back(std::move(*key));
  }
  keyboard.version = version;
  keyboard.language = builtLanguage;
  keyboard.description = std::move(description);
  keyboard.prediction = prediction;
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
  if (BuildKeyboard(keyboard, env, language)) {
    keyboard.ResetModifiers();
    keyboard.SyncLockKeys();
    env.lastScriptError = loadError;
  } else {
    env.messages.Show(kLayoutBrokenText, kTitleError);
  }
}

void ReloadLayout(Keyboard& keyboard, LayoutEnvironment& env, const std::string& name, int32_t language) {
  ReloadLayoutWith(keyboard, env, [&] { return LoadLayoutSet(keyboard, env, name); }, language);
}

}  // namespace tessary
