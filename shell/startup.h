#pragma once
#include <windows.h>

// The program's start-up and message loop; WinMain only forwards here so that tests
// can link everything but the entry point.
int RunVelmora(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
