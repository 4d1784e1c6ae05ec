#pragma once
#include <windows.h>

LRESULT CALLBACK ElevationPaneWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ElevationArrowWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The pane's draggable arrow (null until the pane makes it) and its step on the 34-step scale.
extern HWND elevationArrowWindow;
extern int elevationArrowIndex;
