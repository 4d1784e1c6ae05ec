#pragma once

struct PlanSettings;

// The growth simulation and planting age dialogs; nonzero after OK, 0 after Cancel or
// without settings.
int RunPlantGrowthDialog(PlanSettings* settings);
int RunPlantingAgeDialog(PlanSettings* settings);
