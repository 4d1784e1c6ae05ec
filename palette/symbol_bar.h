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

// What the side bar shows: 1 custom colours, 2 textures, 3 furniture, 4 plants,
// 5 a second texture range, 6 model files, 7 trims and panels, 8 colour swatches.
extern short symbarMode;
// The filler of mode 6, which has none: takes its argument and does nothing.
void IgnoreSymbarCommand(int value);
