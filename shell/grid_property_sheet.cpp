#include "shell/grid_property_sheet.h"

// The grid pages are not there yet: the sheet reports a cancel.
int ShowGridPropertySheet()
{
    return 0;
}
