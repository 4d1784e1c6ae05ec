#pragma once
// The roof properties dialog (1021): pitch as rise per 12 of run, by preset or typed,
// and the cathedral ceiling; for new roofs in the settings or for one edited roof.
#include <windows.h>

struct PlanObject;
struct PlanSettings;

// The dialog on the settings' roof defaults; 1 after OK, 0 after Cancel or without settings.
int RunRoofDialog(PlanSettings* settings);
// Edits one roof (type 14) or freehand roof (type 57) and regenerates it; the roof
// defaults are left as they were.
void EditSelectedRoof(PlanObject* roof, PlanSettings* settings);

INT_PTR CALLBACK RoofDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
