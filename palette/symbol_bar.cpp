#include "palette/symbol_bar.h"

LRESULT CALLBACK SymbarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK SymEntryWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

void LayoutSymbar() {}
void FillSymbarFromLibraryFolder() {}
void ShowLibraryCategoryMenu(const RECT*) {}
void StepSwatchHue(const RECT*, int) {}
void ResetSymbarScroll() {}

short symbarMode = 2;

void IgnoreSymbarCommand(int) {}
