#pragma once

struct PlanSettings;

// The roof properties dialog on the settings' roof defaults; nonzero after OK, 0 after
// Cancel or without settings.
int RunRoofDialog(PlanSettings* settings);
