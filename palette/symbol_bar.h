#pragma once
#include <windows.h>

LRESULT CALLBACK SymbarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SymEntryWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void LayoutSymbar();
void FillSymbarFromLibraryFolder();
void ShowLibraryCategoryMenu(const RECT* buttonRect);
void StepSwatchHue(const RECT* buttonRect, int up);
// Puts the bar's scroll position and the stored positions of its modes back to zero.
void ResetSymbarScroll();
