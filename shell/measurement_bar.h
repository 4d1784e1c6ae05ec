#pragma once
#include <windows.h>

// The measurement bar of a document window (MiscClass).
LRESULT CALLBACK MiscBarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
