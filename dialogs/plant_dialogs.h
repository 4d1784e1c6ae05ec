#pragma once

struct PlanObject;
struct PlanSettings;

// The growth simulation and planting age dialogs; nonzero after OK, 0 after Cancel or
// without settings.
int RunPlantGrowthDialog(PlanSettings* settings);
int RunPlantingAgeDialog(PlanSettings* settings);

// The plant details dialog of one plant; not there yet: a cancel.
void RunPlantDetailsDialog(PlanSettings* settings, PlanObject* plant);
