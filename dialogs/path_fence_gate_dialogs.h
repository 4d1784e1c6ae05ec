#pragma once
// The landscape dialogs: a path's width and border, a picket fence's style, the default
// gate width and the area-kind flag, on the settings' defaults or, through the
// EditSelected... editors, on one path or fence.
#include <stdint.h>

struct PlanObject;
struct PlanSettings;

// The width the path tool gives new paths; the path dialog sets it on OK.
extern float currentPathWidth;

// Nonzero after OK, 0 after Cancel or without settings.
int RunPathDialog(PlanSettings* settings);
int RunFenceDialog(PlanSettings* settings);
int RunGateDialog(PlanSettings* settings);
int RunAreaKindDialog(PlanSettings* settings);

// The path (type 22) and picket-fence (type 25) editors of one object.
void EditSelectedPath(PlanObject* path, PlanSettings* settings);
void EditSelectedFence(PlanObject* fence, PlanSettings* settings);
