#include "shell/tool_bar.h"
#include "shell/keys_and_menus.h"
#include "planview/input_gdi.h"
#include "palette/tool_windows.h"

static HFONT toolBarFont = nullptr;
static HGDIOBJ toolBarOldFont = nullptr;

LRESULT CALLBACK ToolbarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!window)
        return 0;
    switch (message) {
    case WM_CREATE: {
        HFONT font = CreateFontA(-11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x34, "Arial");
        if (!font)
            return 0;
        HDC dc = GetDC(window);
        if (!dc) {
            DeleteObject(font);
            return 0;
        }
        toolBarFont = font;
        toolBarOldFont = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_CENTER | TA_BASELINE);
        ReleaseDC(window, dc);
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        break;
    }
    case WM_LBUTTONDOWN:
        ClearToolButtonHover();
        break;
    case WM_KEYDOWN:
        HandlePlanKeyDown(wParam, lParam);
        break;
    case WM_NCDESTROY:
        ReleaseOwnDCFont(window, &toolBarFont, &toolBarOldFont);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
