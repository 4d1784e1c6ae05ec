#pragma once

struct PlanObject;
struct PlanVertex;
struct PlanSettings;

// The stair and railing properties dialogs; nonzero after OK, 0 after Cancel or
// without settings.
int RunStairsDialog(PlanSettings* settings);
int RunRailingDialog(PlanSettings* settings);

// The stair and railing editors of one object, and the wall-segment editor (1 after
// OK, else 0); not there yet: a cancel.
void EditSelectedStairs(PlanObject* stairs, PlanSettings* settings);
void EditSelectedRailing(PlanObject* railing, PlanSettings* settings);
int EditSelectedWallSegment(PlanObject* wall, PlanVertex* vertex, PlanSettings* settings);
