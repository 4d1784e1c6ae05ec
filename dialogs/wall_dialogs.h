#pragma once
// The wall properties dialog: thickness preset, stud spacing and, for one edited wall,
// its automatic slab, slab thickness, foundation and foundation width. One procedure
// serves the interior (1081) and exterior (1018) templates, chosen by dialogObjectKind.
#include <windows.h>

struct PlanObject;
struct PlanSettings;

// The dialog on the settings' wall defaults; 1 after OK, 0 after Cancel or without settings.
int RunWallDialog(PlanSettings* settings);
// Edits one wall (type 12) through the dialog; the wall defaults are left as they were.
void EditSelectedWall(PlanObject* wall, PlanSettings* settings);

INT_PTR CALLBACK InteriorWallDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
