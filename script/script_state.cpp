#include "script/script_state.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/numbers.h"
#include "script/lua.h"

namespace tessary {

enum class ReadKind { kNumber, kBool, kString };

// One global to read, handed to ReadGlobal through lua_cpcall. Trivially destructible:
// an error inside the protected call leaves by a long jump past ReadGlobal.
struct GlobalRead {
  const char* name;
  ReadKind kind;
  double number = 0;
  bool boolean = false;
  std::string* text = nullptr;
  size_t room = 0;
  bool optional = false;  // a missing global (nil) is no error and leaves the value
  bool present = false;
  bool typeOk = false;
};

namespace {

// Runs inside lua_cpcall, so a memory error (pushing the name, turning a number into
// text) fails the read instead of reaching the panic handler. Raw: a script's
// metatable on the globals does not run.
int ReadGlobal(lua_State* L) {
  auto* read = static_cast<GlobalRead*>(lua_touserdata(L, 1));
  lua_pushstring(L, read->name);
  lua_rawget(L, LUA_GLOBALSINDEX);
  read->present = !lua_isnil(L, -1);
  if (read->optional && !read->present) {
    read->typeOk = true;
    return 0;
  }
  switch (read->kind) {
    case ReadKind::kNumber:
      if (!lua_isnumber(L, -1)) return 0;
      read->number = lua_tonumber(L, -1);
      break;
    case ReadKind::kBool:
      if (lua_type(L, -1) != LUA_TBOOLEAN) return 0;
      read->boolean = lua_toboolean(L, -1) != 0;
      break;
    case ReadKind::kString: {
      if (!lua_isstring(L, -1)) return 0;
      size_t length = 0;
      const char* bytes = lua_tolstring(L, -1, &length);
      const std::string_view text(bytes, std::min(length, read->room));
      read->text->assign(text.substr(0, text.find('\0')));
      break;
    }
  }
  read->typeOk = true;
  return 0;
}

}  // namespace

ScriptState::ScriptState(FileSystem* files, ScriptLimits limits) : files_(files) {
  budget_.limits = limits;
  state_ = OpenSandboxedState(budget_);
}

ScriptState::~ScriptState() {
  if (state_ != nullptr) CloseSandboxedState(state_, budget_);
}

bool ScriptState::Run(std::string_view chunk, const char* chunkName) {
  lastError_.clear();
  if (state_ == nullptr) {
    lastError_ = "the interpreter could not be created";
    return false;
  }
  if (IsCompiledChunk(chunk.data(), chunk.size())) {
    lastError_ = "compiled chunks are not accepted";
    return false;
  }
  const int top = lua_gettop(state_);
  ArmInstructionLimit(state_, budget_);
  if (luaL_loadbuffer(state_, chunk.data(), chunk.size(), chunkName) != 0 ||
      lua_pcall(state_, 0, LUA_MULTRET, 0) != 0) {
    lastError_ = ErrorMessage(state_, -1);
    lua_settop(state_, top);
    return false;
  }
  lua_settop(state_, top);
  return true;
}

bool ScriptState::RunText(std::string_view text, const char* chunkName) {
  return Run(text.substr(0, text.find('\0')), chunkName);
}

bool ScriptState::RunFile(const std::string& path) {
  lastError_.clear();
  if (files_ == nullptr) return false;
  std::optional<std::string> content = files_->ReadWholeFile(path);
  if (!content) {
    lastError_ = "cannot open " + path;
    return false;
  }
  if (!content->empty() && (*content)[0] == '#') {
    // A first line like "#!..." is skipped; its line end stays so line numbers hold.
    content->erase(0, std::min(content->find('\n'), content->size()));
  }
  const std::string chunkName = "@" + path;
  return Run(*content, chunkName.c_str());
}

void ScriptState::ArmLimits() {
  if (state_ != nullptr) ArmInstructionLimit(state_, budget_);
}

bool ScriptState::Read(GlobalRead& read, const char* reason) {
  if (state_ == nullptr) {
    lastError_ = std::string(read.name) + ": the interpreter could not be created";
    return false;
  }
  const int top = lua_gettop(state_);
  const int status = lua_cpcall(state_, ReadGlobal, &read);
  if (status != 0) {
    lastError_ = std::string(read.name) + ": " + ErrorMessage(state_, -1);
    lua_settop(state_, top);
    return false;
  }
  lua_settop(state_, top);
  if (!read.typeOk) {
    lastError_ = std::string(read.name) + ": " + reason;
    return false;
  }
  return true;
}

bool ScriptState::GetNumber(const char* name, int32_t& out) {
  double value = 0;
  if (!GetReal(name, value)) return false;
  out = TruncateToInt32(value);
  return true;
}

bool ScriptState::GetReal(const char* name, double& out) {
  GlobalRead read{name, ReadKind::kNumber};
  if (!Read(read, kShouldBeNumber)) return false;
  out = read.number;
  return true;
}

bool ScriptState::GetBool(const char* name, bool& out) {
  GlobalRead read{name, ReadKind::kBool};
  if (!Read(read, kShouldBeBool)) return false;
  out = read.boolean;
  return true;
}

bool ScriptState::GetOptionalBool(const char* name, bool& out) {
  GlobalRead read{name, ReadKind::kBool};
  read.optional = true;
  if (!Read(read, kShouldBeBool)) return false;
  if (read.present) out = read.boolean;
  return true;
}

bool ScriptState::GetOptionalNumber(const char* name, int32_t& out) {
  GlobalRead read{name, ReadKind::kNumber};
  read.optional = true;
  if (!Read(read, kShouldBeNumber)) return false;
  if (read.present) out = TruncateToInt32(read.number);
  return true;
}

bool ScriptState::GetString(const char* name, std::string& out, size_t bufferSize) {
  std::string text;
  GlobalRead read{name, ReadKind::kString};
  read.text = &text;
  read.room = bufferSize > 0 ? bufferSize - 1 : 0;
  if (!Read(read, kShouldBeString)) return false;
  out = std::move(text);
  return true;
}

}  // namespace tessary
