#include "shell/elevation_pane.h"

HWND elevationArrowWindow = nullptr;
int elevationArrowIndex = 22;

LRESULT CALLBACK ElevationPaneWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ElevationArrowWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// The pane does not show values yet: it keeps its arrow where it is.
void LayoutElevationPane(const CommonValue&) {}
