#include "dialogs/photo_view_dialog.h"

// The photo view dialog is not built yet: the object stays as it is.
void EditLumarefSettings(PlanObject*, PlanSettings*) {}
