#pragma once

struct PlanSettings;

// The door and window properties dialogs on the settings' defaults; nonzero after OK,
// 0 after Cancel or without settings.
int RunDoorDialog(PlanSettings* settings);
int RunWindowDialog(PlanSettings* settings);
