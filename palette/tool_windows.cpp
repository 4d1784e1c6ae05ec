#include "palette/tool_windows.h"
#include <cstdlib>

HWND highlightedPane = nullptr;
HWND hoveredToolButton = nullptr;

HWND FindSelectToolButton(HWND generalStrip)
{
    HWND button = generalStrip ? GetWindow(generalStrip, GW_CHILD) : nullptr;
    if (button)
        button = GetWindow(button, GW_HWNDLAST);
    for (int step = 0; step < 6 && button; ++step)
        button = GetWindow(button, GW_HWNDPREV);
    return button;
}
unsigned char swallowNextToolClick = 0;
HWND hoveredBarWindow = nullptr;
RECT hoveredBarRect = {0, 0, 0, 0};

LRESULT CALLBACK ToolWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The strip owns the copy of its descriptor that the frame stored in its window data.
    if (message == WM_NCDESTROY) {
        void* descriptor = reinterpret_cast<void*>(GetWindowLongPtrA(window, 0));
        SetWindowLongPtrA(window, 0, 0);
        std::free(descriptor);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ToolPaneWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

void CreateToolPaneButtons(HWND, HINSTANCE, const ToolPaneDescriptor*) {}
void ClearToolButtonHover()
{
    if (HWND button = hoveredToolButton) {
        hoveredToolButton = nullptr;
        RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    if (HWND window = hoveredBarWindow) {
        RECT rect = hoveredBarRect;
        hoveredBarWindow = nullptr;
        SetRectEmpty(&hoveredBarRect);
        InflateRect(&rect, 1, 1);
        RedrawWindow(window, &rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}
void DrawBevelRaised(HWND, HDC, const RECT*) {}
void DrawBevelSunken(HWND, HDC, const RECT*) {}
void EraseBevel(HWND, HDC, const RECT*) {}
void BlitBitmap(HDC, HBITMAP, int, int) {}
