#include "dialogs/roof_dialog.h"

// The roof dialog is not there yet: it reports a cancel.
int RunRoofDialog(PlanSettings*)
{
    return 0;
}

// The roof editor is not there yet: a cancel.
void EditSelectedRoof(PlanObject*, PlanSettings*) {}
