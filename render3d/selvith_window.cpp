#include "render3d/selvith_window.h"

HWND selvithWindow = nullptr;

LRESULT CALLBACK SelvithWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}
