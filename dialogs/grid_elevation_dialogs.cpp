#include "dialogs/grid_elevation_dialogs.h"

// These dialogs are not there yet: each reports a cancel.
int RunDistancePrecisionDialog(PlanSettings*)
{
    return 0;
}

int RunWorkingElevationDialog()
{
    return 0;
}

int RunTracingImageResizeDialog()
{
    return 0;
}
