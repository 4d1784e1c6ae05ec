#pragma once
#include <windows.h>

// The plan pane's window origin, as 16-bit values.
void SetWindowOrg16(HDC dc, int x, int y);
// The scroll ranges and positions of the active plan's pane from its zoomed extents and
// the pane DC's window origin (the scroll position); a plan smaller than the pane is
// centred. The scrollable area is twice the zoomed extents. (Defined with the background.)
void UpdatePlanScrollBars(HWND horizontal, HWND vertical);
