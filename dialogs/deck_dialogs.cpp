#include "dialogs/deck_dialogs.h"

// The deck height dialog is not there yet: it reports a cancel.
int RunDeckHeightDialog(PlanSettings*)
{
    return 0;
}

// The object editors are not there yet: a cancel.
void EditSelectedDeckHeight(PlanObject*, PlanSettings*) {}
void EditSelectedDeckSegment(PlanObject*, PlanVertex*, PlanSettings*) {}
void EditSelectedDeckStairs(PlanObject*, PlanSettings*) {}
