#pragma once
#include <windows.h>
#include <stdint.h>

// The window procedure of MainClass, the plan pane of a document window. The pane owns
// the PlanDocument kept in its window long 0.
LRESULT CALLBACK PlanWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Scrolls the plan view by step logical units along one axis (the fifth argument is not
// read) and marks the whole pane for repaint; with the update flag it is repainted at
// once.
void ScrollPlanView(HWND scrollBar, HWND pane, int vertical, int16_t step, int unused, int update);
void ScrollPlanViewRepaint(HWND scrollBar, HWND pane, int vertical, int16_t step, int update);
