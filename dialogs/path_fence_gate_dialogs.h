#pragma once

struct PlanSettings;

// The path, fence, gate and area-kind properties dialogs; nonzero after OK, 0 after
// Cancel or without settings.
int RunPathDialog(PlanSettings* settings);
int RunFenceDialog(PlanSettings* settings);
int RunGateDialog(PlanSettings* settings);
int RunAreaKindDialog(PlanSettings* settings);
