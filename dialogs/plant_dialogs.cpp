#include "dialogs/plant_dialogs.h"

// The plant dialogs are not there yet: both report a cancel.
int RunPlantGrowthDialog(PlanSettings*)
{
    return 0;
}

int RunPlantingAgeDialog(PlanSettings*)
{
    return 0;
}

// The plant details dialog is not there yet: a cancel.
void RunPlantDetailsDialog(PlanSettings*, PlanObject*) {}
