#include "render3d/render_window.h"

HWND renderWindow = nullptr;

LRESULT CALLBACK RenderWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}
