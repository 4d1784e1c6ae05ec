#pragma once
#include <windows.h>

// The help commands: 5111 contents, 5112 help on help, 5200 and 5201 the help topics,
// 5218 search.
void HelpCommand(HWND frame, int command);
// 5113: the about box.
void AboutCommand(HWND frame);
// 5356 to 5360: the hardiness-zone map of the command.
void ZoneMapCommand(HWND frame, int command);
