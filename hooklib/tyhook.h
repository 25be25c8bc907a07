#pragma once
// The one export of tyhook.dll, imported by name.
#include <windows.h>

extern "C" LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
