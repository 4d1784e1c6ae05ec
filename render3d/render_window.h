#pragma once
#include <windows.h>

// The OpenGL surface of the live 3D view; null while no 3D view exists.
extern HWND renderWindow;

LRESULT CALLBACK RenderWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
