#include "script/script_sandbox.h"

#include <cstdio>
#include <cstdlib>

#include "script/lua.h"

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
  if (newSize > oldSize) {
    // The interpreter turns a refusal into a memory error of the run. Only growth is
    // ever refused: it counts on shrinking and freeing to succeed.
    if (budget->memoryInUse - oldSize + newSize > budget->limits.maxMemory) return nullptr;
    if (budget->allocated + newSize > budget->limits.maxAllocated) return nullptr;
    budget->allocated += newSize;
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

// An error outside every protected call: back to the guarded call that is running.
// Without one the interpreter would end the process; every call into a state is made
// protected or guarded, so that is not reached.
int Panic(lua_State* state) {
  void* ud = nullptr;
  lua_getallocf(state, &ud);
  auto* budget = static_cast<SandboxBudget*>(ud);
  if (budget->panicJump != nullptr) std::longjmp(*budget->panicJump, 1);
  return 0;
}

// Runs once in every new state, before any script: replaces what must not reach a
// script with reading-only versions. The originals survive only as upvalues here.
constexpr const char kSandboxScript[] = R"lua(
os.execute, os.exit, os.remove, os.rename, os.tmpname, os.setlocale = nil, nil, nil, nil, nil, nil
io.popen, io.tmpfile = nil, nil
-- A userdata with a __gc metamethod would run script code during a garbage collection
-- the program's own reads set off, outside any protected call.
newproxy = nil
-- The same for a file handle: its metatable is locked, and so is the strings' one,
-- which would otherwise reach every string's methods.
getmetatable(io.stdout).__metatable = false
getmetatable("").__metatable = false

-- A result that cannot fit the memory bound is refused before it is built, and an
-- empty one is not built piece by piece.
do
  local rep, floor, tostring, tonumber = string.rep, math.floor, tostring, tonumber
  local limit = ...
  string.rep = function(s, n)
    if type(s) == "number" then s = tostring(s) end
    if type(s) ~= "string" or tonumber(n) == nil then return rep(s, n) end
    n = floor(tonumber(n))
    if s == "" or not (n > 0) then return "" end
    if #s * n > limit then error("string.rep: the result would be too long", 2) end
    return rep(s, n)
  end
end

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

// Trivial locals only: a panic leaves this frame by a long jump.
bool OpenLibraries(lua_State* state, size_t memoryLimit) {
  return OpenLibrary(state, luaopen_base) && OpenLibrary(state, luaopen_io) &&
         OpenLibrary(state, luaopen_os) && OpenLibrary(state, luaopen_string) &&
         OpenLibrary(state, luaopen_math) &&
         luaL_loadbuffer(state, kSandboxScript, sizeof kSandboxScript - 1, "=sandbox") == 0 &&
         (lua_pushnumber(state, static_cast<lua_Number>(memoryLimit)), lua_pcall(state, 1, 0, 0) == 0);
}

}  // namespace

lua_State* OpenSandboxedState(SandboxBudget& budget) {
  lua_State* state = lua_newstate(BudgetAlloc, &budget);
  if (state == nullptr) return nullptr;
  lua_atpanic(state, Panic);
  std::jmp_buf jump;
  budget.panicJump = &jump;
  if (setjmp(jump) != 0) {
    budget.panicJump = nullptr;
    return nullptr;  // what the state holds is left behind
  }
  const bool ok = OpenLibraries(state, budget.limits.maxMemory);
  budget.panicJump = nullptr;
  if (!ok) {
    CloseSandboxedState(state, budget);
    return nullptr;
  }
  lua_settop(state, 0);
  return state;
}

void CloseSandboxedState(lua_State* state, SandboxBudget& budget) {
  std::jmp_buf jump;
  budget.panicJump = &jump;
  if (setjmp(jump) == 0) lua_close(state);
  budget.panicJump = nullptr;
}

std::string ErrorMessage(lua_State* state, int index) {
  switch (lua_type(state, index)) {
    case LUA_TSTRING: {
      size_t length = 0;
      const char* text = lua_tolstring(state, index, &length);
      return std::string(text, length);
    }
    case LUA_TNUMBER: {
      char text[32];
      std::snprintf(text, sizeof text, "%.14g", lua_tonumber(state, index));
      return text;
    }
    default:
      return "(error object is not a string)";
  }
}

bool IsCompiledChunk(const char* data, size_t size) {
  return size > 0 && data[0] == LUA_SIGNATURE[0];
}

void ArmInstructionLimit(lua_State* state, SandboxBudget& budget) {
  budget.instructions = 0;
  budget.allocated = 0;
  lua_sethook(state, CountHook, LUA_MASKCOUNT, kHookEvery);
}

}  // namespace tessary
