#pragma once
#include <windows.h>

// The live 3D view window; null while it does not exist.
extern HWND selvithWindow;

LRESULT CALLBACK SelvithWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
