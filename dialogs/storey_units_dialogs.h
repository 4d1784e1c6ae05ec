#pragma once

struct PlanSettings;

// The storey, units, lot, zoom and scale dialogs on the settings; each is nonzero after
// OK and 0 after Cancel or without settings.
int RunCeilingHeightDialog(PlanSettings* settings, int storey); // storey 1 to 3
int RunFloorsDialog(PlanSettings* settings);
int RunUnitsDialog(PlanSettings* settings);
int RunLotSizeDialog(PlanSettings* settings);
int RunPlanZoomDialog(PlanSettings* settings);
int RunZoomFactorDialog(PlanSettings* settings);
int RunPlanScaleDialog(PlanSettings* settings);
