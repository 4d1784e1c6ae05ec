#pragma once
// The grid pages (spacing and magnetic grid; lines or points), and the working
// elevation, precision distance and tracing-image size dialogs, on the active plan's
// settings.
#include <windows.h>

struct PlanSettings;

// The two pages of the grid property sheet; each applies its values on PSN_APPLY.
INT_PTR CALLBACK GridSpacingDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK GridStyleDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Nonzero after OK, 0 after Cancel or without settings.
int RunDistancePrecisionDialog(PlanSettings* settings);
// 1 after OK, 0 after Cancel.
int RunWorkingElevationDialog();
// 1 after OK, 2 for the picture's own size, 0 after Cancel.
int RunTracingImageResizeDialog();
