#include "layout/script_state.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "layout/lua.h"
#include "platform/file_system.h"
#include "platform/numbers.h"

namespace tessary {

namespace {
FatalStopHandler fatalStopHandler = nullptr;
}  // namespace

FatalStopHandler SetFatalStopHandler(FatalStopHandler handler) {
  FatalStopHandler previous = fatalStopHandler;
  fatalStopHandler = handler;
  return previous;
}

ScriptState::ScriptState(FileSystem* files, ScriptLimits limits) : files_(files) {
  budget_.limits = limits;
  state_ = OpenSandboxedState(budget_);
}

ScriptState::~ScriptState() {
  if (state_ != nullptr) lua_close(state_);
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
    const char* message = lua_tostring(state_, -1);
    lastError_ = message != nullptr ? message : "error";
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

// Raw: a script's metatable on the globals must not run here, outside any protected
// call, where an error it raised would end the process.
void ScriptState::PushGlobal(const char* name) {
  lua_pushstring(state_, name);
  lua_rawget(state_, LUA_GLOBALSINDEX);
}

bool ScriptState::GetNumber(const char* name, int32_t& out) {
  double value = 0;
  GetReal(name, value);
  out = TruncateToInt32(value);
  return true;
}

bool ScriptState::GetReal(const char* name, double& out) {
  if (state_ == nullptr) Fatal(kShouldBeNumber);
  const int top = lua_gettop(state_);
  PushGlobal(name);
  if (!lua_isnumber(state_, -1)) Fatal(kShouldBeNumber);
  out = lua_tonumber(state_, -1);
  lua_settop(state_, top);
  return true;
}

bool ScriptState::GetBool(const char* name, bool& out) {
  if (state_ == nullptr) Fatal(kShouldBeBool);
  const int top = lua_gettop(state_);
  PushGlobal(name);
  if (lua_type(state_, -1) != LUA_TBOOLEAN) Fatal(kShouldBeBool);
  out = lua_toboolean(state_, -1) != 0;
  lua_settop(state_, top);
  return true;
}

bool ScriptState::GetOptionalBool(const char* name, bool& out) {
  if (state_ == nullptr) Fatal(kShouldBeBool);
  const int top = lua_gettop(state_);
  PushGlobal(name);
  const bool present = !lua_isnil(state_, -1);
  lua_settop(state_, top);
  return present ? GetBool(name, out) : false;
}

bool ScriptState::GetString(const char* name, std::string& out, size_t bufferSize) {
  if (state_ == nullptr) Fatal(kShouldBeString);
  const int top = lua_gettop(state_);
  PushGlobal(name);
  if (!lua_isstring(state_, -1)) Fatal(kShouldBeString);
  size_t length = 0;
  const char* bytes = lua_tolstring(state_, -1, &length);
  const size_t room = bufferSize > 0 ? bufferSize - 1 : 0;
  std::string_view text(bytes, std::min(length, room));
  out.assign(text.substr(0, text.find('\0')));
  lua_settop(state_, top);
  return true;
}

void ScriptState::Fatal(const char* message) {
  if (state_ != nullptr) {
    lua_close(state_);
    state_ = nullptr;
  }
  if (fatalStopHandler != nullptr) fatalStopHandler(message);
  std::fputs(message, stderr);
  std::fflush(stderr);
  std::exit(1);
}

}  // namespace tessary
