#pragma once

struct PlanSettings;

// The stair and railing properties dialogs; nonzero after OK, 0 after Cancel or
// without settings.
int RunStairsDialog(PlanSettings* settings);
int RunRailingDialog(PlanSettings* settings);
