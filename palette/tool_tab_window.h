#pragma once
#include <windows.h>

// The category tab row (window data 1) and the active-tab button (window data 2).
LRESULT CALLBACK ToolTabWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
