#pragma once
// The grid pages (spacing and magnetic grid; lines or points), and the working
// elevation, precision distance and tracing-image size dialogs, on the active plan's
// settings.
#include <windows.h>

struct PlanSettings;

// The two pages of the grid property sheet; each applies its values on PSN_APPLY.
INT_PTR CALLBACK GridSpacingDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK GridStyleDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The grid pages, in the order the grid property sheet shows them.
enum GridPage { kGridSpacingPage, kGridStylePage, kGridPageCount };
// Runs the pages first .. first + count - 1 as one modal property sheet owned by the
// frame, captioned "Proprietà griglia", without an Apply button. PropertySheet's result,
// -1 for pages out of range.
int RunGridPageSheet(int first, int count);
// One page alone in its own sheet: true when OK applied its values, false after Cancel
// or without an active document with settings (nothing is opened then).
bool RunGridSpacingDialog();
bool RunGridStyleDialog();

// Nonzero after OK, 0 after Cancel or without settings.
int RunDistancePrecisionDialog(PlanSettings* settings);
// 1 after OK, 0 after Cancel.
int RunWorkingElevationDialog();
// 1 after OK, 2 for the picture's own size, 0 after Cancel.
int RunTracingImageResizeDialog();
