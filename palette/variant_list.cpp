#include "palette/variant_list.h"

short variantListTool = -1;

LRESULT CALLBACK PopListWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK PopEntryWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

void ShowPopList(HWND) {}
void ResetPopListScroll() {}

// The zoom animation is not drawn yet.
void AnimateZoomRect(int, int, int, int, const RECT*) {}
