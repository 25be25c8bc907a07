#pragma once
// One Lua interpreter for one load of a layout or configuration script: runs texts and
// files and reads back globals of the expected types.
//
// Scripts are data that users copy from elsewhere, so every state is a sandbox: the
// libraries that can start programs, end the process or change files are cut down to
// reading (see script_sandbox.h), and every run is bounded in instructions and memory.
// A script that passes a bound fails like a script that raises an error.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "script/script_sandbox.h"

struct lua_State;

namespace tessary {

class FileSystem;
struct GlobalRead;

class ScriptState {
 public:
  // `files` serves RunFile; it may be null when the state only runs texts.
  explicit ScriptState(FileSystem* files = nullptr, ScriptLimits limits = {});
  ~ScriptState();
  ScriptState(const ScriptState&) = delete;
  ScriptState& operator=(const ScriptState&) = delete;

  // Loads the text up to its first zero byte and runs it. False when it does not load,
  // raises an error, or passes a bound. After a failure, use the state only to close it.
  // `chunkName` names the text in error messages ("@path" for the text of a file).
  bool RunText(std::string_view text, const char* chunkName = nullptr);
  // The same for the file at `path` (a first line starting with '#' is skipped, as the
  // interpreter's own file loader does).
  bool RunFile(const std::string& path);

  // The readers. A value of the wrong type (a missing global is nil) makes a reader
  // return false, leave `out` as it was and set lastError() to "<name>: <reason>" with
  // one of the reasons below. Every read runs inside a protected call, so nothing the
  // script left behind (a full memory bound, a spent budget) can end the process.
  // Numbers are truncated toward zero; a numeric string counts as a number.
  bool GetNumber(const char* name, int32_t& out);
  bool GetReal(const char* name, double& out);
  bool GetBool(const char* name, bool& out);
  // The same for a setting newer files have: a missing global (nil) leaves `out` as it
  // is and gives true; any other type than a boolean gives false, as GetBool does.
  bool GetOptionalBool(const char* name, bool& out);
  // The same for a number.
  bool GetOptionalNumber(const char* name, int32_t& out);
  // A string or a number (as its text). `bufferSize` is the size of the caller's
  // buffer, terminator included: the text is cut to bufferSize - 1 bytes, and like a C
  // string it ends at its first zero byte.
  bool GetString(const char* name, std::string& out, size_t bufferSize);

  // Starts a fresh instruction budget for calls made through lua() (the layout
  // loader's accessor calls share one budget).
  void ArmLimits();

  // The raw interpreter, for readers built on top of this one (the layout loader).
  lua_State* lua() { return state_; }
  // Why the last run or read failed, for diagnostics ("" after a successful run).
  const std::string& lastError() const { return lastError_; }

 private:
  bool Run(std::string_view chunk, const char* chunkName);
  bool Read(GlobalRead& read, const char* reason);

  SandboxBudget budget_;
  lua_State* state_ = nullptr;
  FileSystem* files_;
  std::string lastError_;
};

// The reasons a reader gives for a value of the wrong type.
inline constexpr const char* kShouldBeNumber = "should be a number";
inline constexpr const char* kShouldBeBool = "should be 'true' or 'false'";
inline constexpr const char* kShouldBeString = "should be string";

}  // namespace tessary
