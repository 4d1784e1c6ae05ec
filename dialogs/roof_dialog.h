#pragma once

struct PlanObject;
struct PlanSettings;

// The roof properties dialog on the settings' roof defaults; nonzero after OK, 0 after
// Cancel or without settings.
int RunRoofDialog(PlanSettings* settings);

// The roof editor of one roof or freehand roof section; not there yet: a cancel.
void EditSelectedRoof(PlanObject* roof, PlanSettings* settings);
