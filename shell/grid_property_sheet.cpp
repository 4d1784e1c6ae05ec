#include "shell/grid_property_sheet.h"

#include "dialogs/grid_elevation_dialogs.h"

int ShowGridPropertySheet()
{
    return RunGridPageSheet(kGridSpacingPage, kGridPageCount);
}
