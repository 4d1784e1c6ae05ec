#pragma once
#include <windows.h>

// The plan pane's window origin, as 16-bit values.
void SetWindowOrg16(HDC dc, int x, int y);
// The scroll ranges and positions of a plan's scroll bars from its extents and the origin.
void UpdatePlanScrollBars(HWND horizontal, HWND vertical);
