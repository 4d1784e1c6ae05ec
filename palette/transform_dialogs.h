#pragma once
// The Move and Rotation dialogs on the selected objects of every floor (templates 500
// and 505, opened by frame commands 5215 and 5216 and by a double click on the pointer
// and rotate tool buttons): an offset as two plan axes or as an angle and a distance,
// and an angle in degrees or radians about the centre of the selection's extents.
#include <windows.h>

// 1 after OK, which leaves the plan nothing to undo; 0 after "Annuler". Their arguments
// are not used.
int RunMoveDialog(int unused1, int unused2);
int RunRotationDialog(int unused);

INT_PTR CALLBACK MoveDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RotationDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
