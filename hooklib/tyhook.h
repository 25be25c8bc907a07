#pragma once
// The one export of tyhook.dll, imported by name.
#include <windows.h>

// Imported through the import table, so that CbtProc's address is the function inside
// tyhook.dll: a hook in other processes is found there by its offset in the library,
// which an import thunk of the program would not give.
extern "C" __declspec(dllimport) LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
