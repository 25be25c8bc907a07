#pragma once
// The limits and the cut-down libraries of every script state.
#include <cstddef>
#include <cstdint>

struct lua_State;

namespace tessary {

struct ScriptLimits {
  // Virtual-machine instructions one run may execute.
  uint64_t maxInstructions = 20'000'000;
  // Bytes the interpreter may hold at once.
  size_t maxMemory = 64u << 20;
};

// Book-keeping of one state's limits; lives beside the state it serves.
struct SandboxBudget {
  ScriptLimits limits;
  size_t memoryInUse = 0;
  uint64_t instructions = 0;
};

// Creates an interpreter whose allocator keeps to `budget` (which must outlive it),
// opens the base, io, os, string and math libraries and cuts them down:
//   - gone: os.execute, os.exit, os.remove, os.rename, os.tmpname, os.setlocale,
//     io.popen, io.tmpfile;
//   - io.open opens for reading only, io.output no longer opens files;
//   - loadstring, loadfile, dofile and load accept source text only, never compiled
//     chunks (the virtual machine trusts those blindly).
// Returns null when the interpreter cannot be created.
lua_State* OpenSandboxedState(SandboxBudget& budget);

// Arms the instruction bound for the next run.
void ArmInstructionLimit(lua_State* state, SandboxBudget& budget);

// Whether a chunk is a compiled one (starts with the interpreter's signature byte).
bool IsCompiledChunk(const char* data, size_t size);

}  // namespace tessary
