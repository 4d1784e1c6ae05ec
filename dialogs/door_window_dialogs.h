#pragma once

struct PlanObject;
struct PlanSettings;

// The door and window properties dialogs on the settings' defaults; nonzero after OK,
// 0 after Cancel or without settings.
int RunDoorDialog(PlanSettings* settings);
int RunWindowDialog(PlanSettings* settings);

// The door and window editors of one object; not there yet: a cancel.
void EditSelectedDoor(PlanObject* door, PlanSettings* settings);
void EditSelectedWindow(PlanObject* window, PlanSettings* settings);
