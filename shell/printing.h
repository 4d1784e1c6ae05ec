#pragma once
#include <windows.h>
#include <commdlg.h>

// The one print-dialog record of the run, so the printer and options chosen once are
// offered again.
extern PRINTDLGA printDialog;

// Fills printDialog with the start-up defaults.
void InitPrintDefaults();

// Command 9 and command 5273: 1 when nothing was printed (no document, no settings or the
// dialog cancelled), 0 otherwise.
int PrintPlanFitToPage(HINSTANCE instance, HWND owner);
int PrintPlanToScale(HINSTANCE instance, HWND owner);
