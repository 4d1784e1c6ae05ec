#include "dialogs/path_fence_gate_dialogs.h"

// These dialogs are not there yet: each reports a cancel.
int RunPathDialog(PlanSettings*)
{
    return 0;
}

int RunFenceDialog(PlanSettings*)
{
    return 0;
}

int RunGateDialog(PlanSettings*)
{
    return 0;
}

int RunAreaKindDialog(PlanSettings*)
{
    return 0;
}

// The object editors are not there yet: a cancel.
void EditSelectedPath(PlanObject*, PlanSettings*) {}
void EditSelectedFence(PlanObject*, PlanSettings*) {}
