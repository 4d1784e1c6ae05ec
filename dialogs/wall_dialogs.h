#pragma once

struct PlanObject;
struct PlanSettings;

// The wall properties dialog on the settings' wall defaults; nonzero after OK, 0 after
// Cancel or without settings.
int RunWallDialog(PlanSettings* settings);

// The wall editor of one wall group: it copies the wall into the settings' defaults, runs
// the dialog and writes the values back. Not there yet: a cancel that changes nothing.
void EditSelectedWall(PlanObject* wall, PlanSettings* settings);
