#pragma once
#include <windows.h>
#include <stdint.h>

// The live 3D view window; null while it does not exist.
extern HWND selvithWindow;
// 1 while the sky follows the camera (quality levels below 10).
extern uint8_t skyFollowsCamera;

LRESULT CALLBACK SelvithWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
