#pragma once
#include <windows.h>

struct CommonValue;

LRESULT CALLBACK ElevationPaneWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ElevationArrowWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The pane's draggable arrow (null until the pane makes it) and its step on the 34-step scale.
extern HWND elevationArrowWindow;
extern int elevationArrowIndex;

// Shows a common-value record on the pane: the arrow at the record's whole step, hidden
// for mixed or fractional values; the pane's menu offers the working-elevation command
// while the record holds the working elevation.
void LayoutElevationPane(const CommonValue& value);
