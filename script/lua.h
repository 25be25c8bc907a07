#pragma once
// The embedded interpreter's C interface.
extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}
