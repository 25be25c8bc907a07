#include "layout/script_sandbox.h"

#include <cstdlib>

#include "layout/lua.h"

namespace tessary {

namespace {

constexpr int kHookEvery = 1000;  // instructions between two looks at the budget

void* BudgetAlloc(void* ud, void* ptr, size_t oldSize, size_t newSize) {
  auto* budget = static_cast<SandboxBudget*>(ud);
  if (newSize == 0) {
    std::free(ptr);
    budget->memoryInUse -= oldSize;
    return nullptr;
  }
  if (newSize > oldSize && budget->memoryInUse - oldSize + newSize > budget->limits.maxMemory) {
    return nullptr;  // the interpreter turns this into a memory error of the run
  }
  void* block = std::realloc(ptr, newSize);
  if (block != nullptr) budget->memoryInUse = budget->memoryInUse - oldSize + newSize;
  return block;
}

void CountHook(lua_State* state, lua_Debug*) {
  void* ud = nullptr;
  lua_getallocf(state, &ud);
  auto* budget = static_cast<SandboxBudget*>(ud);
  budget->instructions += kHookEvery;
  if (budget->instructions > budget->limits.maxInstructions) {
    // From now on every instruction raises the error again, so a script that catches it
    // with pcall fails at the very next instruction outside that pcall.
    lua_sethook(state, CountHook, LUA_MASKCOUNT, 1);
    luaL_error(state, "script ran too long");
  }
}

// Runs once in every new state, before any script: replaces what must not reach a
// script with reading-only versions. The originals survive only as upvalues here.
constexpr const char kSandboxScript[] = R"lua(
os.execute, os.exit, os.remove, os.rename, os.tmpname, os.setlocale = nil, nil, nil, nil, nil, nil
io.popen, io.tmpfile = nil, nil
-- A userdata with a __gc metamethod would run script code during a garbage collection
-- the program's own reads set off, outside any protected call.
newproxy = nil

local open, output = io.open, io.output
local type, error, string_byte, string_find = type, error, string.byte, string.find

function io.open(name, mode)
  if mode ~= nil and (type(mode) ~= "string" or not string_find(mode, "^r[bt]?$")) then
    return nil, "io.open: files can be opened for reading only"
  end
  return open(name, mode)
end

function io.output(file)
  if type(file) == "string" or type(file) == "number" then
    error("io.output: files cannot be opened for writing", 2)
  end
  return output(file)
end

local function compiled(text)
  return type(text) == "string" and string_byte(text, 1) == 27
end

local function compiled_file(name)
  local f = open(name, "rb")
  if not f then return false end
  local c = f:read(1)
  if c == "#" then f:read("*l"); c = f:read(1) end
  f:close()
  return c == "\27"
end

local loadstring, loadfile, dofile, load = loadstring, loadfile, dofile, load

_G.loadstring = function(text, name)
  if compiled(text) then return nil, "compiled chunks are not accepted" end
  return loadstring(text, name)
end

_G.loadfile = function(name)
  if name == nil then return nil, "loadfile: standard input is not accepted" end
  if compiled_file(name) then return nil, "compiled chunks are not accepted" end
  return loadfile(name)
end

_G.dofile = function(name)
  if name == nil then error("dofile: standard input is not accepted", 2) end
  if compiled_file(name) then error("compiled chunks are not accepted", 2) end
  return dofile(name)
end

_G.load = function(reader, name)
  local first = true
  return load(function()
    local piece = reader()
    if first and type(piece) == "string" and piece ~= "" then
      first = false
      if compiled(piece) then error("compiled chunks are not accepted") end
    end
    return piece
  end, name)
end
)lua";

bool OpenLibrary(lua_State* state, lua_CFunction open) {
  lua_pushcfunction(state, open);
  return lua_pcall(state, 0, 0, 0) == 0;
}

}  // namespace

bool IsCompiledChunk(const char* data, size_t size) {
  return size > 0 && data[0] == LUA_SIGNATURE[0];
}

lua_State* OpenSandboxedState(SandboxBudget& budget) {
  lua_State* state = lua_newstate(BudgetAlloc, &budget);
  if (state == nullptr) return nullptr;
  const bool ok = OpenLibrary(state, luaopen_base) && OpenLibrary(state, luaopen_io) &&
                  OpenLibrary(state, luaopen_os) && OpenLibrary(state, luaopen_string) &&
                  OpenLibrary(state, luaopen_math) &&
                  luaL_loadbuffer(state, kSandboxScript, sizeof kSandboxScript - 1, "=sandbox") == 0 &&
                  lua_pcall(state, 0, 0, 0) == 0;
  if (!ok) {
    lua_close(state);
    return nullptr;
  }
  lua_settop(state, 0);
  return state;
}

void ArmInstructionLimit(lua_State* state, SandboxBudget& budget) {
  budget.instructions = 0;
  lua_sethook(state, CountHook, LUA_MASKCOUNT, kHookEvery);
}

}  // namespace tessary
