#pragma once
#include <windows.h>

struct PlanObject;

// Creates the in-place "EDIT" child of the plan pane for a text frame; null on failure.
HWND CreateTextEditWindow(DWORD style, int x, int y, int width, int height, HWND parent);
// Fits a text frame's edit control and the frame to its text.
void RefitTextEditWindow(PlanObject* textFrame);
// Re-creates a text frame's edit control with the alignment of the code (40 right,
// 42 centred, other left); returns the new control, or the old one when nothing was done.
HWND CommitTextEdit(HWND control, int alignmentCode, PlanObject* textFrame);
// Places a text frame's edit control over the frame and draws the frame's text lines
// into the DC (into planDC while printing).
void FitTextEditToObject(HDC dc, HWND control, PlanObject* textFrame);
