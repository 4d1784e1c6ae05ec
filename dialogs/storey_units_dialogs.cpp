#include "dialogs/storey_units_dialogs.h"

// These dialogs are not there yet: each reports a cancel.
int RunCeilingHeightDialog(PlanSettings*, int)
{
    return 0;
}

int RunFloorsDialog(PlanSettings*)
{
    return 0;
}

int RunUnitsDialog(PlanSettings*)
{
    return 0;
}

int RunLotSizeDialog(PlanSettings*)
{
    return 0;
}

int RunPlanZoomDialog(PlanSettings*)
{
    return 0;
}

int RunZoomFactorDialog(PlanSettings*)
{
    return 0;
}

int RunPlanScaleDialog(PlanSettings*)
{
    return 0;
}
