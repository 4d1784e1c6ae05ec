#include "dialogs/stair_railing_dialogs.h"

// The stair and railing dialogs are not there yet: both report a cancel.
int RunStairsDialog(PlanSettings*)
{
    return 0;
}

int RunRailingDialog(PlanSettings*)
{
    return 0;
}
