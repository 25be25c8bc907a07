#pragma once
// The limits and the cut-down libraries of every script state.
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <string>

struct lua_State;

namespace tessary {

struct ScriptLimits {
  // Virtual-machine instructions one run may execute.
  uint64_t maxInstructions = 20'000'000;
  // Bytes the interpreter may hold at once.
  size_t maxMemory = 64u << 20;
  // Bytes one run may allocate, whatever it frees again: copying a long string over and
  // over (a concatenation in a loop) takes time that few instructions stand for.
  uint64_t maxAllocated = uint64_t{1} << 30;
};

// Book-keeping of one state's limits; lives beside the state it serves.
struct SandboxBudget {
  ScriptLimits limits;
  size_t memoryInUse = 0;
  uint64_t instructions = 0;
  uint64_t allocated = 0;  // in this run
  // Where the panic handler returns to while a guarded call runs (see below).
  std::jmp_buf* panicJump = nullptr;
};

// Creates an interpreter whose allocator keeps to `budget` (which must outlive it),
// opens the base, io, os, string and math libraries and cuts them down:
//   - gone: os.execute, os.exit, os.remove, os.rename, os.tmpname, os.setlocale,
//     io.popen, io.tmpfile;
//   - io.open opens for reading only, io.output no longer opens files;
//   - loadstring, loadfile, dofile and load accept source text only, never compiled
//     chunks (the virtual machine trusts those blindly);
//   - the metatables of strings and of file handles are locked (getmetatable gives
//     false), so no script can give a file handle a __gc, which would run with the
//     instruction bound switched off, also while the state is closed;
//   - string.rep refuses a result longer than the memory bound.
// The interpreter we compile (third_party/patches/) counts the work of its library on
// strings (matching, copying, comparing, parsing) against the instruction bound, a byte
// as an instruction, and limits the pattern matcher's nesting.
// A panic of the interpreter (an error outside every protected call) returns to the
// guarded call it happened in instead of ending the process.
// Returns null when the interpreter cannot be created.
lua_State* OpenSandboxedState(SandboxBudget& budget);

// Closes a state made by OpenSandboxedState, guarded against a panic (what the state
// still holds is then left behind rather than the process ended).
void CloseSandboxedState(lua_State* state, SandboxBudget& budget);

// The error value at `index` as text, without converting it in place (which would
// allocate, and could fail, outside a protected call).
std::string ErrorMessage(lua_State* state, int index);

// Arms the instruction and allocation bounds for the next run.
void ArmInstructionLimit(lua_State* state, SandboxBudget& budget);

// Whether a chunk is a compiled one (starts with the interpreter's signature byte).
bool IsCompiledChunk(const char* data, size_t size);

}  // namespace tessary
