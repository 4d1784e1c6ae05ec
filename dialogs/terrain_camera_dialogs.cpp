#include "dialogs/terrain_camera_dialogs.h"

float objectElevationValue = 0.0f;
int16_t objectElevationState = -1;

// These dialogs are not there yet: each reports a cancel.
int RunViewpointElevationDialog(PlanSettings*)
{
    return 0;
}

int RunAerialAltitudeDialog(PlanSettings*)
{
    return 0;
}

int RunObjectElevationDialog()
{
    return 0;
}

int RunRoofElevationDialog()
{
    return 0;
}

int RunRoofSectionElevationDialog()
{
    return 0;
}

// The object elevation editors and topography dialogs are not there yet: a cancel.
void EditSelectedElevation(PlanObject*) {}
void EditSelectedRoofSectionElevation(PlanObject*, PlanSettings*) {}
int RunCustomTopographyDialog(PlanSettings*, float*)
{
    return 0;
}
int RunSlopedTopographyDialog(PlanSettings*, float*)
{
    return 0;
}
