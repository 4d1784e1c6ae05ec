#include "dialogs/structure_dialogs.h"

// These dialogs are not there yet: each reports a cancel.
int RunBeamDialog(PlanSettings*, float*, float*)
{
    return 0;
}

int RunPierDialog(PlanSettings*, float*)
{
    return 0;
}

int RunHvacDuctDialog(PlanSettings*, float*, float*)
{
    return 0;
}

int RunBathShowerDialog(PlanSettings*, float*, float*, int)
{
    return 0;
}

void EditSelectedSlab(PlanObject*, PlanSettings*) {}
void EditSelectedStairwellOpening(PlanObject*, PlanSettings*) {}
