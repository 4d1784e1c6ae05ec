#pragma once
#include <windows.h>

// The frame's tool bar: a hidden 1 x 1 window that draws nothing and hands keys on.
LRESULT CALLBACK ToolbarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
