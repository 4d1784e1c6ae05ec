#pragma once
#include <windows.h>

struct PlanObject;
struct PlanSettings;
struct ColourTriple;

// The dimension style and plan colour dialogs; nonzero after OK, 0 after Cancel or
// without settings.
int RunDimensionDialog(PlanSettings* settings);
int RunPlanColoursDialog(PlanSettings* settings);
// The preset colour palette: 1 when a colour was chosen (written to *colour), else 0.
int PickColour(HWND owner, PlanSettings* settings, ColourTriple* colour);

// The dimension style editor of one dimension; not there yet: a cancel.
void EditSelectedDimension(PlanObject* dimension, PlanSettings* settings);
