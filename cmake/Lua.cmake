# Lua 5.1: the system package natively; for Windows the sources of Debian's lua5.1
# package, fetched by tools/get-lua-source.sh, compiled and linked statically.
if(WIN32)
  set(TESSARY_LUA_SOURCE_DIR "${CMAKE_SOURCE_DIR}/third_party/lua5.1" CACHE PATH "Lua 5.1 source tree")
  if(NOT EXISTS "${TESSARY_LUA_SOURCE_DIR}/src/lapi.c")
    execute_process(COMMAND bash "${CMAKE_SOURCE_DIR}/tools/get-lua-source.sh" "${TESSARY_LUA_SOURCE_DIR}"
                    RESULT_VARIABLE lua_fetch)
    if(NOT lua_fetch EQUAL 0)
      message(FATAL_ERROR "Lua 5.1 sources missing in ${TESSARY_LUA_SOURCE_DIR}")
    endif()
  endif()
  set(lua_src lapi lcode ldebug ldo ldump lfunc lgc llex lmem lobject lopcodes lparser
      lstate lstring ltable ltm lundump lvm lzio lauxlib lbaselib liolib lmathlib
      loslib lstrlib)
  list(TRANSFORM lua_src PREPEND "${TESSARY_LUA_SOURCE_DIR}/src/")
  list(TRANSFORM lua_src APPEND ".c")
  add_library(tessary_lua STATIC ${lua_src})
  target_include_directories(tessary_lua SYSTEM PUBLIC "${TESSARY_LUA_SOURCE_DIR}/src")
  # Third-party C: built as shipped, its own warnings are not ours to fix.
  target_compile_options(tessary_lua PRIVATE -w)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(LUA51 REQUIRED IMPORTED_TARGET lua5.1)
  add_library(tessary_lua INTERFACE)
  target_link_libraries(tessary_lua INTERFACE PkgConfig::LUA51)
endif()
