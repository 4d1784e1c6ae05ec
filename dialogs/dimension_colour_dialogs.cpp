#include "dialogs/dimension_colour_dialogs.h"

// The dimension and colour dialogs are not there yet: each reports a cancel.
int RunDimensionDialog(PlanSettings*)
{
    return 0;
}

int RunPlanColoursDialog(PlanSettings*)
{
    return 0;
}

int PickColour(HWND, PlanSettings*, ColourTriple*)
{
    return 0;
}

// The dimension editor is not there yet: a cancel.
void EditSelectedDimension(PlanObject*, PlanSettings*) {}
