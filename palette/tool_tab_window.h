#pragma once
// The two ToolTabClass windows of the frame: the tab row (window data 1), a picture of
// nine 59-pixel tabs whose click switches the category, and the active-tab button
// (window data 2) laid over the active tab, whose click opens the layer menu.
#include <windows.h>

LRESULT CALLBACK ToolTabWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// A press on either tab window at the position (client coordinates in lParam form).
void HandleToolTabClick(HWND window, UINT message, LPARAM position);
