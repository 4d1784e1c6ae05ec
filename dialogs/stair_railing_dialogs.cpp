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

// The object editors are not there yet: a cancel.
void EditSelectedStairs(PlanObject*, PlanSettings*) {}
void EditSelectedRailing(PlanObject*, PlanSettings*) {}
int EditSelectedWallSegment(PlanObject*, PlanVertex*, PlanSettings*)
{
    return 0;
}
