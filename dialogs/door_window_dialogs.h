#pragma once
#include <stdint.h>

struct PlanObject;
struct PlanSettings;

// The window's mirror choices of the last dialog; the window tool gives them to new windows.
extern uint8_t windowMirrorHorizontal;
extern uint8_t windowMirrorVertical;

// The door and window properties dialogs on the settings' defaults; nonzero after OK,
// 0 after Cancel or without settings.
int RunDoorDialog(PlanSettings* settings);
int RunWindowDialog(PlanSettings* settings);

// The door and window editors of one object; not there yet: a cancel.
void EditSelectedDoor(PlanObject* door, PlanSettings* settings);
void EditSelectedWindow(PlanObject* window, PlanSettings* settings);
