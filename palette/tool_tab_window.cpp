#include "palette/tool_tab_window.h"

LRESULT CALLBACK ToolTabWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}
