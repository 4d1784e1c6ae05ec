#pragma once

struct PlanObject;
struct PlanSettings;

// The path, fence, gate and area-kind properties dialogs; nonzero after OK, 0 after
// Cancel or without settings.
int RunPathDialog(PlanSettings* settings);
int RunFenceDialog(PlanSettings* settings);
int RunGateDialog(PlanSettings* settings);
int RunAreaKindDialog(PlanSettings* settings);

// The path and picket-fence editors of one object; not there yet: a cancel.
void EditSelectedPath(PlanObject* path, PlanSettings* settings);
void EditSelectedFence(PlanObject* fence, PlanSettings* settings);
