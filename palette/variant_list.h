#pragma once
#include <windows.h>

LRESULT CALLBACK PopListWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PopEntryWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Refills the variant list for variantListTool.
void ShowPopList(HWND list);
// Puts the list's scroll position and entry counters back to zero (the frame does it on resize).
void ResetPopListScroll();

// The tool id, or side-bar command id, whose variants the list and the variant button show.
extern short variantListTool;

// Animates a rectangle from a start point to a target rectangle (screen coordinates).
void AnimateZoomRect(int startX, int startY, int targetCentreX, int targetCentreY, const RECT* target);
