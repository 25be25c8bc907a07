# Lua 5.1.5: the release's sources, kept in third_party/lua5.1 with the patches of
# third_party/patches applied (see third_party/README.md), compiled and linked statically
# into every build, native ones included, so the tests run the interpreter the programs ship.
set(TESSARY_LUA_SOURCE_DIR "${CMAKE_SOURCE_DIR}/third_party/lua5.1" CACHE PATH "Lua 5.1 source tree")
if(NOT EXISTS "${TESSARY_LUA_SOURCE_DIR}/src/lapi.c")
  message(FATAL_ERROR "Lua 5.1 sources missing in ${TESSARY_LUA_SOURCE_DIR}")
endif()
set(lua_src lapi lcode ldebug ldo ldump lfunc lgc llex lmem lobject lopcodes lparser
    lstate lstring ltable ltm lundump lvm lzio lauxlib lbaselib liolib lmathlib
    loslib lstrlib)
list(TRANSFORM lua_src PREPEND "${TESSARY_LUA_SOURCE_DIR}/src/")
list(TRANSFORM lua_src APPEND ".c")
add_library(tessary_lua STATIC ${lua_src})
target_include_directories(tessary_lua SYSTEM PUBLIC "${TESSARY_LUA_SOURCE_DIR}/src")
if(NOT WIN32)
  target_compile_definitions(tessary_lua PRIVATE LUA_USE_POSIX)
endif()
# Third-party C: built as patched, its own warnings are not ours to fix.
target_compile_options(tessary_lua PRIVATE -w)
