#include "dialogs/wall_dialogs.h"

// The wall dialog is not there yet: it reports a cancel.
int RunWallDialog(PlanSettings*)
{
    return 0;
}

// The wall editor is not there yet: a cancel.
void EditSelectedWall(PlanObject*, PlanSettings*) {}
