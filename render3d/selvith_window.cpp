#include "render3d/selvith_window.h"

HWND selvithWindow = nullptr;
uint8_t skyFollowsCamera = 1;

LRESULT CALLBACK SelvithWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}
