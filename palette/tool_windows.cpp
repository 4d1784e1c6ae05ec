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
// The one-pixel edge of a button: the first colour along the top and the left side,
// the second down the right side and back along the bottom.
static void DrawBevel(HDC dc, const RECT* rect, int topLeftColour, int bottomRightColour)
{
    if (!dc || !rect)
        return;
    HPEN first = CreatePen(PS_SOLID, 1, GetSysColor(topLeftColour));
    HPEN second = CreatePen(PS_SOLID, 1, GetSysColor(bottomRightColour));
    HGDIOBJ previous = SelectObject(dc, first);
    MoveToEx(dc, rect->left, rect->top, nullptr);
    LineTo(dc, rect->right, rect->top);
    MoveToEx(dc, rect->left, rect->top, nullptr);
    LineTo(dc, rect->left, rect->bottom);
    SelectObject(dc, second);
    MoveToEx(dc, rect->right, rect->top, nullptr);
    LineTo(dc, rect->right, rect->bottom);
    LineTo(dc, rect->left - 1, rect->bottom);
    SelectObject(dc, previous);
    DeleteObject(first);
    DeleteObject(second);
}

void DrawBevelRaised(HWND, HDC dc, const RECT* rect)
{
    DrawBevel(dc, rect, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
}

void DrawBevelSunken(HWND, HDC dc, const RECT* rect)
{
    DrawBevel(dc, rect, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
}

void EraseBevel(HWND, HDC dc, const RECT* rect)
{
    DrawBevel(dc, rect, COLOR_BTNFACE, COLOR_BTNFACE);
}

void DrawEtchedVerticalLine(HWND, HDC dc, const RECT* rect)
{
    if (!dc || !rect)
        return;
    HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HPEN highlight = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    HGDIOBJ previous = SelectObject(dc, shadow);
    MoveToEx(dc, rect->right - 1, rect->top + 3, nullptr);
    LineTo(dc, rect->right - 1, rect->bottom - 1);
    SelectObject(dc, highlight);
    MoveToEx(dc, rect->right, rect->top + 3, nullptr);
    LineTo(dc, rect->right, rect->bottom - 1);
    SelectObject(dc, previous);
    DeleteObject(shadow);
    DeleteObject(highlight);
}

void BlitBitmap(HDC dc, HBITMAP bitmap, int x, int y)
{
    if (!dc || !bitmap)
        return;
    HDC memory = CreateCompatibleDC(dc);
    if (!memory)
        return;
    HGDIOBJ previous = SelectObject(memory, bitmap);
    SetMapMode(memory, GetMapMode(dc));
    BITMAP info;
    GetObjectA(bitmap, sizeof info, &info);
    // Size and source origin in the target's logical units.
    POINT size = {info.bmWidth, info.bmHeight};
    DPtoLP(dc, &size, 1);
    POINT origin = {0, 0};
    DPtoLP(memory, &origin, 1);
    BitBlt(dc, x, y, size.x, size.y, memory, origin.x, origin.y, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}
